// A UTF-16 value string.
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

class CDuiString {
 public:
  CDuiString();
  CDuiString(const CDuiString& src);
  CDuiString(LPCTSTR text, int length = -1);
  CDuiString(TCHAR ch);
  ~CDuiString();

  CDuiString& operator=(const CDuiString& src);
  CDuiString& operator=(LPCTSTR text);
  CDuiString& operator=(TCHAR ch);
  CDuiString& operator+=(const CDuiString& src);
  CDuiString& operator+=(LPCTSTR text);
  CDuiString& operator+=(TCHAR ch);
  CDuiString operator+(const CDuiString& src) const;
  CDuiString operator+(LPCTSTR text) const;

  bool operator==(LPCTSTR text) const;
  bool operator!=(LPCTSTR text) const;
  bool operator==(const CDuiString& s) const { return *this == s.GetData(); }
  bool operator!=(const CDuiString& s) const { return !(*this == s); }
  bool operator<(const CDuiString& s) const { return value_ < s.value_; }
  TCHAR operator[](int index) const { return GetAt(index); }
  operator LPCTSTR() const { return GetData(); }

  LPCTSTR GetData() const { return value_.c_str(); }
  int GetLength() const { return static_cast<int>(value_.size()); }
  bool IsEmpty() const { return value_.empty(); }
  void Empty() { value_.clear(); }
  TCHAR GetAt(int index) const;
  void SetAt(int index, TCHAR ch);
  void Assign(LPCTSTR text, int length = -1);
  void Append(LPCTSTR text);

  int Compare(LPCTSTR text) const;
  int CompareNoCase(LPCTSTR text) const;  // 0 when equal but for letter case
  void MakeUpper();
  void MakeLower();

  CDuiString Left(int length) const;
  CDuiString Mid(int pos, int length = -1) const;
  CDuiString Right(int length) const;
  int Find(TCHAR ch, int pos = 0) const;
  int Find(LPCTSTR text, int pos = 0) const;
  int ReverseFind(TCHAR ch) const;
  int Replace(LPCTSTR from, LPCTSTR to);

 private:
  std::u16string value_;
};

}  // namespace DuiLib
