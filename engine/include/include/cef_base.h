// The reference-counted base of every engine object, and the macro that implements it.
#pragma once

#include "include/base/cef_lock.h"
#include "include/internal/cef_ptr.h"
#include "include/internal/cef_string.h"

#include <atomic>

class CefBase {
 public:
  virtual void AddRef() const = 0;
  // True when this call released the last reference (the object is gone).
  virtual bool Release() const = 0;
  virtual bool HasOneRef() const = 0;

 protected:
  virtual ~CefBase() {}
};

// An atomic reference count, one per object.
class CefRefCount {
 public:
  CefRefCount() : count_(0) {}
  CefRefCount(const CefRefCount&) = delete;
  CefRefCount& operator=(const CefRefCount&) = delete;

  void AddRef() const { count_.fetch_add(1, std::memory_order_relaxed); }
  // The decrement releases this thread's writes; the last one acquires everybody's, so
  // the destructor sees the object as every holder left it.
  bool Release() const { return count_.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  bool HasOneRef() const { return count_.load(std::memory_order_acquire) == 1; }

 private:
  mutable std::atomic<int> count_;
};

#define IMPLEMENT_REFCOUNTING(ClassName)               \
 public:                                               \
  void AddRef() const override { ref_count_.AddRef(); } \
  bool Release() const override {                      \
    if (ref_count_.Release()) {                        \
      delete static_cast<const ClassName*>(this);      \
      return true;                                     \
    }                                                  \
    return false;                                      \
  }                                                    \
  bool HasOneRef() const override { return ref_count_.HasOneRef(); } \
                                                       \
 private:                                              \
  CefRefCount ref_count_

#define DISALLOW_COPY_AND_ASSIGN(TypeName) \
  TypeName(const TypeName&) = delete;      \
  void operator=(const TypeName&) = delete
