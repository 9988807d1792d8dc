#include "Parse.h"

#include <cstdlib>

namespace DuiLib::detail {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// strtol over UTF-16: optional sign, decimal digits; stops at anything else.
long ReadLong(const char16_t*& p) {
  while (*p && IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == u'-' || *p == u'+') negative = *p++ == u'-';
  long v = 0;
  while (*p >= u'0' && *p <= u'9') {
    if (v < 100000000) v = v * 10 + (*p - u'0');
    ++p;
  }
  return negative ? -v : v;
}

}  // namespace

int ParseInts(LPCTSTR text, long* out, int count) {
  if (!text) return 0;
  const char16_t* p = text;
  int n = 0;
  while (n < count && *p) {
    out[n++] = ReadLong(p);
    while (*p && *p != u',') ++p;
    if (*p == u',') ++p;
    else break;
  }
  return n;
}

RECT ParseRect(LPCTSTR text) {
  long v[4] = {0, 0, 0, 0};
  ParseInts(text, v, 4);
  return RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[2]), static_cast<LONG>(v[3])};
}

SIZE ParseSize(LPCTSTR text) {
  long v[2] = {0, 0};
  ParseInts(text, v, 2);
  return SIZE{static_cast<LONG>(v[0]), static_cast<LONG>(v[1])};
}

long ParseInt(LPCTSTR text) {
  long v = 0;
  ParseInts(text, &v, 1);
  return v;
}

DWORD ParseColor(LPCTSTR text) {
  if (!text) return 0;
  const char16_t* p = text;
  while (IsSpace(*p)) ++p;
  if (*p == u'#') ++p;
  DWORD v = 0;
  int digits = 0;
  for (; *p && digits < 8; ++p, ++digits) {
    char16_t c = *p;
    int d = (c >= u'0' && c <= u'9')   ? c - u'0'
            : (c >= u'a' && c <= u'f') ? c - u'a' + 10
            : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                       : -1;
    if (d < 0) break;
    v = (v << 4) | static_cast<DWORD>(d);
  }
  if (digits == 6) v |= 0xFF000000u;
  return v;
}

bool ParseBool(LPCTSTR text) { return text && lstrcmpiW(text, u"true") == 0; }

bool DescriptionValue(LPCTSTR description, const char16_t* key, std::u16string& value) {
  if (!description) return false;
  std::u16string d(description);
  if (d.find(u'=') == std::u16string::npos) {
    if (std::u16string(key) != u"file" || d.empty()) return false;
    value = d;
    return true;
  }
  size_t i = 0;
  while (i < d.size()) {
    while (i < d.size() && IsSpace(d[i])) ++i;
    size_t eq = d.find(u'=', i);
    if (eq == std::u16string::npos) return false;
    std::u16string name = d.substr(i, eq - i);
    while (!name.empty() && IsSpace(name.back())) name.pop_back();
    size_t q = eq + 1;
    while (q < d.size() && IsSpace(d[q])) ++q;
    if (q >= d.size()) return false;
    char16_t quote = d[q];
    size_t start, end;
    if (quote == u'\'' || quote == u'"') {
      start = q + 1;
      end = d.find(quote, start);
      if (end == std::u16string::npos) return false;
      i = end + 1;
    } else {
      start = q;
      end = start;
      while (end < d.size() && !IsSpace(d[end])) ++end;
      i = end;
    }
    if (name == key) {
      value = d.substr(start, end - start);
      return true;
    }
  }
  return false;
}

std::string ToUtf8(LPCTSTR text) {
  if (!text || !*text) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::u16string FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

}  // namespace DuiLib::detail
