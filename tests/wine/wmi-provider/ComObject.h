#pragma once
// Reference counting shared by the provider's COM objects. Each object is
// created with one reference held by its creator and deletes itself when
// the last reference goes.
#include <atomic>

#include "platform/win/Windows.h"

class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

 protected:
  virtual ~RefCounted() = default;
  ULONG AddReference() { return ++references_; }
  ULONG DropReference() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> references_{1};
};

// IUnknown's counting for a class with one COM base.
#define MORV_PROVIDER_REFCOUNT                                         \
  ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); } \
  ULONG STDMETHODCALLTYPE Release() override { return DropReference(); }
