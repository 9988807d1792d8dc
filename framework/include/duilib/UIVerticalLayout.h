// Children one below the other; those without a fixed height share what is left.
#pragma once

#include "UIContainer.h"

namespace DuiLib {

class CVerticalLayoutUI : public CContainerUI {
 public:
  LPCTSTR GetClass() const override;
  LPVOID GetInterface(LPCTSTR name) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
};

}  // namespace DuiLib
