#include "duilib/UIHorizontalLayout.h"

#include <algorithm>

namespace DuiLib {

LPCTSTR CHorizontalLayoutUI::GetClass() const { return _T("HorizontalLayoutUI"); }

LPVOID CHorizontalLayoutUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_HORIZONTALLAYOUT) == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  rc = m_rcItem;
  rc.left += m_rcInset.left;
  rc.top += m_rcInset.top;
  rc.right -= m_rcInset.right;
  rc.bottom -= m_rcInset.bottom;
  if (m_items.empty()) return;
  SIZE available{rc.right - rc.left, rc.bottom - rc.top};

  // First pass: what the fixed children take; the others share the rest equally.
  int adjustables = 0, fixedWidth = 0, counted = 0;
  for (CControlUI* item : m_items) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    SIZE sz = item->EstimateSize(available);
    RECT padding = item->GetPadding();
    if (sz.cx == 0) {
      ++adjustables;
    } else {
      sz.cx = std::clamp<LONG>(sz.cx, item->GetMinWidth(), std::max(item->GetMinWidth(), item->GetMaxWidth()));
      fixedWidth += sz.cx;
    }
    fixedWidth += padding.left + padding.right;
    ++counted;
  }
  if (counted > 1) fixedWidth += (counted - 1) * m_iChildPadding;
  int expand = adjustables > 0 ? std::max(0, (available.cx - fixedWidth) / adjustables) : 0;
  int remainder = adjustables > 0 ? std::max(0, available.cx - fixedWidth - expand * adjustables) : 0;

  int x = rc.left, seenAdjustable = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = m_items[static_cast<size_t>(i)];
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    RECT padding = item->GetPadding();
    SIZE sz = item->EstimateSize(available);
    if (sz.cx == 0) sz.cx = expand + (++seenAdjustable == adjustables ? remainder : 0);
    sz.cx = std::clamp<LONG>(sz.cx, item->GetMinWidth(), std::max(item->GetMinWidth(), item->GetMaxWidth()));
    sz.cy = item->GetFixedHeight();
    if (sz.cy == 0) sz.cy = available.cy - padding.top - padding.bottom;
    sz.cy = std::clamp<LONG>(sz.cy, item->GetMinHeight(), std::max(item->GetMinHeight(), item->GetMaxHeight()));
    RECT place{x + padding.left, rc.top + padding.top, x + padding.left + sz.cx, rc.top + padding.top + sz.cy};
    item->SetPos(place, false);
    x += sz.cx + m_iChildPadding + padding.left + padding.right;
  }
}

}  // namespace DuiLib
