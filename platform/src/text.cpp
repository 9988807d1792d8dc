// Code-page conversion (the ANSI code page is UTF-8 here) and the lstr* string functions.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsUtf8CodePage(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
}

// Decodes one UTF-8 sequence at s[i]; returns the code point or -1 for an invalid one,
// advancing i past the maximal invalid subpart (as Windows and Unicode recommend).
long DecodeUtf8(const unsigned char* s, int n, int& i) {
  unsigned char c = s[i];
  if (c < 0x80) {
    ++i;
    return c;
  }
  int len = 0;
  long cp = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no encoded surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    ++i;
    return -1;
  }
  int j = i + 1;
  for (int k = 1; k < len; ++k, ++j) {
    unsigned char lower = k == 1 ? lo : 0x80;
    unsigned char upper = k == 1 ? hi : 0xBF;
    if (j >= n || s[j] < lower || s[j] > upper) {
      i = j;
      return -1;
    }
    cp = (cp << 6) | (s[j] & 0x3F);
  }
  i = j;
  return cp;
}

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);  // Latin-1
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && !(c & 1)) return static_cast<char16_t>(c + 1);
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);  // Greek
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 32);  // full-width Latin
  return c;
}

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                               int wideCount) {
  if (!IsUtf8CodePage(codePage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD allowed = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : (MB_ERR_INVALID_CHARS | MB_PRECOMPOSED);
  if (flags & ~allowed) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (!multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 || (!wide && wideCount != 0) ||
      (wide && static_cast<const void*>(wide) == static_cast<const void*>(multiByte))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // -1: the text is terminated, and the terminator is converted too.
  int n = multiByteCount == -1 ? static_cast<int>(std::strlen(multiByte)) + 1 : multiByteCount;
  const auto* s = reinterpret_cast<const unsigned char*>(multiByte);
  std::u16string out;
  out.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n;) {
    long cp = DecodeUtf8(s, n, i);
    if (cp < 0) {
      if (flags & MB_ERR_INVALID_CHARS) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
      }
      out.push_back(kReplacement);
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  int needed = static_cast<int>(out.size());
  if (wideCount == 0) return needed;
  if (needed > wideCount) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(wide, out.data(), out.size() * sizeof(char16_t));
  return needed;
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  if (!IsUtf8CodePage(codePage)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // For UTF-8 Windows takes no default character: every character has a byte sequence.
  if (!wide || wideCount == 0 || wideCount < -1 || multiByteCount < 0 || (!multiByte && multiByteCount != 0) ||
      (codePage == CP_UTF8 && (defaultChar || usedDefaultChar)) ||
      (multiByte && static_cast<const void*>(multiByte) == static_cast<const void*>(wide))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int n = wideCount;
  if (n == -1) {
    n = 0;
    while (wide[n]) ++n;
    ++n;
  }
  std::string out;
  out.reserve(static_cast<size_t>(n) * 3);
  bool usedDefault = false;
  for (int i = 0; i < n; ++i) {
    unsigned long cp = wide[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (flags & WC_ERR_INVALID_CHARS) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
      }
      usedDefault = true;
      if (defaultChar) {
        out += defaultChar;
        continue;
      }
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  if (usedDefaultChar) *usedDefaultChar = usedDefault;
  int needed = static_cast<int>(out.size());
  if (multiByteCount == 0) return needed;
  if (needed > multiByteCount) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(multiByte, out.data(), out.size());
  return needed;
}

int WINAPI lstrlenW(LPCWSTR s) {
  if (!s) return 0;
  int n = 0;
  while (s[n]) ++n;
  return n;
}

int WINAPI lstrcmpW(LPCWSTR a, LPCWSTR b) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  for (;; ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
    if (!*a) return 0;
  }
}

int WINAPI lstrcmpiW(LPCWSTR a, LPCWSTR b) {
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  for (;; ++a, ++b) {
    char16_t ca = FoldCase(*a), cb = FoldCase(*b);
    if (ca != cb) return Sign(static_cast<int>(ca) - static_cast<int>(cb));
    if (!ca) return 0;
  }
}

LPWSTR WINAPI lstrcpyW(LPWSTR dst, LPCWSTR src) {
  if (!dst || !src) return nullptr;
  LPWSTR d = dst;
  while ((*d++ = *src++)) {
  }
  return dst;
}

LPWSTR WINAPI lstrcpynW(LPWSTR dst, LPCWSTR src, int maxLength) {
  if (!dst || !src || maxLength <= 0) return dst;
  int i = 0;
  for (; i < maxLength - 1 && src[i]; ++i) dst[i] = src[i];
  dst[i] = 0;
  return dst;
}

LPWSTR WINAPI lstrcatW(LPWSTR dst, LPCWSTR src) {
  if (!dst || !src) return nullptr;
  lstrcpyW(dst + lstrlenW(dst), src);
  return dst;
}
