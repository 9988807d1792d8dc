#include "duilib/UIManager.h"

#include "Parse.h"
#include "Render.h"
#include "ZipPackage.h"
#include "duilib/UIControl.h"
#include "duilib/UIResourceManager.h"

#include <platform/surface.h>

#include <pango/pangocairo.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace DuiLib {

namespace {

constexpr UINT_PTR kTooltipTimer = 0xD01;
constexpr UINT kTooltipDelayMs = 400;
const TCHAR kTooltipClass[] = _T("DuiToolTip");

struct ResourceState {
  HINSTANCE instance = nullptr;
  CDuiString resourcePath;
  int resourceType = UILIB_FILE;
  detail::ZipPackage zip;
};

ResourceState& Resources() {
  static ResourceState* state = new ResourceState();  // used by windows until the process ends
  return *state;
}

// A small window showing a control's tool tip near the pointer.
struct TooltipData {
  CPaintManagerUI* manager;
  CDuiString text;
};

LRESULT CALLBACK TooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* data = reinterpret_cast<TooltipData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_PAINT && data) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    korvane::platform::SurfaceView view;
    if (korvane::platform::GetDCSurface(dc, &view)) {
      cairo_surface_t* surface = cairo_image_surface_create_for_data(
          reinterpret_cast<unsigned char*>(view.pixels), CAIRO_FORMAT_ARGB32, view.width, view.height, view.stride);
      cairo_t* cr = cairo_create(surface);
      {
        render::ScopedContext bound(dc, cr);
        RECT rc{0, 0, view.width, view.height};
        render::FillRect(dc, rc, 0xFFFFFFE1u);
        render::DrawBorder(dc, rc, 1, 0xFF767676u);
        RECT text{4, 2, view.width - 4, view.height - 2};
        render::DrawText(dc, data->manager, text, data->text, 0xFF000000u, -1, DT_SINGLELINE | DT_VCENTER);
      }
      cairo_destroy(cr);
      cairo_surface_flush(surface);
      cairo_surface_destroy(surface);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (msg == WM_NCDESTROY) delete data;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

SIZE MeasureText(CPaintManagerUI* manager, LPCTSTR text) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = render::FontFor(manager->GetDefaultFontInfo());
  pango_layout_set_font_description(layout, desc);
  std::string utf8 = detail::ToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), -1);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  pango_font_description_free(desc);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return SIZE{w, h};
}

template <typename T>
bool AddOnce(std::vector<T*>& list, T* item) {
  if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

template <typename T>
bool RemoveOnce(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

// Offers the message to each filter in turn (a copy: a filter may remove itself); true when
// one handled it.
bool RunFilters(const std::vector<IMessageFilterUI*>& list, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  std::vector<IMessageFilterUI*> filters = list;
  for (IMessageFilterUI* f : filters) {
    bool handled = false;
    LRESULT r = f->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      lRes = r;
      return true;
    }
  }
  return false;
}

}  // namespace

// ---- Resources -------------------------------------------------------------------------

void CPaintManagerUI::SetInstance(HINSTANCE instance) { Resources().instance = instance; }
HINSTANCE CPaintManagerUI::GetInstance() { return Resources().instance; }

CDuiString CPaintManagerUI::GetInstancePath() {
  WCHAR path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(Resources().instance, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CDuiString();
  CDuiString full(path);
  int slash = std::max(full.ReverseFind(u'\\'), full.ReverseFind(u'/'));
  return full.Left(slash + 1);
}

void CPaintManagerUI::SetResourcePath(LPCTSTR path) { Resources().resourcePath = path; }
const CDuiString& CPaintManagerUI::GetResourcePath() { return Resources().resourcePath; }
void CPaintManagerUI::SetResourceType(int type) { Resources().resourceType = type; }
int CPaintManagerUI::GetResourceType() { return Resources().resourceType; }
HINSTANCE CPaintManagerUI::GetResourceDll() { return Resources().instance; }

bool CPaintManagerUI::SetResourceZip(LPVOID data, unsigned int size, LPCTSTR password) {
  return Resources().zip.Open(data, size, detail::ToUtf8(password));
}

bool CPaintManagerUI::IsResourceZipOpen() { return Resources().zip.IsOpen(); }

bool CPaintManagerUI::LoadResourceData(LPCTSTR name, std::string& data) {
  if (!name || IS_INTRESOURCE(name) || !*name) return false;
  ResourceState& r = Resources();
  std::string entry = detail::ToUtf8(name);
  if (r.zip.IsOpen()) return r.zip.Read(entry, data);
  if (r.resourceType != UILIB_FILE) return false;
  std::string path = detail::ToUtf8(r.resourcePath) + entry;
  std::replace(path.begin(), path.end(), '\\', '/');
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  data = s.str();
  return true;
}

void CPaintManagerUI::ReleaseResourceZip() { Resources().zip.Close(); }

void CPaintManagerUI::MessageLoop() {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

bool CPaintManagerUI::TranslateMessage(const LPMSG) { return false; }

// ---- One window --------------------------------------------------------------------------

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI() {
  HideToolTip();
  delete m_pRoot;
  m_pRoot = nullptr;
}

void CPaintManagerUI::Init(HWND hwnd) { m_hWndPaint = hwnd; }

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (!root) return false;
  delete m_pRoot;
  m_mNameHash.clear();
  m_pEventHover = m_pEventClick = m_pFocus = nullptr;
  m_pRoot = root;
  m_bUpdateNeeded = true;
  InitControls(root, nullptr);
  if (m_hWndPaint) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
  return true;
}

bool CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
  if (!control) return false;
  control->SetManager(this, parent ? parent : control->GetParent(), true);
  control->FindControl(FindControlFromNameHash, this, UIFIND_ALL);
  return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
  if (control == m_pEventHover) m_pEventHover = nullptr;
  if (control == m_pEventClick) m_pEventClick = nullptr;
  if (control == m_pFocus) m_pFocus = nullptr;
  for (auto it = m_mNameHash.begin(); it != m_mNameHash.end();) {
    if (it->second == control) it = m_mNameHash.erase(it);
    else ++it;
  }
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromNameHash(CControlUI* control, LPVOID data) {
  auto* manager = static_cast<CPaintManagerUI*>(data);
  CDuiString name = control->GetName();
  if (!name.IsEmpty() && !manager->m_mNameHash.count(name)) manager->m_mNameHash[name] = control;
  return nullptr;  // visit them all
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromPoint(CControlUI* control, LPVOID) { return control; }

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
  if (!m_pRoot) return nullptr;
  return m_pRoot->FindControl(FindControlFromPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR name) const {
  if (!name) return nullptr;
  auto it = m_mNameHash.find(CDuiString(name));
  return it == m_mNameHash.end() ? nullptr : it->second;
}

SIZE CPaintManagerUI::GetInitSize() const { return m_szInitWindowSize; }

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  m_szInitWindowSize = SIZE{cx, cy};
  if (!m_pRoot && m_hWndPaint)
    ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CPaintManagerUI::SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{std::max(cx, 0), std::max(cy, 0)}; }
void CPaintManagerUI::SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{std::max(cx, 0), std::max(cy, 0)}; }
void CPaintManagerUI::SetCaptionRect(RECT& rc) { m_rcCaption = rc; }
void CPaintManagerUI::SetSizeBox(RECT& rc) { m_rcSizeBox = rc; }
void CPaintManagerUI::SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }

void CPaintManagerUI::SetBackgroundTransparent(bool transparent) {
  m_bLayered = transparent;
  if (!m_hWndPaint) return;
  // A layered window takes its shape and translucency from what it paints.
  DWORD ex = static_cast<DWORD>(::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE));
  ex = transparent ? (ex | WS_EX_LAYERED) : (ex & ~static_cast<DWORD>(WS_EX_LAYERED));
  ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, static_cast<LONG>(ex));
}

void CPaintManagerUI::AddFont(int id, LPCTSTR name, int size, bool bold, bool underline, bool italic, bool) {
  TFontInfo info;
  info.sFontName = name ? name : _T("");
  info.iSize = size > 0 ? size : 12;
  info.bBold = bold;
  info.bUnderline = underline;
  info.bItalic = italic;
  m_aFonts[id] = info;
}

void CPaintManagerUI::SetDefaultFont(LPCTSTR name, int size, bool bold, bool underline, bool italic, bool) {
  m_DefaultFontInfo.sFontName = name ? name : _T("");
  m_DefaultFontInfo.iSize = size > 0 ? size : 12;
  m_DefaultFontInfo.bBold = bold;
  m_DefaultFontInfo.bUnderline = underline;
  m_DefaultFontInfo.bItalic = italic;
}

const TFontInfo& CPaintManagerUI::GetFontInfo(int id) const {
  auto it = m_aFonts.find(id);
  return it == m_aFonts.end() ? m_DefaultFontInfo : it->second;
}

const TFontInfo& CPaintManagerUI::GetDefaultFontInfo() const { return m_DefaultFontInfo; }

const TImageInfo* CPaintManagerUI::GetImage(LPCTSTR name) {
  if (!name || !*name) return nullptr;
  CDuiString key(name);
  auto it = m_mImageHash.find(key);
  if (it != m_mImageHash.end()) return it->second.get();
  LPCTSTR path = name;
  if (CResourceManager* resources = CResourceManager::GetInstance())
    if (LPCTSTR mapped = resources->GetImagePath(name)) path = mapped;
  std::string data;
  std::unique_ptr<TImageInfo> image;
  if (LoadResourceData(path, data)) image = render::DecodePng(data);
  // A missing or broken picture is remembered too, so it is looked for only once.
  const TImageInfo* result = image.get();
  m_mImageHash[key] = std::move(image);
  return result;
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) { return AddOnce(m_aNotifiers, notifier); }

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) { return RemoveOnce(m_aNotifiers, notifier); }

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool) {
  msg.ptMouse = m_ptLastMousePos;
  msg.dwTimestamp = ::GetTickCount();
  // A copy: a notifier may add or remove notifiers, or destroy the window.
  std::vector<INotifyUI*> notifiers = m_aNotifiers;
  for (INotifyUI* n : notifiers) n->Notify(msg);
}

void CPaintManagerUI::SendNotify(CControlUI* control, LPCTSTR type, WPARAM wParam, LPARAM lParam, bool async) {
  TNotifyUI msg;
  msg.pSender = control;
  msg.sType = type;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, async);
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) { return AddOnce(m_aPreMessageFilters, filter); }

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) { return RemoveOnce(m_aPreMessageFilters, filter); }

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) { return AddOnce(m_aMessageFilters, filter); }

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) { return RemoveOnce(m_aMessageFilters, filter); }

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  return RunFilters(m_aPreMessageFilters, uMsg, wParam, lParam, lRes);
}

void CPaintManagerUI::NeedUpdate() { m_bUpdateNeeded = true; }

void CPaintManagerUI::Invalidate() {
  if (m_hWndPaint) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::Invalidate(RECT& rc) {
  if (m_hWndPaint) ::InvalidateRect(m_hWndPaint, &rc, FALSE);
}

void CPaintManagerUI::UpdateLayout() {
  if (!m_pRoot || !m_hWndPaint) return;
  RECT client{};
  ::GetClientRect(m_hWndPaint, &client);
  if (IsRectEmpty(&client)) return;  // minimised: keep the last layout
  if (!m_bUpdateNeeded && EqualRect(&client, &m_pRoot->GetPos())) return;
  m_bUpdateNeeded = false;
  m_pRoot->SetPos(client, true);
}

void CPaintManagerUI::Paint() {
  UpdateLayout();
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWndPaint, &ps);
  korvane::platform::SurfaceView view;
  if (dc && korvane::platform::GetDCSurface(dc, &view) && view.width > 0 && view.height > 0) {
    RECT paint = ps.rcPaint;
    if (IsRectEmpty(&paint)) paint = RECT{0, 0, view.width, view.height};
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(view.pixels), CAIRO_FORMAT_ARGB32, view.width, view.height, view.stride);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    if (m_pRoot) {
      render::ScopedContext bound(dc, cr);
      m_pRoot->DoPaint(dc, paint);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
  }
  ::EndPaint(m_hWndPaint, &ps);
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == m_pFocus) return;
  if (m_pFocus) {
    TEventUI event;
    event.Type = UIEVENT_KILLFOCUS;
    event.pSender = control;
    event.dwTimestamp = ::GetTickCount();
    m_pFocus->Event(event);
    SendNotify(m_pFocus, DUI_MSGTYPE_KILLFOCUS);
    m_pFocus = nullptr;
  }
  if (control && control->GetManager() == this && control->IsVisible() && control->IsEnabled()) {
    m_pFocus = control;
    TEventUI event;
    event.Type = UIEVENT_SETFOCUS;
    event.pSender = control;
    event.dwTimestamp = ::GetTickCount();
    m_pFocus->Event(event);
    SendNotify(m_pFocus, DUI_MSGTYPE_SETFOCUS);
  }
}

void CPaintManagerUI::SetCapture() {
  ::SetCapture(m_hWndPaint);
  m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
  m_bMouseCapture = false;  // first: the WM_CAPTURECHANGED that follows is ours
  ::ReleaseCapture();
}

void CPaintManagerUI::ShowToolTip() {
  if (!m_pEventHover) return;
  CDuiString text = m_pEventHover->GetToolTip();
  if (text.IsEmpty()) return;
  HideToolTip();
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TooltipProc;
    wc.lpszClassName = kTooltipClass;
    return ::RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  SIZE size = MeasureText(this, text);
  POINT pt = m_ptLastMousePos;
  ::ClientToScreen(m_hWndPaint, &pt);
  m_hwndTooltip = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTooltipClass, text, WS_POPUP, pt.x,
                                    pt.y + 20, size.cx + 10, size.cy + 6, m_hWndPaint, nullptr, nullptr,
                                    new TooltipData{this, text});
  if (m_hwndTooltip) ::ShowWindow(m_hwndTooltip, SW_SHOWNOACTIVATE);
}

void CPaintManagerUI::HideToolTip() {
  if (m_hWndPaint) ::KillTimer(m_hWndPaint, kTooltipTimer);
  if (m_hwndTooltip && ::IsWindow(m_hwndTooltip)) ::DestroyWindow(m_hwndTooltip);
  m_hwndTooltip = nullptr;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  if (!m_hWndPaint) return false;
  if (RunFilters(m_aMessageFilters, uMsg, wParam, lParam, lRes)) return true;
  auto mouseEvent = [&](CControlUI* target, int type, POINT pt) {
    if (!target) return;
    TEventUI event;
    event.Type = type;
    event.pSender = target;
    event.ptMouse = pt;
    event.wParam = wParam;
    event.lParam = lParam;
    event.wKeyState = static_cast<WORD>(wParam);
    event.dwTimestamp = ::GetTickCount();
    target->Event(event);
  };
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (uMsg) {
    case WM_PAINT:
      Paint();
      lRes = 0;
      return true;
    case WM_SIZE:
      if (m_pRoot) m_pRoot->NeedUpdate();
      NeedUpdate();
      return false;
    case WM_TIMER:
      if (wParam == kTooltipTimer) {
        ::KillTimer(m_hWndPaint, kTooltipTimer);
        ShowToolTip();
        lRes = 0;
        return true;
      }
      return false;
    case WM_MOUSEMOVE: {
      m_ptLastMousePos = pt;
      CControlUI* hover = FindControl(pt);
      if (hover && hover->GetManager() != this) hover = nullptr;
      if (hover != m_pEventHover) {
        HideToolTip();
        CControlUI* old = m_pEventHover;
        m_pEventHover = hover;
        mouseEvent(old, UIEVENT_MOUSELEAVE, pt);
        mouseEvent(hover, UIEVENT_MOUSEENTER, pt);
        if (hover && !hover->GetToolTip().IsEmpty()) ::SetTimer(m_hWndPaint, kTooltipTimer, kTooltipDelayMs, nullptr);
      }
      mouseEvent(m_pEventClick ? m_pEventClick : hover, UIEVENT_MOUSEMOVE, pt);
      return false;
    }
    case WM_MOUSELEAVE:
      HideToolTip();
      if (m_pEventHover) {
        CControlUI* old = m_pEventHover;
        m_pEventHover = nullptr;
        mouseEvent(old, UIEVENT_MOUSELEAVE, m_ptLastMousePos);
      }
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      m_ptLastMousePos = pt;
      HideToolTip();
      CControlUI* control = FindControl(pt);
      if (!control || control->GetManager() != this) return false;
      m_pEventClick = control;
      SetCapture();
      mouseEvent(control, uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK, pt);
      return false;
    }
    case WM_LBUTTONUP: {
      m_ptLastMousePos = pt;
      if (!m_pEventClick) return false;
      ReleaseCapture();
      CControlUI* control = m_pEventClick;
      m_pEventClick = nullptr;
      mouseEvent(control, UIEVENT_BUTTONUP, pt);
      return false;
    }
    case WM_CAPTURECHANGED:
      if (m_bMouseCapture && reinterpret_cast<HWND>(lParam) != m_hWndPaint) {
        m_bMouseCapture = false;
        if (m_pEventClick) {
          // The press was lost (another window took the mouse): no click comes of it.
          CControlUI* control = m_pEventClick;
          m_pEventClick = nullptr;
          POINT outside{-1, -1};
          mouseEvent(control, UIEVENT_BUTTONUP, outside);
        }
      }
      return false;
    case WM_DESTROY:
      HideToolTip();
      return false;
    default:
      return false;
  }
}

}  // namespace DuiLib
