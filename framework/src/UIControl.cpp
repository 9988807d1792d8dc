#include "duilib/UIControl.h"

#include "Parse.h"
#include "Render.h"
#include "duilib/UIManager.h"

#include <algorithm>
#include <cstdlib>

namespace DuiLib {

using detail::ParseBool;
using detail::ParseColor;
using detail::ParseInt;
using detail::ParseRect;
using detail::ParseSize;

CControlUI::CControlUI() = default;
CControlUI::~CControlUI() {
  if (m_pManager) m_pManager->ReapObjects(this);
}

CDuiString CControlUI::GetName() const { return m_sName; }
void CControlUI::SetName(LPCTSTR name) { m_sName = name; }
LPCTSTR CControlUI::GetClass() const { return _T("ControlUI"); }

LPVOID CControlUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_CONTROL) == 0) return this;
  return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }
CPaintManagerUI* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  m_pManager = manager;
  m_pParent = parent;
  if (init && m_pParent) Init();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }
CDuiString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(LPCTSTR text) {
  if (m_sText == text) return;
  m_sText = text;
  Invalidate();
}

void CControlUI::SetBkColor(DWORD color) {
  m_dwBackColor = color;
  Invalidate();
}

void CControlUI::SetBkImage(LPCTSTR image) {
  m_sBkImage = image;
  Invalidate();
}

void CControlUI::SetBorderColor(DWORD color) {
  m_dwBorderColor = color;
  Invalidate();
}

void CControlUI::SetBorderSize(int size) {
  m_nBorderSize = size;
  Invalidate();
}

const RECT& CControlUI::GetPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rc, bool needInvalidate) {
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  RECT old = m_rcItem;
  m_rcItem = rc;
  m_bUpdateNeeded = false;
  if (needInvalidate && m_pManager) {
    m_pManager->Invalidate(old);
    Invalidate();
  }
}

int CControlUI::GetWidth() const { return m_rcItem.right - m_rcItem.left; }
int CControlUI::GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
RECT CControlUI::GetPadding() const { return m_rcPadding; }

void CControlUI::SetPadding(RECT rc) {
  m_rcPadding = rc;
  NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const { return m_cXY; }

void CControlUI::SetFixedXY(SIZE sz) {
  m_cXY = sz;
  NeedParentUpdate();
}

TPercentInfo CControlUI::GetFloatPercent() const { return m_piFloatPercent; }
int CControlUI::GetFixedWidth() const { return m_cxyFixed.cx; }

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const { return m_cxyFixed.cy; }

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  NeedParentUpdate();
}

int CControlUI::GetMinWidth() const { return m_cxyMin.cx; }
void CControlUI::SetMinWidth(int cx) {
  if (cx >= 0) m_cxyMin.cx = cx;
  NeedParentUpdate();
}
int CControlUI::GetMaxWidth() const { return m_cxyMax.cx; }
void CControlUI::SetMaxWidth(int cx) {
  if (cx >= 0) m_cxyMax.cx = cx;
  NeedParentUpdate();
}
int CControlUI::GetMinHeight() const { return m_cxyMin.cy; }
void CControlUI::SetMinHeight(int cy) {
  if (cy >= 0) m_cxyMin.cy = cy;
  NeedParentUpdate();
}
int CControlUI::GetMaxHeight() const { return m_cxyMax.cy; }
void CControlUI::SetMaxHeight(int cy) {
  if (cy >= 0) m_cxyMax.cy = cy;
  NeedParentUpdate();
}

bool CControlUI::IsFloat() const { return m_bFloat; }
void CControlUI::SetFloat(bool isFloat) {
  m_bFloat = isFloat;
  NeedParentUpdate();
}

CDuiString CControlUI::GetToolTip() const { return m_sToolTip; }
void CControlUI::SetToolTip(LPCTSTR text) { m_sToolTip = text; }

bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  bool was = IsVisible();
  m_bVisible = visible;
  if (IsVisible() != was) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible) { m_bInternVisible = visible; }
bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool enable) {
  if (m_bEnabled == enable) return;
  m_bEnabled = enable;
  Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }
void CControlUI::SetMouseEnabled(bool enable) { m_bMouseEnabled = enable; }
bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus() {
  if (m_pManager) m_pManager->SetFocus(this);
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) && (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<POINT*>(data))))
    return nullptr;
  return proc(this, data);
}

void CControlUI::Invalidate() {
  if (!IsVisible() || !m_pManager) return;
  RECT rc = m_rcItem;
  m_pManager->Invalidate(rc);
}

bool CControlUI::IsUpdateNeeded() const { return m_bUpdateNeeded; }

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (m_pParent) {
    m_pParent->NeedUpdate();
    m_pParent->Invalidate();
  } else {
    NeedUpdate();
  }
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::Init() { DoInit(); }
void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) { DoEvent(event); }

void CControlUI::DoEvent(TEventUI& event) {
  // What a plain control does not use goes to its parent (a button inside a layout).
  if (event.Type == UIEVENT_SETFOCUS) {
    m_bFocused = true;
    Invalidate();
    return;
  }
  if (event.Type == UIEVENT_KILLFOCUS) {
    m_bFocused = false;
    Invalidate();
    return;
  }
  if (m_pParent) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(LPCTSTR name, LPCTSTR value) {
  CDuiString n(name);
  if (n == _T("pos")) {
    RECT rc = ParseRect(value);
    m_cXY = SIZE{rc.left, rc.top};
    m_cxyFixed = SIZE{rc.right - rc.left, rc.bottom - rc.top};
    NeedParentUpdate();
  } else if (n == _T("padding")) {
    SetPadding(ParseRect(value));
  } else if (n == _T("bkcolor") || n == _T("bkcolor1")) {
    SetBkColor(ParseColor(value));
  } else if (n == _T("bordercolor")) {
    SetBorderColor(ParseColor(value));
  } else if (n == _T("bordersize")) {
    SetBorderSize(static_cast<int>(ParseInt(value)));
  } else if (n == _T("bkimage")) {
    SetBkImage(value);
  } else if (n == _T("width")) {
    SetFixedWidth(static_cast<int>(ParseInt(value)));
  } else if (n == _T("height")) {
    SetFixedHeight(static_cast<int>(ParseInt(value)));
  } else if (n == _T("minwidth")) {
    SetMinWidth(static_cast<int>(ParseInt(value)));
  } else if (n == _T("minheight")) {
    SetMinHeight(static_cast<int>(ParseInt(value)));
  } else if (n == _T("maxwidth")) {
    SetMaxWidth(static_cast<int>(ParseInt(value)));
  } else if (n == _T("maxheight")) {
    SetMaxHeight(static_cast<int>(ParseInt(value)));
  } else if (n == _T("name")) {
    SetName(value);
  } else if (n == _T("text")) {
    SetText(value);
  } else if (n == _T("tooltip")) {
    SetToolTip(value);
  } else if (n == _T("enabled")) {
    SetEnabled(ParseBool(value));
  } else if (n == _T("mouse")) {
    SetMouseEnabled(ParseBool(value));
  } else if (n == _T("visible")) {
    SetVisible(ParseBool(value));
  } else if (n == _T("float")) {
    CDuiString v(value);
    if (v.Find(u',') < 0) {
      SetFloat(ParseBool(value));
    } else {
      // "l,t,r,b" as fractions of the parent: a float placed relative to the parent.
      std::u16string s(value);
      double parts[4] = {0, 0, 0, 0};
      size_t start = 0;
      for (int i = 0; i < 4 && start <= s.size(); ++i) {
        size_t comma = s.find(u',', start);
        std::string piece = detail::ToUtf8(s.substr(start, comma - start).c_str());
        parts[i] = std::strtod(piece.c_str(), nullptr);
        if (comma == std::u16string::npos) break;
        start = comma + 1;
      }
      m_piFloatPercent = TPercentInfo{parts[0], parts[1], parts[2], parts[3]};
      SetFloat(true);
    }
  }
  // Attributes the control does not know are ignored.
}

SIZE CControlUI::EstimateSize(SIZE) { return m_cxyFixed; }

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT overlap{};
  if (!::IntersectRect(&overlap, &rcPaint, &m_rcItem)) return;
  PaintBkColor(hDC);
  PaintBkImage(hDC);
  PaintStatusImage(hDC);
  PaintText(hDC);
  PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC) { render::FillRect(hDC, m_rcItem, m_dwBackColor); }

void CControlUI::PaintBkImage(HDC hDC) {
  if (!m_sBkImage.IsEmpty()) DrawImage(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC) {}
void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) { render::DrawBorder(hDC, m_rcItem, m_nBorderSize, m_dwBorderColor); }

bool CControlUI::DrawImage(HDC hDC, LPCTSTR image) {
  if (!m_pManager || !image || !*image) return false;
  std::u16string file, value;
  if (!detail::DescriptionValue(image, u"file", file) && !detail::DescriptionValue(image, u"res", file)) return false;
  const TImageInfo* info = m_pManager->GetImage(file.c_str());
  if (!info) return false;  // missing or broken pictures leave the area blank
  RECT dest = m_rcItem, source{}, corner{};
  if (detail::DescriptionValue(image, u"dest", value)) {
    RECT d = ParseRect(value.c_str());
    dest = RECT{m_rcItem.left + d.left, m_rcItem.top + d.top, m_rcItem.left + d.right, m_rcItem.top + d.bottom};
  }
  if (detail::DescriptionValue(image, u"source", value)) source = ParseRect(value.c_str());
  if (detail::DescriptionValue(image, u"corner", value)) corner = ParseRect(value.c_str());
  BYTE fade = 255;
  if (detail::DescriptionValue(image, u"fade", value)) fade = static_cast<BYTE>(std::clamp<long>(ParseInt(value.c_str()), 0, 255));
  render::DrawImage(hDC, *info, dest, source, corner, fade);
  return true;
}

}  // namespace DuiLib
