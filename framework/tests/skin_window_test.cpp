// The framework on the packed skin: the package, the real layouts' geometry, hit testing,
// size limits, click routing, state painting, and what bad input gets.
#include <UIlib.h>
#include <platform/headless_display.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace DuiLib;
using korvane::platform::HeadlessDisplay;
using korvane::platform::ScreenInfo;

namespace {

const TCHAR kPassword[] = _T("QPWOEIRUTYZMX");

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A window over any layout; "Wnd" and "CefBrowser" get plain stand-ins, as a client's own
// controls would take their places.
class SkinWindow : public WindowImplBase {
 public:
  explicit SkinWindow(CDuiString skin) : skin_(std::move(skin)) {}
  std::vector<CDuiString> clicks;
  CPaintManagerUI& manager() { return m_PaintManager; }

 protected:
  LPCTSTR GetWindowClassName() const override { return _T("Korvane_SkinTestWnd"); }
  CDuiString GetSkinFile() override { return skin_; }
  void OnClick(TNotifyUI& msg) override { clicks.push_back(msg.pSender->GetName()); }
  void OnFinalMessage(HWND hwnd) override { WindowImplBase::OnFinalMessage(hwnd); }
  CControlUI* CreateControl(LPCTSTR tag) override {
    if (lstrcmpiW(tag, _T("Wnd")) == 0) return new CContainerUI;
    if (lstrcmpiW(tag, _T("CefBrowser")) == 0) return new CControlUI;
    return nullptr;
  }

 private:
  CDuiString skin_;
};

class SkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourceType(UILIB_ZIPRESOURCE);
    HRSRC res = FindResourceExW(nullptr, _T("ZIPRES"), _T("IDR_ZIPRES"), 2052);
    ASSERT_NE(res, nullptr);
    zipData = LockResource(LoadResource(nullptr, res));
    zipSize = SizeofResource(nullptr, res);
  }
  void SetUp() override {
    HeadlessDisplay::Default().Reset();
    HeadlessDisplay::Default().SetScreen(ScreenInfo{});
    ASSERT_TRUE(CPaintManagerUI::SetResourceZip(zipData, zipSize, kPassword));
  }
  void TearDown() override {
    if (window && IsWindow(window->GetHWND())) DestroyWindow(window->GetHWND());
    Pump();
    delete window;
    window = nullptr;
  }
  // Creates the window as the client does: asked for another size, the layout's applies.
  SkinWindow* Open(LPCTSTR skin, DWORD style) {
    window = new SkinWindow(skin);
    window->Create(nullptr, _T("Korvane"), style, 0, 0, 0, 1622, 901);
    window->CenterWindow();
    ShowWindow(window->GetHWND(), SW_SHOW);
    Pump();
    return window;
  }
  RECT Pos(LPCTSTR name) {
    CControlUI* c = window->manager().FindControl(name);
    EXPECT_NE(c, nullptr) << "no control " << CDuiString(name).GetLength();
    return c ? c->GetPos() : RECT{};
  }
  LRESULT Hit(int x, int y) {
    POINT pt{x, y};
    ClientToScreen(window->GetHWND(), &pt);
    return SendMessageW(window->GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
  }
  static LPVOID zipData;
  static DWORD zipSize;
  SkinWindow* window = nullptr;
};

LPVOID SkinTest::zipData = nullptr;
DWORD SkinTest::zipSize = 0;

#define EXPECT_RECT(r, l, t, rr, b)                                                                 \
  do {                                                                                              \
    RECT got_ = (r);                                                                                \
    EXPECT_TRUE(got_.left == (l) && got_.top == (t) && got_.right == (rr) && got_.bottom == (b))    \
        << got_.left << "," << got_.top << "," << got_.right << "," << got_.bottom;                 \
  } while (0)

TEST_F(SkinTest, PackageHoldsTheLayoutsAndPicturesAtTheirSizes) {
  std::map<std::string, std::pair<int, int>> pictures = {
      {"imgs/main1.png", {1200, 800}}, {"imgs/main.png", {1200, 800}},     {"imgs/6_n.png", {30, 30}},
      {"imgs/6_d.png", {30, 30}},      {"imgs/7_n.png", {30, 30}},         {"imgs/7_d.png", {30, 30}},
      {"imgs/bg.png", {70, 35}},       {"imgs/logo.png", {16, 16}},        {"imgs/btn.png", {45, 63}},
      {"imgs/hidebtn.png", {28, 81}},  {"imgs/minbtn.png", {29, 81}},      {"imgs/maxbtn.png", {28, 81}},
      {"imgs/restorebtn.png", {28, 81}}, {"imgs/closebtn.png", {33, 81}},  {"imgs/mutebtn.png", {28, 81}},
      {"imgs/voicebtn.png", {28, 81}}, {"imgs/sep.png", {2, 14}},          {"imgs/style.png", {2, 14}},
      {"imgs/1_n.png", {174, 44}},     {"imgs/4_d.png", {174, 44}},
  };
  CPaintManagerUI manager;
  for (auto& [name, size] : pictures) {
    std::u16string wide(name.begin(), name.end());
    const TImageInfo* image = manager.GetImage(wide.c_str());
    ASSERT_NE(image, nullptr) << name;
  }
  std::string data;
  for (const char16_t* entry : {u"res.xml", u"login.xml", u"main.xml", u"browser.xml", u"msg.xml", u"imgs/cg22.txt"})
    EXPECT_TRUE(CPaintManagerUI::LoadResourceData(entry, data)) << std::string(entry, entry + 3);
  EXPECT_TRUE(CPaintManagerUI::LoadResourceData(u"imgs\\bg.png", data));  // either separator
  EXPECT_FALSE(CPaintManagerUI::LoadResourceData(u"imgs/none.png", data));
  EXPECT_EQ(manager.GetImage(u"imgs/none.png"), nullptr);
  // A picture that does not decode is no picture.
  EXPECT_EQ(manager.GetImage(u"imgs/cg22.txt"), nullptr);
  // The same package opens without the password: its entries are not encrypted.
  ASSERT_TRUE(CPaintManagerUI::SetResourceZip(zipData, zipSize, nullptr));
  EXPECT_TRUE(CPaintManagerUI::LoadResourceData(u"main.xml", data));
  EXPECT_TRUE(CResourceManager::GetInstance()->LoadResource(_T("res.xml"), nullptr));
  CResourceManager::GetInstance()->Release();
  // Not a zip at all.
  static const char junk[] = "not a zip archive";
  EXPECT_FALSE(CPaintManagerUI::SetResourceZip(const_cast<char*>(junk), sizeof(junk), kPassword));
  EXPECT_FALSE(CPaintManagerUI::LoadResourceData(u"main.xml", data));
}

TEST_F(SkinTest, LoginLayoutGeometryAndHitTesting) {
  Open(_T("login.xml"), WS_POPUP);
  RECT r{};
  GetWindowRect(window->GetHWND(), &r);
  EXPECT_RECT(r, 360, 120, 1560, 920);  // 1200 x 800 whatever was asked, centred on 1920 x 1040
  EXPECT_TRUE(GetWindowLongW(window->GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_RECT(Pos(_T("frame_minbtn")), 1010, 205, 1030, 225);
  EXPECT_RECT(Pos(_T("frame_closebtn")), 1040, 205, 1060, 225);
  EXPECT_RECT(Pos(_T("browserwnd")), 440, 246, 1020, 646);
  // The whole background drags the window; the buttons stay buttons.
  EXPECT_EQ(Hit(10, 10), HTCAPTION);
  EXPECT_EQ(Hit(700, 400), HTCAPTION);
  EXPECT_EQ(Hit(1015, 210), HTCLIENT);
  // Shaped by its background: transparent outside the picture's panel, opaque inside.
  auto& d = HeadlessDisplay::Default();
  EXPECT_EQ(d.PixelAt(window->GetHWND(), 5, 5) >> 24, 0u);
  EXPECT_GT(d.PixelAt(window->GetHWND(), 700, 660) >> 24, 0xE0u);
}

TEST_F(SkinTest, MainLayoutGeometryNormalAndMaximised) {
  Open(_T("main.xml"), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
  EXPECT_RECT(Pos(_T("title")), 29, 0, 329, 27);
  EXPECT_RECT(Pos(_T("menubtn")), 632, 3, 677, 24);
  EXPECT_RECT(Pos(_T("hidebtn")), 677, 0, 705, 27);
  EXPECT_RECT(Pos(_T("minbtn")), 705, 0, 733, 27);
  EXPECT_RECT(Pos(_T("maxbtn")), 733, 0, 761, 27);
  EXPECT_RECT(Pos(_T("closebtn")), 761, 0, 800, 27);
  EXPECT_RECT(Pos(_T("browserwnd")), 3, 27, 797, 569);
  EXPECT_FALSE(window->manager().FindControl(_T("restorebtn"))->IsVisible());

  // Hit testing: the sizebox 4,4,6,6 first, then the 27-pixel caption, buttons excepted.
  struct Case {
    int x, y;
    LRESULT hit;
  } cases[] = {{2, 2, HTTOPLEFT},   {400, 2, HTTOP},          {797, 2, HTTOPRIGHT}, {2, 300, HTLEFT},
               {795, 300, HTRIGHT}, {793, 300, HTCLIENT},     {2, 569, HTBOTTOMLEFT}, {400, 568, HTBOTTOM},
               {797, 569, HTBOTTOMRIGHT}, {400, 10, HTCAPTION}, {400, 26, HTCAPTION}, {400, 27, HTCLIENT},
               {690, 10, HTCLIENT}};
  for (const auto& c : cases) EXPECT_EQ(Hit(c.x, c.y), c.hit) << c.x << "," << c.y;

  // It cannot be made smaller than its minimum.
  SetWindowPos(window->GetHWND(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  RECT r{};
  GetWindowRect(window->GetHWND(), &r);
  EXPECT_EQ(r.right - r.left, 800);
  EXPECT_EQ(r.bottom - r.top, 572);

  SendMessageW(window->GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  GetWindowRect(window->GetHWND(), &r);
  EXPECT_RECT(r, 0, 0, 1920, 1040);
  EXPECT_RECT(Pos(_T("browserwnd")), 3, 27, 1917, 1037);
  EXPECT_RECT(Pos(_T("closebtn")), 1881, 0, 1920, 27);
  EXPECT_RECT(Pos(_T("restorebtn")), 1853, 0, 1881, 27);
  EXPECT_FALSE(window->manager().FindControl(_T("maxbtn"))->IsVisible());
  EXPECT_EQ(Hit(2, 2), HTCAPTION);  // no sizing border while maximised
}

TEST_F(SkinTest, MessageLayoutGeometry) {
  Open(_T("msg.xml"), WS_POPUP);
  RECT r{};
  GetWindowRect(window->GetHWND(), &r);
  EXPECT_RECT(r, 760, 423, 1160, 618);  // centred: 520 - 195 / 2
  EXPECT_RECT(Pos(_T("appbar")), 0, 0, 400, 36);
  EXPECT_RECT(Pos(_T("MessageTitle")), 6, -1, 361, 36);  // the bar's inset is "6,-1"
  EXPECT_RECT(Pos(_T("closebtn")), 361, -1, 400, 19);
  EXPECT_RECT(Pos(_T("MessageText")), 20, 47, 380, 125);
  EXPECT_RECT(Pos(_T("confirm_btn")), 190, 145, 265, 175);
  EXPECT_RECT(Pos(_T("cancel_btn")), 285, 145, 360, 175);
  EXPECT_EQ(Hit(100, 20), HTCAPTION);  // the 40-pixel caption, the close button excepted
  EXPECT_EQ(Hit(100, 39), HTCAPTION);
  EXPECT_EQ(Hit(100, 40), HTCLIENT);
  EXPECT_EQ(Hit(380, 10), HTCLIENT);
}

TEST_F(SkinTest, TooltipShowsAfterHoveringAndGoesWithTheMouse) {
  Open(_T("main.xml"), WS_OVERLAPPEDWINDOW);
  HWND hwnd = window->GetHWND();
  auto& d = HeadlessDisplay::Default();
  d.MoveMouse(hwnd, POINT{650, 12});  // menubtn, tooltip "设置"
  Pump();
  EXPECT_EQ(FindWindowW(_T("DuiToolTip"), nullptr), nullptr);  // not at once
  HWND tip = nullptr;
  for (DWORD start = GetTickCount(); !tip && GetTickCount() - start < 5000; Sleep(10)) {
    Pump();
    tip = FindWindowW(_T("DuiToolTip"), nullptr);
  }
  ASSERT_NE(tip, nullptr);
  TCHAR text[32] = {};
  GetWindowTextW(tip, text, 32);
  EXPECT_EQ(CDuiString(text), _T("设置"));
  EXPECT_TRUE(IsWindowVisible(tip));
  d.MoveMouse(hwnd, POINT{400, 300});
  Pump();
  EXPECT_FALSE(IsWindow(tip) && IsWindowVisible(tip));
}

TEST_F(SkinTest, ClickNeedsPressAndReleaseOnTheSameEnabledButton) {
  Open(_T("main.xml"), WS_OVERLAPPEDWINDOW);
  HWND hwnd = window->GetHWND();
  auto& d = HeadlessDisplay::Default();
  d.Click(hwnd, POINT{650, 12});  // menubtn
  Pump();
  d.PressButton(hwnd, POINT{690, 12});  // on hidebtn, released on minbtn
  d.ReleaseButton(hwnd, POINT{715, 12});
  Pump();
  window->manager().FindControl(_T("closebtn"))->SetEnabled(false);
  d.Click(hwnd, POINT{780, 12});
  Pump();
  EXPECT_EQ(window->clicks, (std::vector<CDuiString>{_T("menubtn")}));
}

TEST_F(SkinTest, HotAndPushedButtonsPaintTheirOwnPictures) {
  Open(_T("main.xml"), WS_OVERLAPPEDWINDOW);
  HWND hwnd = window->GetHWND();
  auto& d = HeadlessDisplay::Default();
  uint32_t normal = d.PixelAt(hwnd, 782, 12);
  d.MoveMouse(hwnd, POINT{782, 12});
  Pump();
  uint32_t hot = d.PixelAt(hwnd, 782, 12);
  d.PressButton(hwnd, POINT{782, 12});
  Pump();
  uint32_t pushed = d.PixelAt(hwnd, 782, 12);
  EXPECT_NE(normal, hot);
  EXPECT_NE(hot, pushed);
  EXPECT_NE(normal, pushed);
  auto* close = static_cast<CButtonUI*>(window->manager().FindControl(_T("closebtn")));
  EXPECT_TRUE(close->GetButtonState() & UISTATE_PUSHED);
}

TEST_F(SkinTest, BadLayoutsStillGiveAWindow) {
  struct Case {
    const char16_t* xml;
    bool hasRoot;
  } cases[] = {
      {u"<Window><VerticalLayout", false},                                      // does not parse
      {u"missing.xml", false},                                                  // no such entry
      {u"<Window size='x,y' mininfo='-5'><Bogus><Label name='lost'/></Bogus>"  // unknown tag, bad numbers
       u"<Label name='kept' width='abc' bkimage='imgs/none.png' nonsense='1'/></Window>",
       true},
  };
  for (const auto& c : cases) {
    SkinWindow* w = Open(c.xml, WS_POPUP);
    ASSERT_TRUE(IsWindow(w->GetHWND()));
    EXPECT_EQ(w->manager().GetRoot() != nullptr, c.hasRoot);
    if (c.hasRoot) {
      EXPECT_EQ(w->manager().FindControl(_T("lost")), nullptr);
      EXPECT_NE(w->manager().FindControl(_T("kept")), nullptr);
    }
    TearDown();
  }
}

}  // namespace
