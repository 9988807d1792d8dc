// The framework on small packages of its own: strings, stretched pictures, encrypted
// entries.
#include <UIlib.h>
#include <platform/headless_display.h>

#include <cairo.h>
#include <zip.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace DuiLib;
using korvane::platform::HeadlessDisplay;

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// An opaque picture, one colour a pixel as `paint` says.
std::string Png(int width, int height, const std::function<uint32_t(int, int)>& paint) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  auto* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) reinterpret_cast<uint32_t*>(data + y * stride)[x] = paint(x, y) | 0xFF000000u;
  cairo_surface_mark_dirty(s);
  std::string out;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* bytes, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(bytes), length);
        return CAIRO_STATUS_SUCCESS;
      },
      &out);
  cairo_surface_destroy(s);
  return out;
}

struct Entry {
  std::string name;
  std::string data;
  bool encrypted = false;
};

// A zip archive in memory; encrypted entries use AES-256 with `password`.
std::vector<char> Zip(const std::vector<Entry>& entries, const char* password = nullptr) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  for (const auto& e : entries) {
    zip_source_t* content = zip_source_buffer(archive, e.data.data(), e.data.size(), 0);
    zip_int64_t index = zip_file_add(archive, e.name.c_str(), content, ZIP_FL_ENC_UTF_8);
    if (e.encrypted) zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256, password);
  }
  zip_close(archive);
  std::vector<char> out;
  zip_stat_t st;
  if (zip_source_stat(buffer, &st) == 0 && zip_source_open(buffer) == 0) {
    out.resize(st.size);
    zip_source_read(buffer, out.data(), st.size);
    zip_source_close(buffer);
  }
  zip_source_free(buffer);
  zip_error_fini(&error);
  return out;
}

TEST(DuiStringTest, EditsAndSearches) {
  CDuiString s(_T("Korvane Client"));
  EXPECT_EQ(s.GetLength(), 14);
  EXPECT_EQ(s.Left(7), _T("Korvane"));
  EXPECT_EQ(s.Right(6), _T("Client"));
  EXPECT_EQ(s.Mid(8), _T("Client"));
  EXPECT_EQ(s.Mid(8, 3), _T("Cli"));
  EXPECT_EQ(s.Left(99), s);  // lengths beyond the end stop at the end
  EXPECT_EQ(s.Mid(99), _T(""));
  EXPECT_EQ(s.Find(_T('e')), 6);
  EXPECT_EQ(s.Find(_T('e'), 7), 11);
  EXPECT_EQ(s.Find(_T("Cli")), 8);
  EXPECT_EQ(s.Find(_T("none")), -1);
  EXPECT_EQ(s.ReverseFind(_T('e')), 11);
  EXPECT_EQ(s.CompareNoCase(_T("KORVANE client")), 0);
  EXPECT_NE(s.Compare(_T("KORVANE client")), 0);
  CDuiString path(_T("a\\b\\c"));
  EXPECT_EQ(path.Replace(_T("\\"), _T("/")), 2);
  EXPECT_EQ(path, _T("a/b/c"));
  path += _T('/');
  path += _T("d");
  EXPECT_EQ(path, _T("a/b/c/d"));
  EXPECT_EQ(path[0], _T('a'));
  EXPECT_EQ(path.GetAt(99), 0);
  path.MakeUpper();
  EXPECT_EQ(path, _T("A/B/C/D"));
  CDuiString cjk(_T("提示 Text"));
  cjk.MakeLower();
  EXPECT_EQ(cjk, _T("提示 text"));
  EXPECT_TRUE(CDuiString().IsEmpty());
}

class PackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HeadlessDisplay::Default().Reset();
    CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourceType(UILIB_ZIPRESOURCE);
  }
  void TearDown() override {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    Pump();
  }
  bool Use(const std::vector<char>& zip, LPCTSTR password) {
    zip_ = zip;
    return CPaintManagerUI::SetResourceZip(zip_.data(), static_cast<unsigned>(zip_.size()), password);
  }

  class LayoutWindow : public WindowImplBase {
   public:
    explicit LayoutWindow(CDuiString skin) : skin_(std::move(skin)) {}

   protected:
    LPCTSTR GetWindowClassName() const override { return _T("Korvane_PackageTestWnd"); }
    CDuiString GetSkinFile() override { return skin_; }
    void OnFinalMessage(HWND hwnd) override {
      WindowImplBase::OnFinalMessage(hwnd);
      delete this;
    }

   private:
    CDuiString skin_;
  };

  HWND Open(LPCTSTR skin) {
    auto* window = new LayoutWindow(skin);
    hwnd_ = window->Create(nullptr, _T("Korvane"), WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0);
    Pump();
    return hwnd_;
  }

  std::vector<char> zip_;
  HWND hwnd_ = nullptr;
};

// Nine-part stretching keeps the corners as drawn; a middle that varies is smoothed, a
// middle that does not comes out as its one colour.
TEST_F(PackageTest, StretchedPicturesKeepCornersAndSmoothWhatVaries) {
  const uint32_t red = 0xFF0000, blue = 0x0000FF, green = 0x00C000;
  auto sides = [&](int x, std::function<uint32_t(int)> middle) { return x < 3 ? red : x >= 6 ? blue : middle(x); };
  std::string ramp = Png(9, 3, [&](int x, int) { return sides(x, [](int x) { return uint32_t((x - 3) * 120) << 8; }); });
  std::string flat = Png(9, 3, [&](int x, int) { return sides(x, [&](int) { return green; }); });
  std::string layout =
      "<Window size='60,6'><VerticalLayout>"
      "<Control height='3' bkimage=\"file='ramp.png' corner='3,0,3,0'\"/>"
      "<Control height='3' bkimage=\"file='flat.png' corner='3,0,3,0'\"/>"
      "</VerticalLayout></Window>";
  ASSERT_TRUE(Use(Zip({{"ramp.png", ramp}, {"flat.png", flat}, {"stretch.xml", layout}}), nullptr));
  HWND hwnd = Open(_T("stretch.xml"));
  auto& d = HeadlessDisplay::Default();
  for (int y : {1, 4}) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(d.PixelAt(hwnd, x, y), 0xFF000000u | red) << x << "," << y;
    for (int x = 57; x < 60; ++x) EXPECT_EQ(d.PixelAt(hwnd, x, y), 0xFF000000u | blue) << x << "," << y;
  }
  std::map<uint32_t, int> rampColours;
  uint32_t previous = 0;
  for (int x = 3; x < 57; ++x) {
    uint32_t px = d.PixelAt(hwnd, x, 1);
    EXPECT_GE(px, previous) << x;  // the green ramp only rises
    previous = px;
    ++rampColours[px];
    EXPECT_EQ(d.PixelAt(hwnd, x, 4), 0xFF000000u | green) << x;
  }
  EXPECT_GT(rampColours.size(), 3u);  // smoothed, not three repeated columns
}

TEST_F(PackageTest, EncryptedEntriesOpenOnlyWithThePassword) {
  if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1)) GTEST_SKIP() << "libzip without AES";
  std::string layout = "<Window size='10,10'><Label name='secret'/></Window>";
  auto zip = Zip({{"plain.xml", layout}, {"secret.xml", layout, true}}, "QPWOEIRUTYZMX");
  std::string data;
  ASSERT_TRUE(Use(zip, _T("QPWOEIRUTYZMX")));
  EXPECT_TRUE(CPaintManagerUI::LoadResourceData(u"secret.xml", data));
  EXPECT_EQ(data, layout);
  EXPECT_TRUE(CPaintManagerUI::LoadResourceData(u"plain.xml", data));
  ASSERT_TRUE(Use(zip, _T("wrong")));
  EXPECT_FALSE(CPaintManagerUI::LoadResourceData(u"secret.xml", data));
  ASSERT_TRUE(Use(zip, nullptr));
  EXPECT_FALSE(CPaintManagerUI::LoadResourceData(u"secret.xml", data));
  EXPECT_TRUE(CPaintManagerUI::LoadResourceData(u"plain.xml", data));
  // A window over an entry it cannot read still comes up, empty.
  EXPECT_TRUE(IsWindow(Open(_T("secret.xml"))));
}

}  // namespace
