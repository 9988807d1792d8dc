#include "duilib/UIButton.h"

#include "Parse.h"
#include "duilib/UIManager.h"

namespace DuiLib {

CButtonUI::CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

LPCTSTR CButtonUI::GetClass() const { return _T("ButtonUI"); }

LPVOID CButtonUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_BUTTON) == 0) return this;
  return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const { return IsEnabled() ? 1u : 0u; }

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
  return true;
}

void CButtonUI::SetEnabled(bool enable) {
  CControlUI::SetEnabled(enable);
  if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    if (m_pParent) m_pParent->DoEvent(event);
    else CLabelUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (::PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_uButtonState & UISTATE_CAPTURED) {
        // Pushed only while the pointer stays on the button.
        if (::PtInRect(&m_rcItem, event.ptMouse)) m_uButtonState |= UISTATE_PUSHED;
        else m_uButtonState &= ~UISTATE_PUSHED;
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        bool inside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (inside) Activate();
      }
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    default:
      CLabelUI::DoEvent(event);
  }
}

void CButtonUI::SetNormalImage(LPCTSTR image) {
  m_sNormalImage = image;
  Invalidate();
}
void CButtonUI::SetHotImage(LPCTSTR image) {
  m_sHotImage = image;
  Invalidate();
}
void CButtonUI::SetPushedImage(LPCTSTR image) {
  m_sPushedImage = image;
  Invalidate();
}
void CButtonUI::SetDisabledImage(LPCTSTR image) {
  m_sDisabledImage = image;
  Invalidate();
}

void CButtonUI::SetAttribute(LPCTSTR name, LPCTSTR value) {
  CDuiString n(name);
  if (n == _T("normalimage")) SetNormalImage(value);
  else if (n == _T("hotimage")) SetHotImage(value);
  else if (n == _T("pushedimage")) SetPushedImage(value);
  else if (n == _T("disabledimage")) SetDisabledImage(value);
  else if (n == _T("hottextcolor")) m_dwHotTextColor = detail::ParseColor(value);
  else if (n == _T("pushedtextcolor")) m_dwPushedTextColor = detail::ParseColor(value);
  else CLabelUI::SetAttribute(name, value);
}

void CButtonUI::PaintText(HDC hDC) {
  DWORD color = m_dwTextColor ? m_dwTextColor : 0xFF000000u;
  if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor) color = m_dwPushedTextColor;
  else if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor) color = m_dwHotTextColor;
  if (!IsEnabled() && m_dwDisabledTextColor) color = m_dwDisabledTextColor;
  PaintTextIn(hDC, color);
}

void CButtonUI::PaintStatusImage(HDC hDC) {
  // The state's own picture when there is one, else the normal picture.
  if (!IsEnabled() && !m_sDisabledImage.IsEmpty() && DrawImage(hDC, m_sDisabledImage)) return;
  if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedImage.IsEmpty() && DrawImage(hDC, m_sPushedImage)) return;
  if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.IsEmpty() && DrawImage(hDC, m_sHotImage)) return;
  if (!m_sNormalImage.IsEmpty()) DrawImage(hDC, m_sNormalImage);
}

}  // namespace DuiLib
