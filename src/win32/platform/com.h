#pragma once
// COM on this thread for as long as a ComApartment lives, and COM pointers that release what
// they hold: move-only, released once.

#include <objbase.h>

#include <utility>

namespace pellix::win32 {

class ComApartment {
 public:
  // Single-threaded, as a window's thread must be. A thread that already has COM (in either
  // model) is left as it is: only a successful call is undone.
  ComApartment()
      : initialized_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialized_) {
      CoUninitialize();
    }
  }

 private:
  bool initialized_;
};

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // Where a call that hands out an interface puts it; whatever was held before is released.
  Interface** Put() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_ != nullptr) {
      std::exchange(pointer_, nullptr)->Release();
    }
  }

  // The same object through another of its interfaces; empty when it has none.
  template <typename Other>
  ComPtr<Other> As() const {
    ComPtr<Other> other;
    if (pointer_ != nullptr) {
      pointer_->QueryInterface(__uuidof(Other), reinterpret_cast<void**>(other.Put()));
    }
    return other;
  }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace pellix::win32
