// A smart pointer that holds one reference to a reference-counted engine object.
#pragma once

#include <cstddef>
#include <utility>

template <class T>
class CefRefPtr {
 public:
  CefRefPtr() : ptr_(nullptr) {}
  CefRefPtr(T* p) : ptr_(p) {  // NOLINT: implicit, as the engine's callers expect
    if (ptr_) ptr_->AddRef();
  }
  CefRefPtr(std::nullptr_t) : ptr_(nullptr) {}
  CefRefPtr(const CefRefPtr& r) : CefRefPtr(r.ptr_) {}
  template <class U>
  CefRefPtr(const CefRefPtr<U>& r) : CefRefPtr(r.get()) {}
  CefRefPtr(CefRefPtr&& r) noexcept : ptr_(r.ptr_) { r.ptr_ = nullptr; }
  ~CefRefPtr() {
    if (ptr_) ptr_->Release();
  }

  CefRefPtr& operator=(T* p) {
    // Take the new reference first: `p` may be owned only through the old one.
    if (p) p->AddRef();
    T* old = ptr_;
    ptr_ = p;
    if (old) old->Release();
    return *this;
  }
  CefRefPtr& operator=(const CefRefPtr& r) { return *this = r.ptr_; }
  template <class U>
  CefRefPtr& operator=(const CefRefPtr<U>& r) {
    return *this = r.get();
  }
  CefRefPtr& operator=(CefRefPtr&& r) noexcept {
    if (this != &r) {
      T* old = ptr_;
      ptr_ = r.ptr_;
      r.ptr_ = nullptr;
      if (old) old->Release();
    }
    return *this;
  }

  T* get() const { return ptr_; }
  operator T*() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  T* operator->() const { return ptr_; }
  void swap(CefRefPtr& r) noexcept { std::swap(ptr_, r.ptr_); }

 private:
  T* ptr_;
};
