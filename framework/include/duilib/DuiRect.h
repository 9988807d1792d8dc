// Rectangle, size and point helpers over the Win32 structures.
#pragma once

#include <windows.h>

namespace DuiLib {

class CDuiRect : public tagRECT {
 public:
  CDuiRect();
  CDuiRect(const RECT& src);
  CDuiRect(int l, int t, int r, int b);

  int GetWidth() const { return right - left; }
  int GetHeight() const { return bottom - top; }
  void Empty() { left = top = right = bottom = 0; }
  bool IsNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  void Join(const RECT& rc);
  void ResetOffset();
  void Normalize();
  void Offset(int cx, int cy);
  void Inflate(int cx, int cy);
  void Deflate(int cx, int cy);
  void Union(CDuiRect& rc);
};

class CDuiSize : public tagSIZE {
 public:
  CDuiSize() { cx = cy = 0; }
  CDuiSize(const SIZE& src) { cx = src.cx, cy = src.cy; }
  CDuiSize(int x, int y) { cx = x, cy = y; }
};

class CDuiPoint : public tagPOINT {
 public:
  CDuiPoint() { x = y = 0; }
  CDuiPoint(const POINT& src) { x = src.x, y = src.y; }
  CDuiPoint(int px, int py) { x = px, y = py; }
};

// A resource named by a string or by an integer id.
class STRINGorID {
 public:
  STRINGorID(LPCTSTR name) : m_lpstr(name) {}
  STRINGorID(UINT id) : m_lpstr(MAKEINTRESOURCE(id)) {}
  LPCTSTR m_lpstr;
};

}  // namespace DuiLib
