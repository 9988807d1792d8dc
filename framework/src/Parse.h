// Reading the framework's attribute values: numbers, lists of numbers, colours, booleans,
// and "key='value'" picture descriptions. Malformed text reads as 0 (as _tcstol does).
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib::detail {

// Reads up to `count` comma-separated integers into `out`; missing ones stay as they were.
int ParseInts(LPCTSTR text, long* out, int count);
RECT ParseRect(LPCTSTR text);
SIZE ParseSize(LPCTSTR text);
long ParseInt(LPCTSTR text);
// "#AARRGGBB" or "AARRGGBB" (hex); "#RRGGBB" is opaque.
DWORD ParseColor(LPCTSTR text);
bool ParseBool(LPCTSTR text);

// One key of a picture description: file='a.png' source='0,0,1,1'. A description with no
// '=' is a plain entry name, returned for the key "file".
bool DescriptionValue(LPCTSTR description, const char16_t* key, std::u16string& value);

std::string ToUtf8(LPCTSTR text);
std::u16string FromUtf8(const std::string& text);

}  // namespace DuiLib::detail
