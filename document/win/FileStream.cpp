#include "document/win/FileStream.h"

#include <new>

namespace {

HRESULT LastError() {
  const DWORD error = ::GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

HRESULT FileStream::Create(const std::string& path, FileStream*& stream) {
  stream = nullptr;
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  stream = new (std::nothrow) FileStream(file);
  if (stream) return S_OK;
  ::CloseHandle(file);
  return E_OUTOFMEMORY;
}

FileStream::~FileStream() { Close(); }

HRESULT FileStream::Close() {
  if (file_ != INVALID_HANDLE_VALUE) {
    if (!::CloseHandle(file_) && error_ == S_OK) error_ = LastError();
    file_ = INVALID_HANDLE_VALUE;
  }
  return error_;
}

HRESULT FileStream::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// One thread only, so the count needs no interlocked operations.
ULONG FileStream::AddRef() { return ++references_; }

ULONG FileStream::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FileStream::Read(void*, ULONG, ULONG* read) {
  if (read) *read = 0;
  return STG_E_ACCESSDENIED;
}

HRESULT FileStream::Write(const void* data, ULONG size, ULONG* written) {
  if (written) *written = 0;
  if (!data && size) return STG_E_INVALIDPOINTER;
  if (file_ == INVALID_HANDLE_VALUE) return STG_E_ACCESSDENIED;
  DWORD done = 0;
  if (!::WriteFile(file_, data, size, &done, nullptr)) {
    if (error_ == S_OK) error_ = LastError();
    return STG_E_CANTSAVE;
  }
  if (written) *written = done;
  if (done == size) return S_OK;
  if (error_ == S_OK) error_ = STG_E_MEDIUMFULL;
  return STG_E_MEDIUMFULL;
}

HRESULT FileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) {
  if (file_ == INVALID_HANDLE_VALUE) return STG_E_ACCESSDENIED;
  // STREAM_SEEK_SET, _CUR and _END are FILE_BEGIN, _CURRENT and _END.
  if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  LONG high = move.HighPart;
  ::SetLastError(NO_ERROR);
  const DWORD low = ::SetFilePointer(file_, static_cast<LONG>(move.LowPart), &high, origin);
  if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return LastError();
  if (position) {
    position->LowPart = low;
    position->HighPart = static_cast<DWORD>(high);
  }
  return S_OK;
}

HRESULT FileStream::SetSize(ULARGE_INTEGER) { return E_NOTIMPL; }

HRESULT FileStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) {
  return E_NOTIMPL;
}

HRESULT FileStream::Commit(DWORD) { return S_OK; }

HRESULT FileStream::Revert() { return E_NOTIMPL; }

HRESULT FileStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT FileStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT FileStream::Stat(STATSTG* stat, DWORD) {
  if (!stat) return STG_E_INVALIDPOINTER;
  if (file_ == INVALID_HANDLE_VALUE) return STG_E_ACCESSDENIED;
  *stat = STATSTG{};
  stat->type = STGTY_STREAM;
  stat->grfMode = STGM_WRITE;
  DWORD high = 0;
  ::SetLastError(NO_ERROR);
  const DWORD low = ::GetFileSize(file_, &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return LastError();
  stat->cbSize.LowPart = low;
  stat->cbSize.HighPart = high;
  return S_OK;
}

HRESULT FileStream::Clone(IStream** copy) {
  if (copy) *copy = nullptr;
  return E_NOTIMPL;
}
