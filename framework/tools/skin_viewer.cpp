// Opens a layout of the packed skin in a window and writes what the window shows to a PNG,
// or, with --screen, shows it on the X display until it is closed.
// usage: korvane-skinview <layout.xml> [output.png] [--maximized] [--screen]
#include <UIlib.h>
#include <platform/gtk_display.h>
#include <platform/headless_display.h>

#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using namespace DuiLib;

namespace {

class ViewerWindow : public WindowImplBase {
 public:
  explicit ViewerWindow(CDuiString skin) : skin_(std::move(skin)) {}

 protected:
  LPCTSTR GetWindowClassName() const override { return _T("Korvane_SkinViewer"); }
  CDuiString GetSkinFile() override { return skin_; }
  // The usual title-bar buttons work, so the window can be tried out on screen.
  void OnClick(TNotifyUI& msg) override {
    CDuiString name = msg.pSender->GetName();
    if (name == _T("closebtn") || name == _T("frame_closebtn") || name == _T("cancel_btn")) Close();
    if (name == _T("minbtn") || name == _T("frame_minbtn")) SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (name == _T("maxbtn")) SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    if (name == _T("restorebtn")) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  }
  void OnFinalMessage(HWND hwnd) override {
    WindowImplBase::OnFinalMessage(hwnd);
    PostQuitMessage(0);
  }
  // The client's own tags show as plain boxes: their contents belong to the client.
  CControlUI* CreateControl(LPCTSTR tag) override {
    if (lstrcmpiW(tag, _T("Wnd")) == 0) return new CContainerUI;
    if (lstrcmpiW(tag, _T("CefBrowser")) == 0) return new CControlUI;
    return nullptr;
  }

 private:
  CDuiString skin_;
};

std::u16string Widen(const char* s) {
  std::u16string out;
  int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, s, -1, out.data(), n);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <layout.xml> [output.png] [--maximized] [--screen]\n", argv[0]);
    return 2;
  }
  std::string out = argc > 2 && argv[2][0] != '-' ? argv[2] : "skin-view.png";
  bool maximized = false, screen = false;
  for (int i = 2; i < argc; ++i) {
    maximized = maximized || std::strcmp(argv[i], "--maximized") == 0;
    screen = screen || std::strcmp(argv[i], "--screen") == 0;
  }
  std::unique_ptr<korvane::platform::GtkDisplay> gtk;
  if (screen) {
    std::string error;
    gtk = korvane::platform::GtkDisplay::Start(&error);
    if (!gtk) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    korvane::platform::SetDisplay(gtk.get());
  }

  CPaintManagerUI::SetInstance(instance);
  CPaintManagerUI::SetResourceType(UILIB_ZIPRESOURCE);
  HRSRC res = FindResourceExW(instance, _T("ZIPRES"), _T("IDR_ZIPRES"), 2052);
  if (!res || !CPaintManagerUI::SetResourceZip(LockResource(LoadResource(instance, res)),
                                               SizeofResource(instance, res), _T("QPWOEIRUTYZMX"))) {
    std::fprintf(stderr, "the skin package is missing\n");
    return 1;
  }
  auto* window = new ViewerWindow(Widen(argv[1]).c_str());
  window->Create(nullptr, _T("Korvane"), WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 600);
  window->CenterWindow();
  ShowWindow(window->GetHWND(), maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  if (screen) {
    CPaintManagerUI::MessageLoop();
    korvane::platform::SetDisplay(nullptr);
    return 0;
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  auto surface = korvane::platform::HeadlessDisplay::Default().Surface(window->GetHWND());
  int rc = 1;
  if (surface && surface->width > 0) {
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(surface->pixels.data())), CAIRO_FORMAT_ARGB32,
        surface->width, surface->height, surface->width * 4);
    rc = cairo_surface_write_to_png(image, out.c_str()) == CAIRO_STATUS_SUCCESS ? 0 : 1;
    cairo_surface_destroy(image);
    std::printf("%s: %dx%d written to %s\n", argv[1], surface->width, surface->height, out.c_str());
  }
  DestroyWindow(window->GetHWND());
  return rc;
}
