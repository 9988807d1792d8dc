#include "duilib/UILabel.h"

#include "Parse.h"
#include "Render.h"
#include "duilib/UIManager.h"

namespace DuiLib {

CLabelUI::CLabelUI() = default;

LPCTSTR CLabelUI::GetClass() const { return _T("LabelUI"); }

LPVOID CLabelUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_LABEL) == 0) return this;
  return CControlUI::GetInterface(name);
}

void CLabelUI::SetTextStyle(UINT style) {
  m_uTextStyle = style;
  Invalidate();
}

void CLabelUI::SetTextColor(DWORD color) {
  m_dwTextColor = color;
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc) {
  m_rcTextPadding = rc;
  Invalidate();
}

SIZE CLabelUI::EstimateSize(SIZE available) { return CControlUI::EstimateSize(available); }

void CLabelUI::SetAttribute(LPCTSTR name, LPCTSTR value) {
  CDuiString n(name), v(value);
  if (n == _T("align")) {
    m_uTextStyle &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
    if (v.Find(_T("center")) >= 0) m_uTextStyle |= DT_CENTER;
    else if (v.Find(_T("right")) >= 0) m_uTextStyle |= DT_RIGHT;
  } else if (n == _T("valign")) {
    m_uTextStyle &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
    if (v.Find(_T("vcenter")) >= 0 || v.Find(_T("center")) >= 0) m_uTextStyle |= DT_VCENTER;
    else if (v.Find(_T("bottom")) >= 0) m_uTextStyle |= DT_BOTTOM;
  } else if (n == _T("endellipsis")) {
    if (detail::ParseBool(value)) m_uTextStyle |= DT_END_ELLIPSIS;
    else m_uTextStyle &= ~DT_END_ELLIPSIS;
  } else if (n == _T("multiline")) {
    if (detail::ParseBool(value)) m_uTextStyle = (m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK;
    else m_uTextStyle = (m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE;
  } else if (n == _T("font")) {
    SetFont(static_cast<int>(detail::ParseInt(value)));
  } else if (n == _T("textcolor")) {
    SetTextColor(detail::ParseColor(value));
  } else if (n == _T("disabledtextcolor")) {
    m_dwDisabledTextColor = detail::ParseColor(value);
  } else if (n == _T("textpadding")) {
    SetTextPadding(detail::ParseRect(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CLabelUI::PaintText(HDC hDC) {
  DWORD color = m_dwTextColor ? m_dwTextColor : 0xFF000000u;
  if (!IsEnabled() && m_dwDisabledTextColor) color = m_dwDisabledTextColor;
  PaintTextIn(hDC, color);
}

void CLabelUI::PaintTextIn(HDC hDC, DWORD color) {
  if (m_sText.IsEmpty()) return;
  RECT rc = m_rcItem;
  rc.left += m_rcTextPadding.left;
  rc.right -= m_rcTextPadding.right;
  rc.top += m_rcTextPadding.top;
  rc.bottom -= m_rcTextPadding.bottom;
  render::DrawText(hDC, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
}

}  // namespace DuiLib
