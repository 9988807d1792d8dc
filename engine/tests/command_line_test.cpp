// Command lines: parsing from a string and from argv, switch names with or without
// their dashes, appending, and writing back out.
#include "include/cef_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, ParsesSwitchesAndArgumentsLikeChromium) {
  struct Case {
    const char16_t* line;
    const char16_t* program;
    std::vector<std::pair<const char16_t*, const char16_t*>> switches;
    std::vector<const char16_t*> arguments;
  } cases[] = {
      {u"korvane.exe", u"korvane.exe", {}, {}},
      {u"korvane.exe --type=renderer --no-sandbox", u"korvane.exe", {{u"type", u"renderer"}, {u"no-sandbox", u""}}, {}},
      {u"\"C:\\Program Files\\korvane.exe\" --Type=Renderer page.html", u"C:\\Program Files\\korvane.exe",
       {{u"type", u"Renderer"}}, {u"page.html"}},
      {u"k --lang=\"zh CN\" -- --not-a-switch", u"k", {{u"lang", u"zh CN"}}, {u"--not-a-switch"}},
      {u"k \"a \\\"quoted\\\" word\" c:\\dir\\", u"k", {}, {u"a \"quoted\" word", u"c:\\dir\\"}},
      {u"", u"", {}, {}},
  };
  for (const auto& c : cases) {
    auto cl = CefCommandLine::CreateCommandLine();
    cl->InitFromString(c.line);
    EXPECT_EQ(cl->GetProgram(), CefString(c.program)) << CefString(c.line).ToString();
    CefCommandLine::SwitchMap switches;
    cl->GetSwitches(switches);
    EXPECT_EQ(switches.size(), c.switches.size()) << CefString(c.line).ToString();
    for (auto [name, value] : c.switches) {
      EXPECT_TRUE(cl->HasSwitch(name));
      EXPECT_EQ(cl->GetSwitchValue(name), CefString(value));
    }
    CefCommandLine::ArgumentList arguments;
    cl->GetArguments(arguments);
    ASSERT_EQ(arguments.size(), c.arguments.size()) << CefString(c.line).ToString();
    for (size_t i = 0; i < arguments.size(); ++i) EXPECT_EQ(arguments[i], CefString(c.arguments[i]));
  }
}

TEST(CommandLineTest, SwitchNamesWithOrWithoutDashesAndAppending) {
  auto cl = CefCommandLine::CreateCommandLine();
  const char* argv[] = {"/opt/korvane/korvane", "--ppapi-flash-path=/x/flash.so", "game"};
  cl->InitFromArgv(3, argv);
  EXPECT_TRUE(cl->HasSwitch("ppapi-flash-path"));
  EXPECT_TRUE(cl->HasSwitch("--ppapi-flash-path"));
  EXPECT_EQ(cl->GetSwitchValue("--PPAPI-Flash-Path"), CefString("/x/flash.so"));
  EXPECT_FALSE(cl->HasSwitch("type"));
  EXPECT_TRUE(cl->GetSwitchValue("type").empty());
  cl->AppendSwitch("--disable-web-security");
  cl->AppendSwitchWithValue("lang", "zh-CN");
  cl->AppendSwitchWithValue("--lang", "zh-TW");  // a second value replaces the first
  EXPECT_TRUE(cl->HasSwitch("disable-web-security"));
  EXPECT_EQ(cl->GetSwitchValue("lang"), CefString("zh-TW"));
  EXPECT_EQ(cl->GetCommandLineString(),
            CefString("/opt/korvane/korvane --ppapi-flash-path=/x/flash.so --disable-web-security --lang=zh-TW -- game"));
  // What it writes reads back the same.
  auto again = CefCommandLine::CreateCommandLine();
  again->InitFromString(cl->GetCommandLineString());
  EXPECT_EQ(again->GetCommandLineString(), cl->GetCommandLineString());
  auto copy = cl->Copy();
  cl->Reset();
  EXPECT_FALSE(cl->HasSwitches());
  EXPECT_TRUE(copy->HasSwitch("disable-web-security"));
}

}  // namespace
