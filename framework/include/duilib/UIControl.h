// The base of every control: place, visibility, colours, pictures, text and events.
#pragma once

#include "DuiRect.h"
#include "DuiString.h"
#include "UIDefine.h"

namespace DuiLib {

class CPaintManagerUI;

struct TEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse{};
  TCHAR chKey = 0;
  WORD wKeyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// A position given relative to the parent: each edge as a fraction of its size.
struct TPercentInfo {
  double left = 0, top = 0, right = 0, bottom = 0;
};

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();

  virtual CDuiString GetName() const;
  virtual void SetName(LPCTSTR name);
  virtual LPCTSTR GetClass() const;
  virtual LPVOID GetInterface(LPCTSTR name);
  virtual UINT GetControlFlags() const;

  virtual CPaintManagerUI* GetManager() const;
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
  virtual CControlUI* GetParent() const;

  // Text.
  virtual CDuiString GetText() const;
  virtual void SetText(LPCTSTR text);

  // Colours and pictures.
  DWORD GetBkColor() const { return m_dwBackColor; }
  void SetBkColor(DWORD color);
  LPCTSTR GetBkImage() const { return m_sBkImage; }
  void SetBkImage(LPCTSTR image);
  DWORD GetBorderColor() const { return m_dwBorderColor; }
  void SetBorderColor(DWORD color);
  int GetBorderSize() const { return m_nBorderSize; }
  void SetBorderSize(int size);

  // Place.
  virtual const RECT& GetPos() const;
  virtual void SetPos(RECT rc, bool needInvalidate = true);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT rc);
  virtual SIZE GetFixedXY() const;
  virtual void SetFixedXY(SIZE sz);
  virtual TPercentInfo GetFloatPercent() const;
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);
  virtual bool IsFloat() const;
  virtual void SetFloat(bool isFloat = true);

  // Tool tip.
  virtual CDuiString GetToolTip() const;
  virtual void SetToolTip(LPCTSTR text);

  // State.
  virtual bool IsVisible() const;
  virtual void SetVisible(bool visible = true);
  virtual void SetInternVisible(bool visible = true);  // visibility the parent imposes
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool enable = true);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool enable = true);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool Activate();

  virtual CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags);

  void Invalidate();
  bool IsUpdateNeeded() const;
  void NeedUpdate();
  void NeedParentUpdate();

  virtual void Init();
  virtual void DoInit();
  virtual void Event(TEventUI& event);
  virtual void DoEvent(TEventUI& event);

  virtual void SetAttribute(LPCTSTR name, LPCTSTR value);

  // The size the control asks for within `available`; 0 in a dimension means "stretch".
  virtual SIZE EstimateSize(SIZE available);

  virtual void DoPaint(HDC hDC, const RECT& rcPaint);
  virtual void PaintBkColor(HDC hDC);
  virtual void PaintBkImage(HDC hDC);
  virtual void PaintStatusImage(HDC hDC);
  virtual void PaintText(HDC hDC);
  virtual void PaintBorder(HDC hDC);

 protected:
  // Draws a picture description ("imgs/a.png" or "file='a.png' source='..' corner='..'")
  // into the control's rectangle; false when the picture is missing.
  bool DrawImage(HDC hDC, LPCTSTR image);

  CPaintManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  CDuiString m_sName;
  bool m_bUpdateNeeded = true;
  RECT m_rcItem{};
  RECT m_rcPadding{};
  SIZE m_cXY{};
  SIZE m_cxyFixed{};
  SIZE m_cxyMin{};
  SIZE m_cxyMax{9999, 9999};
  bool m_bVisible = true;
  bool m_bInternVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bFocused = false;
  bool m_bFloat = false;
  TPercentInfo m_piFloatPercent;
  CDuiString m_sText;
  CDuiString m_sToolTip;
  CDuiString m_sBkImage;
  DWORD m_dwBackColor = 0;
  DWORD m_dwBorderColor = 0;
  int m_nBorderSize = 0;
};

}  // namespace DuiLib
