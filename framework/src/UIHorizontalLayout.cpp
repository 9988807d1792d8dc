#include "duilib/UIHorizontalLayout.h"

namespace DuiLib {

LPCTSTR CHorizontalLayoutUI::GetClass() const { return _T("HorizontalLayoutUI"); }

LPVOID CHorizontalLayoutUI::GetInterface(LPCTSTR name) {
  if (lstrcmpW(name, DUI_CTR_HORIZONTALLAYOUT) == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LayOutInLine(false);
}

}  // namespace DuiLib
