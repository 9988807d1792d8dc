// Process services: temporary folder, code pages, strings, command line, resources, COM.
#include "test_support.h"

#include <objbase.h>
#include <ole2.h>
#include <platform/process.h>
#include <platform/surface.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace korvane::platform::testing {
namespace {

std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out.push_back(static_cast<char>(c));
  return out;
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(TempPathTest, FollowsTheBufferContract) {
  ScopedEnv env("TMPDIR", nullptr);
  DWORD needed = GetTempPathW(0, nullptr);
  ASSERT_GT(needed, 1u);
  std::u16string buf(needed, u'#');
  EXPECT_EQ(GetTempPathW(needed - 1, buf.data()), needed);  // too small: the size with terminator
  EXPECT_EQ(GetTempPathW(needed, buf.data()), needed - 1);  // fits: the length without it
  EXPECT_EQ(buf[needed - 1], u'\0');
  EXPECT_EQ(buf[needed - 2], u'/');
}

TEST(TempPathTest, IsAPrivateFolderInsteadOfASharedOne) {
  ScopedEnv env("TMPDIR", nullptr);
  WCHAR buf[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, buf), 0u);
  std::string path = Narrow(buf);
  EXPECT_EQ(path, "/tmp/korvane-" + std::to_string(getuid()) + "/");
  struct stat st {};
  ASSERT_EQ(lstat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 077, 0u);
  EXPECT_EQ(st.st_uid, getuid());
}

TEST(TempPathTest, UsesTmpdirWhenItIsPrivateAndAFolderInsideWhenItIsShared) {
  char tmpl[] = "/tmp/korvane-tmpdir-XXXXXX";
  ASSERT_TRUE(mkdtemp(tmpl));
  std::string dir = tmpl;
  WCHAR buf[MAX_PATH];
  {
    ScopedEnv env("TMPDIR", dir.c_str());
    ASSERT_GT(GetTempPathW(MAX_PATH, buf), 0u);
    EXPECT_EQ(Narrow(buf), dir + "/");
    chmod(dir.c_str(), 0777);
    ASSERT_GT(GetTempPathW(MAX_PATH, buf), 0u);
    EXPECT_EQ(Narrow(buf), dir + "/korvane-" + std::to_string(getuid()) + "/");
  }
  // Someone else's folder, or a link, in the per-user place is refused.
  {
    ScopedEnv env("TMPDIR", dir.c_str());
    std::string own = dir + "/korvane-" + std::to_string(getuid());
    std::filesystem::remove_all(own);
    std::filesystem::create_directory_symlink("/", own);
    SetLastError(0);
    EXPECT_EQ(GetTempPathW(MAX_PATH, buf), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  }
  std::filesystem::remove_all(dir);
}

TEST(CodePageTest, MultiByteToWideCharContract) {
  const char text[] = "Korvane-登录";
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 11);  // terminator counted
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 3, nullptr, 0), 3);   // no terminator
  WCHAR buf[16];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, buf, 16), 11);
  EXPECT_EQ(std::u16string(buf), u"Korvane-登录");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, buf, 10), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, buf, 16), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 0, buf, 16), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, text, -1, buf, 16), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));

  // Malformed input becomes U+FFFD, or fails when asked to.
  const char bad[] = "a\xC3(\xF0\x9F\x98\x80";
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, bad, -1, buf, 16), 6);
  EXPECT_EQ(std::u16string(buf), u"a\uFFFD(\U0001F600");
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bad, -1, buf, 16), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePageTest, WideCharToMultiByteContract) {
  const WCHAR text[] = u"此操作";
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr), 10);
  char buf[16];
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, buf, 16, nullptr, nullptr), 10);
  EXPECT_STREQ(buf, "此操作");
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, buf, 9, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  BOOL usedDefault = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, -1, buf, 16, nullptr, &usedDefault), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  const WCHAR lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, lone, -1, buf, 16, nullptr, &usedDefault), 6);
  EXPECT_STREQ(buf, "a\xEF\xBF\xBD" "b");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, buf, 16, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(WideCharToMultiByte(1252, 0, text, -1, buf, 16, nullptr, nullptr), 0);
}

TEST(StringTest, CaseInsensitiveCompare) {
  EXPECT_EQ(lstrcmpiW(u"CefBrowser", u"cefbrowser"), 0);
  EXPECT_EQ(lstrcmpiW(u"WND", u"Wnd"), 0);
  EXPECT_LT(lstrcmpiW(u"abc", u"ABD"), 0);
  EXPECT_GT(lstrcmpiW(u"abcd", u"ABC"), 0);
  EXPECT_EQ(lstrcmpiW(u"ÄÖ", u"äö"), 0);
  EXPECT_NE(lstrcmpiW(u"登录", u"登陆"), 0);
  EXPECT_NE(lstrcmpW(u"Wnd", u"wnd"), 0);
  EXPECT_EQ(lstrlenW(u"Korvane"), 7);
  EXPECT_EQ(lstrlenW(nullptr), 0);
}

TEST(CommandLineTest, ArgumentsAreQuotedTheWindowsWay) {
  std::string a0 = "/opt/korvane/korvane", a1 = "--type=renderer", a2 = "two words", a3 = "say \"hi\"";
  char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data()};
  SetCommandLineFromArgs(4, argv);
  EXPECT_EQ(std::u16string(GetCommandLineW()),
            u"/opt/korvane/korvane --type=renderer \"two words\" \"say \\\"hi\\\"\"");
}

TEST(ResourceTest, EmbeddedFilesAreFoundByTypeNameAndLanguage) {
  HMODULE module = GetModuleHandleW(nullptr);
  ASSERT_NE(module, nullptr);
  HRSRC res = FindResourceW(module, u"IDR_HELLO", u"TESTRES");
  ASSERT_NE(res, nullptr);
  HGLOBAL data = LoadResource(module, res);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(SizeofResource(module, res), 17u);
  EXPECT_EQ(std::memcmp(LockResource(data), "korvane resource\n", 17), 0);
  // Names and types ignore case; numeric names are found as "#n" or MAKEINTRESOURCE(n).
  EXPECT_EQ(FindResourceW(module, u"idr_hello", u"testres"), res);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(101), u"TESTRES"), nullptr);
  EXPECT_EQ(FindResourceW(module, u"#101", u"TESTRES"), FindResourceW(module, MAKEINTRESOURCEW(101), u"TESTRES"));

  HRSRC zh = FindResourceExW(module, u"TESTRES", u"IDR_HELLO", 2052);
  ASSERT_NE(zh, nullptr);
  EXPECT_EQ(SizeofResource(module, zh), 3u);
  SetLastError(0);
  EXPECT_EQ(FindResourceExW(module, u"TESTRES", u"IDR_HELLO", 1033), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
  EXPECT_EQ(FindResourceW(module, u"IDR_NONE", u"TESTRES"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceW(module, u"IDR_HELLO", u"NOTYPE"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(LoadResource(module, nullptr), nullptr);
  EXPECT_EQ(SizeofResource(module, reinterpret_cast<HRSRC>(static_cast<uintptr_t>(99999))), 0u);
}

TEST(ComTest, InitialisationCountsPerThreadAndCanBeMadeToFail) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  OleUninitialize();
  CoUninitialize();
  CoUninitialize();
  FailNextCoInitialize(E_OUTOFMEMORY);
  EXPECT_EQ(CoInitialize(nullptr), E_OUTOFMEMORY);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

class MetricsTest : public PlatformTest {};

TEST_F(MetricsTest, ScreenAndWorkAreaComeFromTheDisplay) {
  display().SetScreen(ScreenInfo{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}});
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.bottom, 1040);
  HWND hwnd = CreateTestWindow({});
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi));
  EXPECT_EQ(mi.rcWork.bottom, 1040);
  EXPECT_EQ(mi.rcMonitor.bottom, 1080);
  SetCursorPos(12, 34);
  POINT pt{};
  GetCursorPos(&pt);
  EXPECT_EQ(pt.x, 12);
  EXPECT_EQ(pt.y, 34);
}

class PaintTest : public PlatformTest {};

TEST_F(PaintTest, WhatAWindowPaintsReachesTheDisplay) {
  HWND hwnd = CreateTestWindow({.style = WS_POPUP | WS_VISIBLE,
                                .width = 4,
                                .height = 3,
                                .handler = [](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg != WM_PAINT) return std::nullopt;
                                  PAINTSTRUCT ps;
                                  HDC dc = BeginPaint(h, &ps);
                                  SurfaceView view;
                                  if (GetDCSurface(dc, &view)) {
                                    for (int i = 0; i < view.width * view.height; ++i) view.pixels[i] = 0xFF00FF00;
                                    view.pixels[view.width + 2] = 0x80800000;
                                  }
                                  EndPaint(h, &ps);
                                  return 0;
                                }});
  Pump();
  auto surface = display().Surface(hwnd);
  ASSERT_TRUE(surface);
  EXPECT_EQ(surface->width, 4);
  EXPECT_EQ(surface->height, 3);
  EXPECT_EQ(display().PixelAt(hwnd, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(display().PixelAt(hwnd, 2, 1), 0x80800000u);
  EXPECT_EQ(display().PixelAt(hwnd, 9, 9), 0u);
  SurfaceView view;
  EXPECT_FALSE(GetDCSurface(reinterpret_cast<HDC>(static_cast<uintptr_t>(0x77)), &view));
  // Resizing asks for a new paint of the new size.
  SetWindowPos(hwnd, nullptr, 0, 0, 6, 5, SWP_NOZORDER | SWP_NOMOVE);
  Pump();
  EXPECT_EQ(display().Surface(hwnd)->width, 6);
}

// Each paint fills its update rectangle with the next colour.
TEST_F(PaintTest, SnapshotsStayAsHandedOverAndFollowPartialPaints) {
  static uint32_t colour = 0;
  colour = 0xFF000001;
  HWND hwnd = CreateTestWindow({.style = WS_POPUP | WS_VISIBLE,
                                .width = 4,
                                .height = 2,
                                .handler = [](HWND h, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                  if (msg != WM_PAINT) return std::nullopt;
                                  PAINTSTRUCT ps;
                                  HDC dc = BeginPaint(h, &ps);
                                  SurfaceView view;
                                  if (GetDCSurface(dc, &view))
                                    for (LONG y = ps.rcPaint.top; y < ps.rcPaint.bottom; ++y)
                                      for (LONG x = ps.rcPaint.left; x < ps.rcPaint.right; ++x)
                                        view.pixels[y * view.width + x] = colour;
                                  ++colour;
                                  EndPaint(h, &ps);
                                  return 0;
                                }});
  Pump();
  auto held = display().Surface(hwnd);  // kept by a reader: must never change under it
  auto row = [&](const std::shared_ptr<const SurfaceImage>& image) {
    return std::vector<uint32_t>(image->pixels.begin(), image->pixels.begin() + 4);
  };
  const std::vector<uint32_t> first{0xFF000001, 0xFF000001, 0xFF000001, 0xFF000001};
  ASSERT_EQ(row(held), first);
  RECT left{0, 0, 1, 2}, right{3, 0, 4, 2}, middle{1, 0, 3, 2};
  for (const RECT* area : {&left, &right, &middle}) {
    InvalidateRect(hwnd, area, FALSE);
    UpdateWindow(hwnd);
  }
  EXPECT_EQ(row(held), first);
  EXPECT_EQ(row(display().Surface(hwnd)), (std::vector<uint32_t>{0xFF000002, 0xFF000004, 0xFF000004, 0xFF000003}));
  held.reset();
  InvalidateRect(hwnd, &left, FALSE);
  UpdateWindow(hwnd);
  InvalidateRect(hwnd, &right, FALSE);
  UpdateWindow(hwnd);
  EXPECT_EQ(row(display().Surface(hwnd)), (std::vector<uint32_t>{0xFF000005, 0xFF000004, 0xFF000004, 0xFF000006}));
}

}  // namespace
}  // namespace korvane::platform::testing
