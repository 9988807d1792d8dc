// Reference counting, the smart pointer, strings and locks of the engine API.
#include "include/cef_base.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

int g_alive = 0;

class Counted : public CefBase {
 public:
  Counted() { ++g_alive; }
  ~Counted() override { --g_alive; }
  int value = 0;

 private:
  IMPLEMENT_REFCOUNTING(Counted);
};

TEST(RefCountTest, TheLastReleaseDeletesAndSaysSo) {
  g_alive = 0;
  Counted* c = new Counted;
  c->AddRef();
  EXPECT_TRUE(c->HasOneRef());
  c->AddRef();
  EXPECT_FALSE(c->HasOneRef());
  EXPECT_FALSE(c->Release());
  EXPECT_TRUE(c->HasOneRef());
  EXPECT_TRUE(c->Release());
  EXPECT_EQ(g_alive, 0);
}

TEST(RefCountTest, CountsHoldAcrossThreads) {
  g_alive = 0;
  CefRefPtr<Counted> shared(new Counted);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([shared] {
      for (int i = 0; i < 20000; ++i) {
        CefRefPtr<Counted> copy = shared;
        CefRefPtr<Counted> moved = std::move(copy);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_TRUE(shared->HasOneRef());
  shared = nullptr;
  EXPECT_EQ(g_alive, 0);
}

TEST(RefPtrTest, HoldsOneReferenceThroughCopiesMovesAndReassignment) {
  g_alive = 0;
  CefRefPtr<Counted> a(new Counted);
  EXPECT_TRUE(a->HasOneRef());
  CefRefPtr<Counted> b = a;
  EXPECT_FALSE(a->HasOneRef());
  CefRefPtr<Counted> c = std::move(b);
  EXPECT_EQ(b.get(), nullptr);
  EXPECT_EQ(c.get(), a.get());
  c = nullptr;
  EXPECT_TRUE(a->HasOneRef());
  a = a.get();  // self-assignment keeps the object
  EXPECT_EQ(g_alive, 1);
  a->value = 7;
  CefRefPtr<CefBase> base = a;  // to a base class
  EXPECT_FALSE(a->HasOneRef());
  a = new Counted;  // the old object lives on through `base`
  EXPECT_EQ(g_alive, 2);
  base = nullptr;
  EXPECT_EQ(g_alive, 1);
  EXPECT_TRUE(a);
  a = nullptr;
  EXPECT_FALSE(a);
  EXPECT_EQ(g_alive, 0);
}

TEST(CefStringTest, IsUtf16WithUtf8Conversions) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"http://127.0.0.1:8620/yy/krvn/microend", u"http://127.0.0.1:8620/yy/krvn/microend"},
      {"\xe4\xb8\x8b\xe8\xbd\xbd\xe5\xae\x8c\xe6\x88\x90", u"下载完成"},
      {"\xf0\x9f\x8e\xae", u"\U0001F3AE"},  // outside the BMP: a surrogate pair
  };
  for (const auto& c : cases) {
    CefString s(c.utf8);
    EXPECT_EQ(s.ToString16(), c.utf16);
    EXPECT_EQ(s.length(), c.utf16.size());
    EXPECT_EQ(s.ToString(), c.utf8);
    EXPECT_EQ(CefString(c.utf16).ToString(), c.utf8);
  }
  // Bytes that are not UTF-8 become U+FFFD, the rest is kept.
  EXPECT_EQ(CefString(std::string("a\xff" "b")).ToString16(), u"a\uFFFDb");
  CefString empty(static_cast<const char16_t*>(nullptr));
  EXPECT_TRUE(empty.empty());
  EXPECT_TRUE(CefString("abc") == CefString(u"abc"));
  EXPECT_TRUE(CefString("abc") < CefString("abd"));
}

TEST(LockTest, AutoLockExcludesAndAutoUnlockLetsGo) {
  base::Lock lock;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        base::AutoLock hold(lock);
        ++counter;
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(counter, 40000);
  base::AutoLock hold(lock);
  {
    base::AutoUnlock release(lock);
    bool free = false;
    std::thread([&] {
      free = lock.Try();
      if (free) lock.Release();
    }).join();
    EXPECT_TRUE(free);
  }
  bool taken = true;
  std::thread([&] {
    taken = lock.Try();  // held again: another thread cannot have it
    if (taken) lock.Release();
  }).join();
  EXPECT_FALSE(taken);
}

}  // namespace
