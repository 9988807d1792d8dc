#include "duilib/UIVerticalLayout.h"

#include <algorithm>

namespace DuiLib {

LPCTSTR CVerticalLayoutUI::GetClass() const { return _T("VerticalLayoutUI"); }

LPVOID CVerticalLayoutUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_VERTICALLAYOUT) == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  rc = m_rcItem;
  rc.left += m_rcInset.left;
  rc.top += m_rcInset.top;
  rc.right -= m_rcInset.right;
  rc.bottom -= m_rcInset.bottom;
  if (m_items.empty()) return;
  SIZE available{rc.right - rc.left, rc.bottom - rc.top};

  // First pass: what the fixed children take; the others share the rest equally.
  int adjustables = 0, fixedHeight = 0, counted = 0;
  for (CControlUI* item : m_items) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    SIZE sz = item->EstimateSize(available);
    RECT padding = item->GetPadding();
    if (sz.cy == 0) {
      ++adjustables;
    } else {
      sz.cy = std::clamp<LONG>(sz.cy, item->GetMinHeight(), std::max(item->GetMinHeight(), item->GetMaxHeight()));
      fixedHeight += sz.cy;
    }
    fixedHeight += padding.top + padding.bottom;
    ++counted;
  }
  if (counted > 1) fixedHeight += (counted - 1) * m_iChildPadding;
  int expand = adjustables > 0 ? std::max(0, (available.cy - fixedHeight) / adjustables) : 0;
  int remainder = adjustables > 0 ? std::max(0, available.cy - fixedHeight - expand * adjustables) : 0;

  int y = rc.top, seenAdjustable = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = m_items[static_cast<size_t>(i)];
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    RECT padding = item->GetPadding();
    SIZE sz = item->EstimateSize(available);
    if (sz.cy == 0) {
      sz.cy = expand + (++seenAdjustable == adjustables ? remainder : 0);  // the last one takes the rounding
      sz.cy = std::clamp<LONG>(sz.cy, item->GetMinHeight(), std::max(item->GetMinHeight(), item->GetMaxHeight()));
    } else {
      sz.cy = std::clamp<LONG>(sz.cy, item->GetMinHeight(), std::max(item->GetMinHeight(), item->GetMaxHeight()));
    }
    sz.cx = item->GetFixedWidth();
    if (sz.cx == 0) sz.cx = available.cx - padding.left - padding.right;
    sz.cx = std::clamp<LONG>(sz.cx, item->GetMinWidth(), std::max(item->GetMinWidth(), item->GetMaxWidth()));
    RECT place{rc.left + padding.left, y + padding.top, rc.left + padding.left + sz.cx, y + padding.top + sz.cy};
    item->SetPos(place, false);
    y += sz.cy + m_iChildPadding + padding.top + padding.bottom;
  }
}

}  // namespace DuiLib
