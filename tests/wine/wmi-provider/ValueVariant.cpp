#include "ValueVariant.h"

std::string ToAnsi(const wchar_t* wide) {
  if (!wide || !*wide) return {};
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(size - 1));
  return text;
}

BSTR ToBstr(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int size = length ? ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
  if (length && size <= 0) return nullptr;
  BSTR bstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(size));
  if (bstr && size) ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, bstr, size);
  return bstr;
}

namespace {

HRESULT ToStringArray(const std::vector<std::string>& texts, VARIANT& out) {
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
  if (!array) return E_OUTOFMEMORY;
  for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
    BSTR element = ToBstr(texts[static_cast<std::size_t>(i)]);
    // SafeArrayPutElement stores a copy of a BSTR.
    const HRESULT put = element ? ::SafeArrayPutElement(array, &i, element) : E_OUTOFMEMORY;
    ::SysFreeString(element);
    if (FAILED(put)) {
      ::SafeArrayDestroy(array);
      return put;
    }
  }
  V_VT(&out) = VT_ARRAY | VT_BSTR;
  V_ARRAY(&out) = array;
  return S_OK;
}

}  // namespace

HRESULT ToVariant(const WmiValue& value, VARIANT& out) {
  ::VariantClear(&out);
  switch (value.type) {
    case WmiType::Empty:
      return S_OK;
    case WmiType::Null:
      V_VT(&out) = VT_NULL;
      return S_OK;
    case WmiType::Int32:
      V_VT(&out) = VT_I4;
      V_I4(&out) = value.number;
      return S_OK;
    case WmiType::Int16:
      V_VT(&out) = VT_I2;
      V_I2(&out) = static_cast<SHORT>(value.number);
      return S_OK;
    case WmiType::Bool:
      V_VT(&out) = VT_BOOL;
      V_BOOL(&out) = value.number ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case WmiType::String: {
      BSTR text = ToBstr(value.text);
      if (!text) return E_OUTOFMEMORY;
      V_VT(&out) = VT_BSTR;
      V_BSTR(&out) = text;
      return S_OK;
    }
    case WmiType::StringArray:
      return ToStringArray(value.texts, out);
    case WmiType::Other:
      V_VT(&out) = VT_R8;
      V_R8(&out) = 1.5;
      return S_OK;
  }
  return S_OK;
}
