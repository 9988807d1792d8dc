// Text in a font and colour, aligned within the control.
#pragma once

#include "UIControl.h"

namespace DuiLib {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  LPCTSTR GetClass() const override;
  LPVOID GetInterface(LPCTSTR name) override;

  void SetTextStyle(UINT style);
  UINT GetTextStyle() const { return m_uTextStyle; }
  void SetTextColor(DWORD color);
  DWORD GetTextColor() const { return m_dwTextColor; }
  void SetFont(int index);
  int GetFont() const { return m_iFont; }
  RECT GetTextPadding() const { return m_rcTextPadding; }
  void SetTextPadding(RECT rc);

  SIZE EstimateSize(SIZE available) override;
  void SetAttribute(LPCTSTR name, LPCTSTR value) override;
  void PaintText(HDC hDC) override;

 protected:
  void PaintTextIn(HDC hDC, DWORD color);

  DWORD m_dwTextColor = 0;
  DWORD m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
  RECT m_rcTextPadding{};
};

}  // namespace DuiLib
