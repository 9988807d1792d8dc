// A control that holds others; it lays them all out over its inset rectangle.
#pragma once

#include "UIControl.h"

#include <vector>

namespace DuiLib {

class IContainerUI {
 public:
  virtual ~IContainerUI() = default;
  virtual CControlUI* GetItemAt(int index) const = 0;
  virtual int GetItemIndex(CControlUI* control) const = 0;
  virtual int GetCount() const = 0;
  virtual bool Add(CControlUI* control) = 0;
  virtual bool AddAt(CControlUI* control, int index) = 0;
  virtual bool Remove(CControlUI* control) = 0;
  virtual void RemoveAll() = 0;
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  LPCTSTR GetClass() const override;
  LPVOID GetInterface(LPCTSTR name) override;

  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;

  virtual RECT GetInset() const;
  virtual void SetInset(RECT rc);
  virtual int GetChildPadding() const;
  virtual void SetChildPadding(int padding);

  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void SetMouseEnabled(bool enable = true) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
  CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) override;

  void SetPos(RECT rc, bool needInvalidate = true) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;
  void SetAttribute(LPCTSTR name, LPCTSTR value) override;

 protected:
  // Places a floating child from its fixed position and its parent-relative percentages.
  virtual void SetFloatPos(int index);
  // The control's rectangle less its inset: where the children go.
  RECT GetInnerRect() const;
  // Lays the children out one after another down (vertical) or across: children with a
  // fixed size along the line keep it, the others share what is left equally.
  void LayOutInLine(bool vertical);

  std::vector<CControlUI*> m_items;
  RECT m_rcInset{};
  int m_iChildPadding = 0;
  bool m_bMouseChildEnabled = true;
};

}  // namespace DuiLib
