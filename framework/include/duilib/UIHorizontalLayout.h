// Children side by side; those without a fixed width share what is left.
#pragma once

#include "UIContainer.h"

namespace DuiLib {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  LPCTSTR GetClass() const override;
  LPVOID GetInterface(LPCTSTR name) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
};

}  // namespace DuiLib
