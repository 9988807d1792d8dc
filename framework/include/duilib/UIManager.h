// The paint manager: one per skinned window. It owns the window's control tree, lays it
// out, paints it, turns window messages into control events and notifications, and keeps
// the window's fonts and decoded pictures. Its static half holds where resources come from.
#pragma once

#include "DuiRect.h"
#include "DuiString.h"
#include "UIDefine.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace DuiLib {

class CControlUI;

struct TNotifyUI {
  CDuiString sType;
  CDuiString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse{};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

struct TFontInfo {
  CDuiString sFontName;
  int iSize = 12;
  bool bBold = false;
  bool bUnderline = false;
  bool bItalic = false;
};

// A decoded picture. Opaque outside the framework.
struct TImageInfo;

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();

  // ---- Where resources come from (process-wide) -------------------------------------
  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  static CDuiString GetInstancePath();  // the executable's folder, with a trailing separator
  static void SetResourcePath(LPCTSTR path);
  static const CDuiString& GetResourcePath();
  static void SetResourceType(int type);
  static int GetResourceType();
  static HINSTANCE GetResourceDll();
  // Layouts and pictures resolve inside this zip from now on. The memory is used in
  // place and must stay valid; the password opens encrypted entries.
  static bool SetResourceZip(LPVOID data, unsigned int size, LPCTSTR password = nullptr);
  static bool IsResourceZipOpen();
  // Reads a resource entry (a layout or picture name); false when it is missing.
  static bool LoadResourceData(LPCTSTR name, std::string& data);
  static void ReleaseResourceZip();

  // Runs the thread's message loop until WM_QUIT.
  static void MessageLoop();
  static bool TranslateMessage(const LPMSG msg);

  // ---- One window ---------------------------------------------------------------------
  void Init(HWND hwnd);
  HWND GetPaintWindow() const { return m_hWndPaint; }
  bool AttachDialog(CControlUI* root);
  CControlUI* GetRoot() const { return m_pRoot; }
  CControlUI* FindControl(POINT pt) const;
  CControlUI* FindControl(LPCTSTR name) const;
  bool InitControls(CControlUI* control, CControlUI* parent = nullptr);
  void ReapObjects(CControlUI* control);

  // Window attributes from the layout.
  SIZE GetInitSize() const;
  void SetInitSize(int cx, int cy);
  SIZE GetMinInfo() const { return m_szMinWindow; }
  void SetMinInfo(int cx, int cy);
  SIZE GetMaxInfo() const { return m_szMaxWindow; }
  void SetMaxInfo(int cx, int cy);
  const RECT& GetCaptionRect() const { return m_rcCaption; }
  void SetCaptionRect(RECT& rc);
  const RECT& GetSizeBox() const { return m_rcSizeBox; }
  void SetSizeBox(RECT& rc);
  SIZE GetRoundCorner() const { return m_szRoundCorner; }
  void SetRoundCorner(int cx, int cy);
  bool IsBackgroundTransparent() const { return m_bLayered; }
  void SetBackgroundTransparent(bool transparent);

  // Fonts: index -1 is the default font.
  void AddFont(int id, LPCTSTR name, int size, bool bold, bool underline, bool italic, bool shared);
  void SetDefaultFont(LPCTSTR name, int size, bool bold, bool underline, bool italic, bool shared);
  const TFontInfo& GetFontInfo(int id) const;
  const TFontInfo& GetDefaultFontInfo() const;

  // Pictures, decoded once per window; null for a picture that is missing or broken.
  const TImageInfo* GetImage(LPCTSTR name);

  // Notifications and filters.
  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  void SendNotify(TNotifyUI& msg, bool async = false);
  void SendNotify(CControlUI* control, LPCTSTR type, WPARAM wParam = 0, LPARAM lParam = 0, bool async = false);
  bool AddPreMessageFilter(IMessageFilterUI* filter);
  bool RemovePreMessageFilter(IMessageFilterUI* filter);
  bool AddMessageFilter(IMessageFilterUI* filter);
  bool RemoveMessageFilter(IMessageFilterUI* filter);
  bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

  // Layout and painting.
  void NeedUpdate();
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  void Invalidate();
  void Invalidate(RECT& rc);
  // Lays the tree out now if anything changed (painting does it too).
  void UpdateLayout();

  // Mouse state.
  CControlUI* GetFocus() const { return m_pFocus; }
  void SetFocus(CControlUI* control);
  CControlUI* GetHotControl() const { return m_pEventHover; }
  void SetCapture();
  void ReleaseCapture();
  bool IsCaptured() const { return m_bMouseCapture; }
  POINT GetMousePos() const { return m_ptLastMousePos; }
  // The tool tip window while one shows, else null.
  HWND GetToolTipWindow() const { return m_hwndTooltip; }

 private:
  static CControlUI* CALLBACK FindControlFromPoint(CControlUI* control, LPVOID data);
  static CControlUI* CALLBACK FindControlFromNameHash(CControlUI* control, LPVOID data);
  void Paint();
  void ShowToolTip();
  void HideToolTip();

  HWND m_hWndPaint = nullptr;
  CControlUI* m_pRoot = nullptr;
  CControlUI* m_pFocus = nullptr;
  CControlUI* m_pEventHover = nullptr;
  CControlUI* m_pEventClick = nullptr;
  bool m_bUpdateNeeded = false;
  bool m_bMouseCapture = false;
  bool m_bLayered = false;
  POINT m_ptLastMousePos{-1, -1};
  SIZE m_szMinWindow{};
  SIZE m_szMaxWindow{};
  SIZE m_szInitWindowSize{};
  SIZE m_szRoundCorner{};
  RECT m_rcCaption{};
  RECT m_rcSizeBox{};
  HWND m_hwndTooltip = nullptr;
  std::vector<INotifyUI*> m_aNotifiers;
  std::vector<IMessageFilterUI*> m_aPreMessageFilters;
  std::vector<IMessageFilterUI*> m_aMessageFilters;
  std::map<CDuiString, CControlUI*> m_mNameHash;
  std::map<int, TFontInfo> m_aFonts;
  TFontInfo m_DefaultFontInfo;
  std::map<CDuiString, std::unique_ptr<TImageInfo>> m_mImageHash;
};

}  // namespace DuiLib
