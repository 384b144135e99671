#pragma once
#include "platform/win/Windows.h"
//
#include <objidl.h>

#include <string>

// A stream that writes straight into a new file, for MSXML to save a
// document into: a memory stream (CreateStreamOnHGlobal) grows by
// reallocation on every write, which costs 200 ms for a document of 6 MB
// under Wine against 30 ms for a save to a path. Writes, seeks and Stat
// work; reading and the rest answer as a write-only stream may.
// Made by Create with one reference for the caller; used on one thread.
class FileStream final : public IStream {
 public:
  // Creates or truncates the file at `path` (ANSI). E_OUTOFMEMORY, or the
  // error of CreateFileA as a result code.
  static HRESULT Create(const std::string& path, FileStream*& stream);

  // Closes the file; the first write or close error, if any, as a result
  // code. Later writes fail.
  HRESULT Close();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* read) override;
  HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* position) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size,
                                       DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size,
                                         DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override;

 private:
  explicit FileStream(HANDLE file) : file_(file) {}
  ~FileStream();

  HANDLE file_;
  ULONG references_ = 1;
  HRESULT error_ = S_OK;
};
