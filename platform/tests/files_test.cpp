// The C runtime's file functions with Windows-style paths and Windows attributes.
#include <direct.h>
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/korvane-files-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    root = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
  }
  static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }
  // The folder's listing as name -> attributes, through a Windows-style pattern.
  std::map<std::string, unsigned> List(const std::string& windowsPattern) {
    std::map<std::string, unsigned> out;
    _finddata_t data;
    intptr_t h = _findfirst(windowsPattern.c_str(), &data);
    if (h == -1) return out;
    do out[data.name] = data.attrib;
    while (_findnext(h, &data) == 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(_findclose(h), 0);
    return out;
  }
  std::string Win(const fs::path& p) {
    std::string s = p.string();
    for (auto& c : s)
      if (c == '/') c = '\\';
    return s;
  }
  fs::path root;
};

TEST_F(FilesTest, ListingReportsWindowsAttributes) {
  fs::create_directory(root / "folder");
  fs::create_directory(root / ".hidden");
  Touch(root / "plain.txt");
  Touch(root / ".dotfile");
  Touch(root / "readonly.txt");
  fs::permissions(root / "readonly.txt", fs::perms::owner_read);
  fs::create_directory(root / "rofolder");
  fs::permissions(root / "rofolder", fs::perms::owner_read | fs::perms::owner_exec);
  fs::create_directory_symlink(root / "folder", root / "dirlink");
  fs::create_symlink(root / "plain.txt", root / "filelink");

  auto listing = List(Win(root) + "\\*");
  std::map<std::string, unsigned> expected = {
      {".", 16},       {"..", 16},          {"folder", 16},       {".hidden", 18}, {"plain.txt", 0},
      {".dotfile", 2}, {"readonly.txt", 1}, {"rofolder", 17},     {"dirlink", 0},  {"filelink", 0},
  };
  EXPECT_EQ(listing, expected);
}

TEST_F(FilesTest, SystemAndHiddenBitsComeFromTheDosAttributeXattr) {
  fs::create_directory(root / "sys");
  const char value[] = "0x4";
  if (setxattr((root / "sys").c_str(), "user.DOSATTRIB", value, 3, 0) != 0)
    GTEST_SKIP() << "user extended attributes are not supported here";
  Touch(root / "hid");
  setxattr((root / "hid").c_str(), "user.DOSATTRIB", "0x22", 4, 0);  // hidden + archive: archive is not taken
  auto listing = List(Win(root) + "/*");
  EXPECT_EQ(listing["sys"], 20u);
  EXPECT_EQ(listing["hid"], 2u);
}

TEST_F(FilesTest, PatternsMatchAsOnWindows) {
  Touch(root / "a.log");
  Touch(root / "B.LOG");
  Touch(root / "c.txt");
  auto logs = List(Win(root) + "\\*.log");
  EXPECT_EQ(logs.size(), 2u);
  EXPECT_TRUE(logs.count("B.LOG"));
  EXPECT_EQ(List(Win(root) + "\\?.txt").size(), 1u);
  EXPECT_EQ(List(Win(root) + "\\*.*").size(), 5u);  // with "." and ".."
}

TEST_F(FilesTest, MissingFolderOrNoMatchFailsWithNoSuchFile) {
  _finddata_t data;
  errno = 0;
  EXPECT_EQ(_findfirst((Win(root) + "\\missing\\*").c_str(), &data), -1);
  EXPECT_EQ(errno, ENOENT);
  errno = 0;
  EXPECT_EQ(_findfirst((Win(root) + "\\*.none").c_str(), &data), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(_findfirst(nullptr, &data), -1);
  EXPECT_EQ(_findnext(12345, &data), -1);
  EXPECT_EQ(_findclose(12345), -1);
}

TEST_F(FilesTest, RemoveDeletesFilesAndLinksButNotFoldersOrReadOnlyFiles) {
  fs::create_directory(root / "folder");
  Touch(root / "folder" / "inside");
  Touch(root / "plain");
  Touch(root / "readonly");
  fs::permissions(root / "readonly", fs::perms::owner_read);
  fs::create_directory_symlink(root / "folder", root / "link");

  EXPECT_EQ(remove(Win(root / "plain").c_str()), 0);
  EXPECT_FALSE(fs::exists(root / "plain"));

  errno = 0;
  EXPECT_EQ(remove(Win(root / "readonly").c_str()), -1);
  EXPECT_EQ(errno, EACCES);
  EXPECT_TRUE(fs::exists(root / "readonly"));

  errno = 0;
  EXPECT_EQ(remove(Win(root / "folder").c_str()), -1);
  EXPECT_EQ(errno, EACCES);

  // The link goes; what it points to stays.
  EXPECT_EQ(remove(Win(root / "link").c_str()), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(root / "link")));
  EXPECT_TRUE(fs::exists(root / "folder" / "inside"));

  errno = 0;
  EXPECT_EQ(remove(Win(root / "nothing").c_str()), -1);
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(FilesTest, RmdirRemovesOnlyEmptyFolders) {
  fs::create_directories(root / "full" / "sub");
  fs::create_directory(root / "empty");
  errno = 0;
  EXPECT_EQ(_rmdir(Win(root / "full").c_str()), -1);
  EXPECT_EQ(errno, ENOTEMPTY);
  EXPECT_EQ(_rmdir(Win(root / "empty").c_str()), 0);
  EXPECT_FALSE(fs::exists(root / "empty"));
  errno = 0;
  EXPECT_EQ(_rmdir(Win(root / "empty").c_str()), -1);
  EXPECT_EQ(errno, ENOENT);
  Touch(root / "file");
  EXPECT_EQ(_rmdir(Win(root / "file").c_str()), -1);
  EXPECT_EQ(errno, ENOTDIR);
  EXPECT_EQ(_mkdir(Win(root / "made").c_str()), 0);
  EXPECT_TRUE(fs::is_directory(root / "made"));
}

TEST_F(FilesTest, ListingIsASnapshotSoAWalkCanDeleteAsItGoes) {
  for (int i = 0; i < 20; ++i) Touch(root / ("f" + std::to_string(i)));
  _finddata_t data;
  std::string dir = Win(root) + "\\";
  intptr_t h = _findfirst((dir + "*").c_str(), &data);
  ASSERT_NE(h, -1);
  int deleted = 0;
  do {
    std::string name = data.name;
    if (name != "." && name != ".." && remove((dir + name).c_str()) == 0) ++deleted;
  } while (_findnext(h, &data) == 0);
  _findclose(h);
  EXPECT_EQ(deleted, 20);
  EXPECT_TRUE(fs::is_empty(root));
}

}  // namespace
