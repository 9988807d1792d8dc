// A label that can be pressed: pictures for its normal, hot, pushed and disabled states,
// and a "click" notification when a press and a release both land on it.
#pragma once

#include "UILabel.h"

namespace DuiLib {

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  LPCTSTR GetClass() const override;
  LPVOID GetInterface(LPCTSTR name) override;
  UINT GetControlFlags() const override;

  bool Activate() override;
  void SetEnabled(bool enable = true) override;
  void DoEvent(TEventUI& event) override;

  LPCTSTR GetNormalImage() const { return m_sNormalImage; }
  void SetNormalImage(LPCTSTR image);
  LPCTSTR GetHotImage() const { return m_sHotImage; }
  void SetHotImage(LPCTSTR image);
  LPCTSTR GetPushedImage() const { return m_sPushedImage; }
  void SetPushedImage(LPCTSTR image);
  LPCTSTR GetDisabledImage() const { return m_sDisabledImage; }
  void SetDisabledImage(LPCTSTR image);
  UINT GetButtonState() const { return m_uButtonState; }

  void SetAttribute(LPCTSTR name, LPCTSTR value) override;
  void PaintText(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;

 protected:
  UINT m_uButtonState = 0;
  DWORD m_dwHotTextColor = 0;
  DWORD m_dwPushedTextColor = 0;
  CDuiString m_sNormalImage;
  CDuiString m_sHotImage;
  CDuiString m_sPushedImage;
  CDuiString m_sDisabledImage;
};

}  // namespace DuiLib
