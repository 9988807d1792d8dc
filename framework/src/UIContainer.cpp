#include "duilib/UIContainer.h"

#include "Parse.h"
#include "duilib/UIManager.h"

#include <algorithm>

namespace DuiLib {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  for (CControlUI* item : m_items) delete item;
  m_items.clear();
}

LPCTSTR CContainerUI::GetClass() const { return _T("ContainerUI"); }

LPVOID CContainerUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_ICONTAINER) == 0) return static_cast<IContainerUI*>(this);
  if (lstrcmpW(name, DUI_CTR_CONTAINER) == 0) return static_cast<CContainerUI*>(this);
  return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  auto it = std::find(m_items.begin(), m_items.end(), control);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!control || index < 0 || index > GetCount()) return false;
  if (m_pManager) m_pManager->InitControls(control, this);
  else control->SetManager(nullptr, this, false);
  control->SetInternVisible(IsVisible());
  m_items.insert(m_items.begin() + index, control);
  NeedUpdate();
  return true;
}

bool CContainerUI::Remove(CControlUI* control) {
  auto it = std::find(m_items.begin(), m_items.end(), control);
  if (it == m_items.end()) return false;
  m_items.erase(it);
  delete control;
  NeedUpdate();
  return true;
}

void CContainerUI::RemoveAll() {
  for (CControlUI* item : m_items) delete item;
  m_items.clear();
  NeedUpdate();
}

RECT CContainerUI::GetInset() const { return m_rcInset; }
void CContainerUI::SetInset(RECT rc) {
  m_rcInset = rc;
  NeedUpdate();
}
int CContainerUI::GetChildPadding() const { return m_iChildPadding; }
void CContainerUI::SetChildPadding(int padding) {
  m_iChildPadding = padding;
  NeedUpdate();
}

void CContainerUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  CControlUI::SetVisible(visible);
  for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enable) { CControlUI::SetMouseEnabled(enable); }

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  for (CControlUI* item : m_items) item->SetManager(manager, this, init);
  CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) && !::PtInRect(&m_rcItem, *static_cast<POINT*>(data))) return nullptr;
  if (flags & UIFIND_ME_FIRST) {
    if (CControlUI* me = CControlUI::FindControl(proc, data, flags)) return me;
  }
  if (!(flags & UIFIND_HITTEST) || m_bMouseChildEnabled) {
    // The top-most child first: later children paint over earlier ones.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
      if (CControlUI* found = (*it)->FindControl(proc, data, flags)) return found;
    }
  }
  if (flags & UIFIND_ME_FIRST) return nullptr;
  return CControlUI::FindControl(proc, data, flags);
}

void CContainerUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  if (m_items.empty()) return;
  RECT inner = GetInnerRect();
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = m_items[static_cast<size_t>(i)];
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    RECT padding = item->GetPadding();
    RECT place{inner.left + padding.left, inner.top + padding.top, inner.right - padding.right,
               inner.bottom - padding.bottom};
    SIZE fixed{item->GetFixedWidth(), item->GetFixedHeight()};
    if (fixed.cx > 0) place.right = place.left + fixed.cx;
    if (fixed.cy > 0) place.bottom = place.top + fixed.cy;
    item->SetPos(place, false);
  }
}

void CContainerUI::SetFloatPos(int index) {
  CControlUI* item = GetItemAt(index);
  if (!item || !item->IsVisible() || !item->IsFloat()) return;
  SIZE xy = item->GetFixedXY();
  SIZE size{item->GetFixedWidth(), item->GetFixedHeight()};
  TPercentInfo pct = item->GetFloatPercent();
  LONG w = m_rcItem.right - m_rcItem.left, h = m_rcItem.bottom - m_rcItem.top;
  RECT rc{};
  rc.left = m_rcItem.left + static_cast<LONG>(pct.left * w) + xy.cx;
  rc.top = m_rcItem.top + static_cast<LONG>(pct.top * h) + xy.cy;
  rc.right = m_rcItem.left + static_cast<LONG>(pct.right * w) + xy.cx + size.cx;
  rc.bottom = m_rcItem.top + static_cast<LONG>(pct.bottom * h) + xy.cy + size.cy;
  item->SetPos(rc, false);
}

RECT CContainerUI::GetInnerRect() const {
  return RECT{m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top, m_rcItem.right - m_rcInset.right,
              m_rcItem.bottom - m_rcInset.bottom};
}

void CContainerUI::LayOutInLine(bool vertical) {
  RECT rc = GetInnerRect();
  if (m_items.empty()) return;
  SIZE available{rc.right - rc.left, rc.bottom - rc.top};
  // Sizes along the line ("main") and across it, whichever way the line runs.
  auto main = [vertical](const SIZE& s) { return vertical ? s.cy : s.cx; };
  auto minMain = [vertical](CControlUI* c) { return vertical ? c->GetMinHeight() : c->GetMinWidth(); };
  auto maxMain = [vertical](CControlUI* c) { return vertical ? c->GetMaxHeight() : c->GetMaxWidth(); };
  auto minCross = [vertical](CControlUI* c) { return vertical ? c->GetMinWidth() : c->GetMinHeight(); };
  auto maxCross = [vertical](CControlUI* c) { return vertical ? c->GetMaxWidth() : c->GetMaxHeight(); };
  auto clampMain = [&](CControlUI* c, LONG v) { return std::clamp<LONG>(v, minMain(c), std::max(minMain(c), maxMain(c))); };
  auto padBefore = [vertical](const RECT& p) { return vertical ? p.top : p.left; };
  auto padAfter = [vertical](const RECT& p) { return vertical ? p.bottom : p.right; };

  int adjustables = 0, fixed = 0, counted = 0;
  for (CControlUI* item : m_items) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    LONG along = main(item->EstimateSize(available));
    RECT padding = item->GetPadding();
    if (along == 0) ++adjustables;
    else fixed += clampMain(item, along);
    fixed += padBefore(padding) + padAfter(padding);
    ++counted;
  }
  if (counted > 1) fixed += (counted - 1) * m_iChildPadding;
  int space = main(available) - fixed;
  int expand = adjustables > 0 ? std::max(0, space / adjustables) : 0;
  int remainder = adjustables > 0 ? std::max(0, space - expand * adjustables) : 0;

  LONG pos = vertical ? rc.top : rc.left;
  int seenAdjustable = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = m_items[static_cast<size_t>(i)];
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    RECT padding = item->GetPadding();
    LONG along = main(item->EstimateSize(available));
    if (along == 0) along = expand + (++seenAdjustable == adjustables ? remainder : 0);  // the last takes the rounding
    along = clampMain(item, along);
    LONG across = vertical ? item->GetFixedWidth() : item->GetFixedHeight();
    if (across == 0)
      across = vertical ? available.cx - padding.left - padding.right : available.cy - padding.top - padding.bottom;
    across = std::clamp<LONG>(across, minCross(item), std::max(minCross(item), maxCross(item)));
    RECT place = vertical ? RECT{rc.left + padding.left, pos + padding.top, rc.left + padding.left + across,
                                 pos + padding.top + along}
                          : RECT{pos + padding.left, rc.top + padding.top, pos + padding.left + along,
                                 rc.top + padding.top + across};
    item->SetPos(place, false);
    pos += along + m_iChildPadding + padBefore(padding) + padAfter(padding);
  }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT overlap{};
  if (!::IntersectRect(&overlap, &rcPaint, &m_rcItem)) return;
  CControlUI::DoPaint(hDC, rcPaint);
  for (CControlUI* item : m_items) {
    if (!item->IsVisible()) continue;
    RECT itemOverlap{};
    if (!::IntersectRect(&itemOverlap, &rcPaint, &item->GetPos())) continue;
    item->DoPaint(hDC, rcPaint);
  }
}

void CContainerUI::SetAttribute(LPCTSTR name, LPCTSTR value) {
  CDuiString n(name);
  if (n == _T("inset")) SetInset(detail::ParseRect(value));
  else if (n == _T("childpadding")) SetChildPadding(static_cast<int>(detail::ParseInt(value)));
  else if (n == _T("mousechild")) m_bMouseChildEnabled = detail::ParseBool(value);
  else CControlUI::SetAttribute(name, value);
}

}  // namespace DuiLib
