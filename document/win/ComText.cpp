#include "document/win/ComText.h"

#include <cstring>

namespace {

HRESULT LastErrorResult() {
  const DWORD error = ::GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

HRESULT ToBstr(const std::string& text, UniqueBstr& out) {
  const int wide = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (wide <= 0) return LastErrorResult();
  UniqueBstr converted(::SysAllocStringLen(nullptr, static_cast<UINT>(wide - 1)));
  if (!converted) return E_OUTOFMEMORY;
  if (::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, converted.Get(), wide) != wide) {
    return LastErrorResult();
  }
  out = std::move(converted);
  return S_OK;
}

HRESULT FromBstr(BSTR text, std::string& out) {
  out.clear();
  const UINT length = text ? ::SysStringLen(text) : 0;
  if (length == 0) return S_OK;
  const int narrow = ::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0,
                                           nullptr, nullptr);
  if (narrow <= 0) return LastErrorResult();
  std::string converted(static_cast<std::size_t>(narrow), '\0');
  if (::WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), converted.data(), narrow,
                            nullptr, nullptr) != narrow) {
    return LastErrorResult();
  }
  out = std::move(converted);
  return S_OK;
}

HRESULT UniqueVariant::SetBytes(const std::string& bytes) {
  ::VariantClear(&value_);
  // SafeArrayCreate rather than ...CreateVector: the oldest automation
  // libraries the module serves are known to have it.
  SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), 0};
  SAFEARRAY* array = ::SafeArrayCreate(VT_UI1, 1, &bound);
  if (!array) return E_OUTOFMEMORY;
  value_.vt = VT_ARRAY | VT_UI1;
  value_.parray = array;
  void* data = nullptr;
  if (const HRESULT h = ::SafeArrayAccessData(array, &data); FAILED(h)) return h;
  std::memcpy(data, bytes.data(), bytes.size());
  return ::SafeArrayUnaccessData(array);
}
