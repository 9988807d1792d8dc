// Builds a control tree from an XML layout.
#pragma once

#include "DuiRect.h"
#include "UIManager.h"

namespace DuiLib {

class CControlUI;

class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  // A control for a tag the framework does not know; null leaves the tag to the framework.
  virtual CControlUI* CreateControl(LPCTSTR pstrClass) = 0;
};

class CDialogBuilder {
 public:
  // Reads the layout (a resource name, or XML text when it starts with '<'), applies its
  // Window attributes and fonts to `manager`, and returns the root control, or null.
  CControlUI* Create(STRINGorID xml, LPCTSTR type = nullptr, IDialogBuilderCallback* callback = nullptr,
                     CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
  // What went wrong with the last Create, empty when nothing did.
  const CDuiString& GetLastErrorMessage() const { return m_sError; }

 private:
  CDuiString m_sError;
};

}  // namespace DuiLib
