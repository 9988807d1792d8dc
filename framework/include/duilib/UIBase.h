// A C++ object behind a native window, and the notification map that routes a window's
// notifications to its member functions.
#pragma once

#include "UIManager.h"

namespace DuiLib {

class CNotifyPump;
typedef void (*DUI_PMSG)(CNotifyPump* self, TNotifyUI& msg);

struct DUI_MSGMAP_ENTRY {
  LPCTSTR sMsgType;   // notification type ("click")
  LPCTSTR sCtrlName;  // null: any control
  DUI_PMSG pfn;
};

struct DUI_MSGMAP {
  const DUI_MSGMAP* (*pfnGetBaseMap)();
  const DUI_MSGMAP_ENTRY* lpEntries;
};

class CNotifyPump {
 public:
  virtual ~CNotifyPump() = default;
  // Runs the first entry of this class's map, then of its bases', that matches.
  bool NotifyPump(TNotifyUI& msg);
  static const DUI_MSGMAP* GetThisMessageMap();

 protected:
  virtual const DUI_MSGMAP* GetMessageMap() const;
};

#define DUI_DECLARE_MESSAGE_MAP()                                 \
 public:                                                          \
  static const ::DuiLib::DUI_MSGMAP* GetThisMessageMap();         \
                                                                  \
 protected:                                                       \
  const ::DuiLib::DUI_MSGMAP* GetMessageMap() const override;

#define DUI_BEGIN_MESSAGE_MAP(theClass, baseClass)                                                \
  const ::DuiLib::DUI_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
  const ::DuiLib::DUI_MSGMAP* theClass::GetThisMessageMap() {                                     \
    typedef theClass ThisClass;                                                                   \
    typedef baseClass TheBaseClass;                                                               \
    static const ::DuiLib::DUI_MSGMAP_ENTRY entries[] = {
#define DUI_ON_MSGTYPE(msgtype, memberFxn)                                                          \
  {msgtype, nullptr,                                                                                \
   [](::DuiLib::CNotifyPump* self, ::DuiLib::TNotifyUI& msg) { static_cast<ThisClass*>(self)->memberFxn(msg); }},
#define DUI_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn)                                         \
  {msgtype, ctrname,                                                                                \
   [](::DuiLib::CNotifyPump* self, ::DuiLib::TNotifyUI& msg) { static_cast<ThisClass*>(self)->memberFxn(msg); }},
#define DUI_ON_CLICK_CTRNAME(ctrname, memberFxn) DUI_ON_MSGTYPE_CTRNAME(DUI_MSGTYPE_CLICK, ctrname, memberFxn)
#define DUI_END_MESSAGE_MAP()                                            \
  {nullptr, nullptr, nullptr}                                            \
  }                                                                      \
  ;                                                                      \
  static const ::DuiLib::DUI_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                           \
  }

class CWindowWnd {
 public:
  CWindowWnd();
  virtual ~CWindowWnd();

  HWND GetHWND() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  bool RegisterWindowClass();
  HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT rc,
              HMENU hMenu = nullptr);
  HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
  void ShowWindow(bool bShow = true, bool bTakeFocus = true);
  // Posts WM_CLOSE with the code in wParam.
  void Close(UINT nRet = IDOK);
  // Centres on the owner when it is visible and not minimised, else on the work area.
  void CenterWindow();
  void SetIcon(UINT nRes);
  LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0L);
  LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0L);
  void ResizeClient(int cx = -1, int cy = -1);

 protected:
  virtual LPCTSTR GetWindowClassName() const = 0;
  virtual UINT GetClassStyle() const;
  virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage(HWND hWnd);

  static LRESULT CALLBACK __WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
};

}  // namespace DuiLib
