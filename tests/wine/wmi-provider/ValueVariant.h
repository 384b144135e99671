#pragma once
#include <string>

#include "platform/win/Windows.h"
#include "wmi/WmiService.h"
// after <windows.h>
#include <oleauto.h>

// Writes a fixture value into `out` (which must be initialised) in the
// variant type WMI uses for it: VT_I4, VT_I2, VT_BOOL, VT_BSTR,
// VT_ARRAY|VT_BSTR, VT_NULL or VT_EMPTY; a value of a type the module never
// reads becomes VT_R8. Returns E_OUTOFMEMORY when a string cannot be made
// (then `out` is VT_EMPTY).
HRESULT ToVariant(const WmiValue& value, VARIANT& out);

// Wide text to the ANSI code page and back, as the module converts it.
std::string ToAnsi(const wchar_t* wide);
BSTR ToBstr(const std::string& text);
