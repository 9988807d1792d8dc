// Skinned windows from the packed skin on an X server of the test's own: placed and drawn
// as the framework laid them out, their buttons clickable, their captions dragging.
#include "x_session.h"

#include <UIlib.h>
#include <platform/gtk_display.h>

#include <gtest/gtest.h>

using namespace DuiLib;
using namespace korvane::platform;
using namespace korvane::platform::testing;

namespace {

class ScreenWindow : public WindowImplBase {
 public:
  explicit ScreenWindow(CDuiString skin) : skin_(std::move(skin)) {}
  std::vector<CDuiString> clicks;

 protected:
  LPCTSTR GetWindowClassName() const override { return _T("Korvane_SkinScreenWnd"); }
  CDuiString GetSkinFile() override { return skin_; }
  void OnClick(TNotifyUI& msg) override { clicks.push_back(msg.pSender->GetName()); }
  CControlUI* CreateControl(LPCTSTR tag) override {
    if (lstrcmpiW(tag, _T("Wnd")) == 0) return new CContainerUI;
    if (lstrcmpiW(tag, _T("CefBrowser")) == 0) return new CControlUI;
    return nullptr;
  }

 private:
  CDuiString skin_;
};

class SkinOnScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(server.Start());
    std::string error;
    display = GtkDisplay::Start(&error).release();
    ASSERT_NE(display, nullptr) << error;
    SetDisplay(display);
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourceType(UILIB_ZIPRESOURCE);
    HRSRC res = FindResourceExW(nullptr, _T("ZIPRES"), _T("IDR_ZIPRES"), 2052);
    ASSERT_TRUE(CPaintManagerUI::SetResourceZip(LockResource(LoadResource(nullptr, res)), SizeofResource(nullptr, res),
                                                _T("QPWOEIRUTYZMX")));
  }
  static void TearDownTestSuite() {
    SetDisplay(nullptr);
    delete display;
    server.Stop();
  }
  void TearDown() override {
    if (window && IsWindow(window->GetHWND())) DestroyWindow(window->GetHWND());
    PumpUntil([] { return false; }, 50);
    delete window;
  }
  std::string Open(LPCTSTR skin, DWORD style) {
    window = new ScreenWindow(skin);
    window->Create(nullptr, _T("Korvane"), style, 0, 0, 0, 0, 0);
    window->CenterWindow();
    ShowWindow(window->GetHWND(), SW_SHOW);
    std::string id;
    PumpUntil([&] { return !(id = FindXWindow("Korvane_SkinScreenWnd")).empty() && Geometry(id).viewable; });
    return id;
  }
  // Clicks at a client point of the window.
  void ClickAt(int x, int y) {
    RECT r{};
    GetWindowRect(window->GetHWND(), &r);
    RunProgram({"xdotool", "mousemove", "--sync", std::to_string(r.left + x), std::to_string(r.top + y), "click", "1"});
  }

  static XServer server;
  static GtkDisplay* display;
  ScreenWindow* window = nullptr;
};

XServer SkinOnScreenTest::server;
GtkDisplay* SkinOnScreenTest::display = nullptr;

TEST_F(SkinOnScreenTest, MainWindowShowsAsLaidOutAndItsButtonsAndCaptionWork) {
  std::string id = Open(_T("main.xml"), WS_OVERLAPPEDWINDOW);
  ASSERT_FALSE(id.empty());
  RECT r{};
  GetWindowRect(window->GetHWND(), &r);
  XGeometry g = Geometry(id);
  EXPECT_EQ(g.x, r.left);
  EXPECT_EQ(g.y, r.top);
  EXPECT_EQ(g.width, 800);
  EXPECT_EQ(g.height, 572);

  // The screen holds what the framework painted.
  auto painted = display->Surface(window->GetHWND());
  ASSERT_TRUE(painted);
  int w = 0, h = 0;
  std::vector<uint32_t> shot;
  ASSERT_TRUE(PumpUntil([&] {
    shot = Screenshot(id, &w, &h);
    return shot.size() == 800u * 572u && shot[400] == (painted->pixels[400] & 0xFFFFFF);
  }));
  size_t differing = 0;
  for (size_t i = 0; i < shot.size(); ++i) differing += shot[i] != (painted->pixels[i] & 0xFFFFFF);
  EXPECT_EQ(differing, 0u);

  ClickAt(650, 12);  // "menubtn"
  EXPECT_TRUE(PumpUntil([&] { return !window->clicks.empty(); }));
  EXPECT_EQ(window->clicks, (std::vector<CDuiString>{_T("menubtn")}));

  // The 27-pixel caption drags the window.
  std::string x0 = std::to_string(r.left + 300), y0 = std::to_string(r.top + 12);
  RunProgram({"xdotool", "mousemove", "--sync", x0, y0, "mousedown", "1"});
  PumpUntil([] { return false; }, 200);
  RunProgram({"xdotool", "mousemove", "--sync", std::to_string(r.left + 250), std::to_string(r.top - 20)});
  RunProgram({"xdotool", "mousemove", "--sync", std::to_string(r.left + 200), std::to_string(r.top - 38)});
  RunProgram({"xdotool", "mouseup", "1"});
  RECT moved{};
  EXPECT_TRUE(PumpUntil([&] {
    GetWindowRect(window->GetHWND(), &moved);
    return moved.left == r.left - 100 && moved.top == r.top - 50;
  })) << moved.left << "," << moved.top;
}

TEST_F(SkinOnScreenTest, LoginWindowIsShapedByItsBackdropAndStillClickable) {
  std::string id = Open(_T("login.xml"), WS_POPUP);
  ASSERT_FALSE(id.empty());
  auto painted = display->Surface(window->GetHWND());
  ASSERT_TRUE(painted);
  ASSERT_EQ(painted->width, 1200);
  EXPECT_EQ(painted->pixels[5 * 1200 + 5] >> 24, 0u);  // outside the backdrop
  ClickAt(1050, 215);  // "frame_closebtn", inside the shape
  EXPECT_TRUE(PumpUntil([&] { return !window->clicks.empty(); }));
  EXPECT_EQ(window->clicks, (std::vector<CDuiString>{_T("frame_closebtn")}));
}

}  // namespace
