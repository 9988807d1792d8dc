// Writes a Windows version resource (VS_VERSIONINFO) with one string table.
// usage: make_version_block <out> <a.b.c.d> <table "080404b0"> key=value...
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

class Writer {
 public:
  std::vector<uint8_t> bytes;
  void U16(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Text(const std::u16string& s) {
    for (char16_t c : s) U16(c);
    U16(0);
  }
  void Align() {
    while (bytes.size() % 4) bytes.push_back(0);
  }
  size_t Begin(uint32_t valueLength, uint32_t type, const std::u16string& key) {
    size_t at = bytes.size();
    U16(0);  // length, patched by End
    U16(valueLength);
    U16(type);
    Text(key);
    Align();
    return at;
  }
  void End(size_t at) {
    size_t length = bytes.size() - at;
    bytes[at] = static_cast<uint8_t>(length);
    bytes[at + 1] = static_cast<uint8_t>(length >> 8);
  }
};

std::u16string Wide(const std::string& s) {  // the values are ASCII
  return std::u16string(s.begin(), s.end());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <out> <a.b.c.d> <table> key=value...\n", argv[0]);
    return 2;
  }
  unsigned v[4] = {0, 0, 0, 0};
  std::sscanf(argv[2], "%u.%u.%u.%u", &v[0], &v[1], &v[2], &v[3]);
  std::string table = argv[3];
  Writer w;
  size_t root = w.Begin(52, 0, u"VS_VERSION_INFO");
  w.U32(0xFEEF04BD);  // signature
  w.U32(0x00010000);  // structure version
  w.U32((v[0] << 16) | v[1]);
  w.U32((v[2] << 16) | v[3]);
  w.U32((v[0] << 16) | v[1]);
  w.U32((v[2] << 16) | v[3]);
  w.U32(0x3F);     // flags mask
  w.U32(0);        // flags
  w.U32(0x40004);  // VOS_NT_WINDOWS32
  w.U32(1);        // VFT_APP
  w.U32(0);
  w.U32(0);
  w.U32(0);
  w.Align();
  size_t strings = w.Begin(0, 1, u"StringFileInfo");
  size_t tableAt = w.Begin(0, 1, Wide(table));
  for (int i = 4; i < argc; ++i) {
    std::string kv = argv[i];
    size_t eq = kv.find('=');
    if (eq == std::string::npos) continue;
    std::u16string value = Wide(kv.substr(eq + 1));
    size_t s = w.Begin(static_cast<uint32_t>(value.size() + 1), 1, Wide(kv.substr(0, eq)));
    w.Text(value);
    w.End(s);
    w.Align();
  }
  w.End(tableAt);
  w.End(strings);
  size_t vars = w.Begin(0, 1, u"VarFileInfo");
  size_t var = w.Begin(4, 0, u"Translation");
  unsigned long code = std::stoul(table, nullptr, 16);  // "080404b0": language 0x0804, code page 0x04b0
  w.U16(static_cast<uint32_t>(code >> 16));
  w.U16(static_cast<uint32_t>(code & 0xFFFF));
  w.End(var);
  w.End(vars);
  w.End(root);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(w.bytes.data()), static_cast<std::streamsize>(w.bytes.size()));
  return out ? 0 : 1;
}
