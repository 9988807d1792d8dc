// The engine's string: UTF-16, as the client's own TCHAR text, with UTF-8 conversions.
#pragma once

#include <string>

class CefString {
 public:
  CefString() = default;
  CefString(const char16_t* text) : value_(text ? text : u"") {}  // NOLINT: implicit by design
  CefString(const std::u16string& text) : value_(text) {}         // NOLINT
  CefString(const char* utf8) { FromString(utf8 ? std::string(utf8) : std::string()); }  // NOLINT
  CefString(const std::string& utf8) { FromString(utf8); }                                // NOLINT

  // UTF-8; text that is not UTF-8 has its bad sequences replaced by U+FFFD.
  bool FromString(const std::string& utf8);
  std::string ToString() const;
  void FromString16(const std::u16string& text) { value_ = text; }
  std::u16string ToString16() const { return value_; }

  const char16_t* c_str() const { return value_.c_str(); }
  size_t length() const { return value_.size(); }
  size_t size() const { return value_.size(); }
  bool empty() const { return value_.empty(); }
  void clear() { value_.clear(); }
  int compare(const CefString& other) const { return value_.compare(other.value_); }

  operator std::u16string() const { return value_; }

  bool operator==(const CefString& other) const { return value_ == other.value_; }
  bool operator!=(const CefString& other) const { return value_ != other.value_; }
  bool operator<(const CefString& other) const { return value_ < other.value_; }

 private:
  std::u16string value_;
};
