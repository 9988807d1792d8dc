// Generic-text mappings. The program is built for Unicode: TCHAR is UTF-16.
#pragma once
#include "windef.h"

typedef WCHAR TCHAR;
typedef WCHAR _TCHAR;
typedef LPWSTR LPTSTR;
typedef LPCWSTR LPCTSTR;

#define __KORVANE_U16(x) u##x
#define _T(x) __KORVANE_U16(x)
#define _TEXT(x) __KORVANE_U16(x)
#define TEXT(x) __KORVANE_U16(x)
