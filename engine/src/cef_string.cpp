#include "include/internal/cef_string.h"

#include <windows.h>

bool CefString::FromString(const std::string& utf8) {
  value_.clear();
  if (utf8.empty()) return true;
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return false;
  value_.resize(static_cast<size_t>(n));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), value_.data(), n);
  return true;
}

std::string CefString::ToString() const {
  if (value_.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, value_.data(), static_cast<int>(value_.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, value_.data(), static_cast<int>(value_.size()), out.data(), n, nullptr, nullptr);
  return out;
}
