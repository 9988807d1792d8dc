#include "duilib/DuiString.h"

#include "duilib/DuiRect.h"

#include <utility>

namespace DuiLib {

namespace {
TCHAR Lower(TCHAR c) { return (c >= u'A' && c <= u'Z') ? static_cast<TCHAR>(c + 32) : c; }
TCHAR Upper(TCHAR c) { return (c >= u'a' && c <= u'z') ? static_cast<TCHAR>(c - 32) : c; }
}  // namespace

CDuiString::CDuiString() = default;
CDuiString::CDuiString(const CDuiString& src) = default;
CDuiString::CDuiString(LPCTSTR text, int length) { Assign(text, length); }
CDuiString::CDuiString(TCHAR ch) : value_(1, ch) {}
CDuiString::~CDuiString() = default;

CDuiString& CDuiString::operator=(const CDuiString& src) = default;
CDuiString& CDuiString::operator=(LPCTSTR text) {
  Assign(text);
  return *this;
}
CDuiString& CDuiString::operator=(TCHAR ch) {
  value_.assign(1, ch);
  return *this;
}
CDuiString& CDuiString::operator+=(const CDuiString& src) {
  value_ += src.value_;
  return *this;
}
CDuiString& CDuiString::operator+=(LPCTSTR text) {
  Append(text);
  return *this;
}
CDuiString& CDuiString::operator+=(TCHAR ch) {
  value_.push_back(ch);
  return *this;
}
CDuiString CDuiString::operator+(const CDuiString& src) const {
  CDuiString r(*this);
  r += src;
  return r;
}
CDuiString CDuiString::operator+(LPCTSTR text) const {
  CDuiString r(*this);
  r += text;
  return r;
}

bool CDuiString::operator==(LPCTSTR text) const { return Compare(text) == 0; }
bool CDuiString::operator!=(LPCTSTR text) const { return Compare(text) != 0; }

TCHAR CDuiString::GetAt(int index) const {
  return index >= 0 && index < GetLength() ? value_[static_cast<size_t>(index)] : 0;
}

void CDuiString::SetAt(int index, TCHAR ch) {
  if (index >= 0 && index < GetLength()) value_[static_cast<size_t>(index)] = ch;
}

void CDuiString::Assign(LPCTSTR text, int length) {
  if (!text || IS_INTRESOURCE(text)) {
    value_.clear();
    return;
  }
  int n = 0;
  while (text[n] && (length < 0 || n < length)) ++n;
  value_.assign(text, static_cast<size_t>(n));
}

void CDuiString::Append(LPCTSTR text) {
  if (text && !IS_INTRESOURCE(text)) value_ += text;
}

int CDuiString::Compare(LPCTSTR text) const { return lstrcmpW(GetData(), text ? text : u""); }
int CDuiString::CompareNoCase(LPCTSTR text) const { return lstrcmpiW(GetData(), text ? text : u""); }

void CDuiString::MakeUpper() {
  for (auto& c : value_) c = Upper(c);
}

void CDuiString::MakeLower() {
  for (auto& c : value_) c = Lower(c);
}

CDuiString CDuiString::Left(int length) const {
  if (length < 0) length = 0;
  return CDuiString(GetData(), length);
}

CDuiString CDuiString::Mid(int pos, int length) const {
  if (pos < 0) pos = 0;
  if (pos >= GetLength()) return CDuiString();
  if (length < 0 || pos + length > GetLength()) length = GetLength() - pos;
  return CDuiString(GetData() + pos, length);
}

CDuiString CDuiString::Right(int length) const {
  if (length < 0) length = 0;
  if (length > GetLength()) length = GetLength();
  return CDuiString(GetData() + GetLength() - length, length);
}

int CDuiString::Find(TCHAR ch, int pos) const {
  if (pos < 0 || pos > GetLength()) return -1;
  auto i = value_.find(ch, static_cast<size_t>(pos));
  return i == std::u16string::npos ? -1 : static_cast<int>(i);
}

int CDuiString::Find(LPCTSTR text, int pos) const {
  if (!text || pos < 0 || pos > GetLength()) return -1;
  auto i = value_.find(text, static_cast<size_t>(pos));
  return i == std::u16string::npos ? -1 : static_cast<int>(i);
}

int CDuiString::ReverseFind(TCHAR ch) const {
  auto i = value_.rfind(ch);
  return i == std::u16string::npos ? -1 : static_cast<int>(i);
}

int CDuiString::Replace(LPCTSTR from, LPCTSTR to) {
  if (!from || !*from) return 0;
  std::u16string f(from), t(to ? to : u"");
  int count = 0;
  for (size_t i = value_.find(f); i != std::u16string::npos; i = value_.find(f, i + t.size())) {
    value_.replace(i, f.size(), t);
    ++count;
  }
  return count;
}

CDuiRect::CDuiRect() { left = top = right = bottom = 0; }
CDuiRect::CDuiRect(const RECT& src) {
  left = src.left;
  top = src.top;
  right = src.right;
  bottom = src.bottom;
}
CDuiRect::CDuiRect(int l, int t, int r, int b) {
  left = l;
  top = t;
  right = r;
  bottom = b;
}

void CDuiRect::Join(const RECT& rc) {
  if (rc.left < left) left = rc.left;
  if (rc.top < top) top = rc.top;
  if (rc.right > right) right = rc.right;
  if (rc.bottom > bottom) bottom = rc.bottom;
}

void CDuiRect::ResetOffset() { ::OffsetRect(this, -left, -top); }

void CDuiRect::Normalize() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

void CDuiRect::Offset(int cx, int cy) { ::OffsetRect(this, cx, cy); }
void CDuiRect::Inflate(int cx, int cy) { ::InflateRect(this, cx, cy); }
void CDuiRect::Deflate(int cx, int cy) { ::InflateRect(this, -cx, -cy); }
void CDuiRect::Union(CDuiRect& rc) { ::UnionRect(this, this, &rc); }

}  // namespace DuiLib
