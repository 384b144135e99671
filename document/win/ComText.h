#pragma once
// The Windows headers first: the OLE ones depend on them.
#include "platform/win/Windows.h"
//
#include <oleauto.h>

#include <string>

#include "platform/win/Handles.h"

// Owners of OLE Automation strings and variants, and the conversions
// between the module's ANSI texts and the DOM's UTF-16 strings.

struct BstrTraits {
  using Handle = BSTR;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::SysFreeString(h); }
};
using UniqueBstr = UniqueHandle<BstrTraits>;

// A VARIANT cleared when it goes.
class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&value_); }
  ~UniqueVariant() { ::VariantClear(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  VARIANT& Get() { return value_; }

  // Takes the string over as VT_BSTR.
  void SetString(UniqueBstr text) {
    ::VariantClear(&value_);
    value_.vt = VT_BSTR;
    value_.bstrVal = text.Release();
  }
  void SetBool(bool value) {
    ::VariantClear(&value_);
    value_.vt = VT_BOOL;
    value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  // A copy of the bytes as VT_ARRAY | VT_UI1. Fails with E_OUTOFMEMORY.
  HRESULT SetBytes(const std::string& bytes);
  // Holds a counted reference to the object as VT_DISPATCH.
  void SetObject(IDispatch* object) {
    ::VariantClear(&value_);
    if (object) object->AddRef();
    value_.vt = VT_DISPATCH;
    value_.pdispVal = object;
  }
  // Holds a counted reference to the object as VT_UNKNOWN.
  void SetUnknown(IUnknown* object) {
    ::VariantClear(&value_);
    if (object) object->AddRef();
    value_.vt = VT_UNKNOWN;
    value_.punkVal = object;
  }

 private:
  VARIANT value_;
};

// ANSI code page to a new DOM string, the terminating zero included in the
// conversion. Fails with E_OUTOFMEMORY or the conversion's error.
HRESULT ToBstr(const std::string& text, UniqueBstr& out);
// A DOM string to ANSI; null and empty strings give empty text.
HRESULT FromBstr(BSTR text, std::string& out);
