#include "duilib/UIVerticalLayout.h"

namespace DuiLib {

LPCTSTR CVerticalLayoutUI::GetClass() const { return _T("VerticalLayoutUI"); }

LPVOID CVerticalLayoutUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_VERTICALLAYOUT) == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LayOutInLine(true);
}

}  // namespace DuiLib
