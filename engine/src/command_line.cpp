// Command lines as Chromium keeps them: switches in a map and in their order, "--" ends
// the switches, names lower-cased as on Windows.
#include "include/cef_command_line.h"

#include <algorithm>

namespace {

std::u16string SwitchKey(std::u16string name) {
  size_t dashes = 0;
  while (dashes < name.size() && dashes < 2 && name[dashes] == u'-') ++dashes;
  name.erase(0, dashes);
  for (auto& c : name)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return name;
}

// A switch token: "--name", "--name=value", "-name" (Windows also takes "/name").
bool ParseSwitch(const std::u16string& token, std::u16string* name, std::u16string* value) {
  size_t prefix = token.rfind(u"--", 0) == 0 ? 2 : (token.rfind(u"-", 0) == 0 || token.rfind(u"/", 0) == 0) ? 1 : 0;
  if (!prefix || token.size() == prefix) return false;
  std::u16string body = token.substr(prefix);
  size_t eq = body.find(u'=');
  *name = SwitchKey(body.substr(0, eq));
  *value = eq == std::u16string::npos ? std::u16string() : body.substr(eq + 1);
  return !name->empty();
}

std::vector<std::u16string> SplitWindowsCommandLine(const std::u16string& s) {
  std::vector<std::u16string> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
    if (i >= s.size()) break;
    std::u16string token;
    bool quoted = false;
    while (i < s.size() && (quoted || (s[i] != u' ' && s[i] != u'\t'))) {
      size_t slashes = 0;
      while (i < s.size() && s[i] == u'\\') ++slashes, ++i;
      if (i < s.size() && s[i] == u'"') {
        token.append(slashes / 2, u'\\');
        if (slashes % 2) {
          token += u'"';
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        token.append(slashes, u'\\');
        if (i < s.size() && (quoted || (s[i] != u' ' && s[i] != u'\t'))) token += s[i++];
      }
    }
    out.push_back(token);
  }
  return out;
}

std::u16string Quote(const std::u16string& arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\"") == std::u16string::npos) return arg;
  std::u16string out = u"\"";
  size_t slashes = 0;
  for (char16_t c : arg) {
    if (c == u'\\') {
      ++slashes;
      continue;
    }
    out.append(c == u'"' ? slashes * 2 + 1 : slashes, u'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, u'\\');
  return out + u"\"";
}

class CommandLineImpl : public CefCommandLine {
 public:
  bool IsValid() override { return true; }
  bool IsReadOnly() override { return false; }
  CefRefPtr<CefCommandLine> Copy() override {
    CefRefPtr<CommandLineImpl> copy = new CommandLineImpl;
    copy->program_ = program_;
    copy->switches_ = switches_;
    copy->order_ = order_;
    copy->arguments_ = arguments_;
    copy->wrappers_ = wrappers_;
    return copy.get();
  }
  void InitFromArgv(int argc, const char* const* argv) override {
    std::vector<std::u16string> tokens;
    for (int i = 0; i < argc; ++i) tokens.push_back(CefString(argv[i] ? argv[i] : "").ToString16());
    Init(tokens);
  }
  void InitFromString(const CefString& command_line) override { Init(SplitWindowsCommandLine(command_line)); }
  void Reset() override {
    program_.clear();
    switches_.clear();
    order_.clear();
    arguments_.clear();
    wrappers_.clear();
  }
  void GetArgv(std::vector<CefString>& argv) override {
    argv.clear();
    for (const auto& token : Tokens()) argv.push_back(token);
  }
  CefString GetCommandLineString() override {
    std::u16string out;
    for (const auto& token : Tokens()) out += (out.empty() ? u"" : u" ") + Quote(token);
    return out;
  }
  CefString GetProgram() override { return program_; }
  void SetProgram(const CefString& program) override { program_ = program; }
  bool HasSwitches() override { return !switches_.empty(); }
  bool HasSwitch(const CefString& name) override { return switches_.count(SwitchKey(name)) != 0; }
  CefString GetSwitchValue(const CefString& name) override {
    auto it = switches_.find(SwitchKey(name));
    return it == switches_.end() ? CefString() : CefString(it->second);
  }
  void GetSwitches(SwitchMap& switches) override {
    switches.clear();
    for (const auto& [name, value] : switches_) switches[name] = value;
  }
  void AppendSwitch(const CefString& name) override { AppendSwitchWithValue(name, CefString()); }
  void AppendSwitchWithValue(const CefString& name, const CefString& value) override {
    std::u16string key = SwitchKey(name);
    if (key.empty()) return;
    if (!switches_.count(key)) order_.push_back(key);
    switches_[key] = value;
  }
  bool HasArguments() override { return !arguments_.empty(); }
  void GetArguments(ArgumentList& arguments) override {
    arguments.clear();
    for (const auto& a : arguments_) arguments.push_back(a);
  }
  void AppendArgument(const CefString& argument) override { arguments_.push_back(argument); }
  void PrependWrapper(const CefString& wrapper) override {
    auto parts = SplitWindowsCommandLine(wrapper);
    wrappers_.insert(wrappers_.begin(), parts.begin(), parts.end());
  }

 private:
  void Init(const std::vector<std::u16string>& tokens) {
    Reset();
    if (tokens.empty()) return;
    program_ = tokens[0];
    bool switchesDone = false;
    for (size_t i = 1; i < tokens.size(); ++i) {
      std::u16string name, value;
      if (!switchesDone && tokens[i] == u"--") {
        switchesDone = true;
      } else if (!switchesDone && ParseSwitch(tokens[i], &name, &value)) {
        AppendSwitchWithValue(name, value);
      } else {
        arguments_.push_back(tokens[i]);
      }
    }
  }
  std::vector<std::u16string> Tokens() const {
    std::vector<std::u16string> out = wrappers_;
    out.push_back(program_);
    for (const auto& name : order_) {
      const std::u16string& value = switches_.at(name);
      out.push_back(u"--" + name + (value.empty() ? u"" : u"=" + value));
    }
    if (!arguments_.empty()) out.push_back(u"--");
    out.insert(out.end(), arguments_.begin(), arguments_.end());
    return out;
  }

  std::u16string program_;
  std::map<std::u16string, std::u16string> switches_;
  std::vector<std::u16string> order_;
  std::vector<std::u16string> arguments_;
  std::vector<std::u16string> wrappers_;

  IMPLEMENT_REFCOUNTING(CommandLineImpl);
};

base::Lock g_globalLock;
CefRefPtr<CefCommandLine> g_global;

}  // namespace

CefRefPtr<CefCommandLine> CefCommandLine::CreateCommandLine() { return new CommandLineImpl; }

CefRefPtr<CefCommandLine> CefCommandLine::GetGlobalCommandLine() {
  base::AutoLock hold(g_globalLock);
  if (!g_global) g_global = new CommandLineImpl;
  return g_global;
}
