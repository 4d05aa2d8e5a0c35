#pragma once
// Owners for Win32 handles, so that every handle, key and GDI object is released once.
#include <windows.h>

#include <utility>

namespace qln::win32 {

// A kernel handle that CloseHandle releases; both null and INVALID_HANDLE_VALUE mean "none".
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Handle& operator=(Handle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { reset(); }

  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = h;
  }
  HANDLE release() { return std::exchange(h_, nullptr); }

 private:
  HANDLE h_ = nullptr;
};

// A registry key that RegCloseKey releases.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY k) : k_(k) {}
  RegKey(RegKey&& o) noexcept : k_(std::exchange(o.k_, nullptr)) {}
  RegKey& operator=(RegKey&& o) noexcept {
    if (this != &o) {
      reset();
      k_ = std::exchange(o.k_, nullptr);
    }
    return *this;
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() { reset(); }
  HKEY get() const { return k_; }
  HKEY* out() {
    reset();
    return &k_;
  }
  explicit operator bool() const { return k_ != nullptr; }
  void reset() {
    if (k_) RegCloseKey(k_);
    k_ = nullptr;
  }

 private:
  HKEY k_ = nullptr;
};

// A GDI object (bitmap, font, brush, region) that DeleteObject releases.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T o) : o_(o) {}
  GdiObject(GdiObject&& x) noexcept : o_(std::exchange(x.o_, nullptr)) {}
  GdiObject& operator=(GdiObject&& x) noexcept {
    if (this != &x) reset(std::exchange(x.o_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { reset(); }
  T get() const { return o_; }
  explicit operator bool() const { return o_ != nullptr; }
  void reset(T o = nullptr) {
    if (o_) DeleteObject(o_);
    o_ = o;
  }
  T release() { return std::exchange(o_, nullptr); }

 private:
  T o_ = nullptr;
};

}  // namespace qln::win32
