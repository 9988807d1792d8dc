// Icons from the executable's resources.
#include <platform/icons.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace korvane::platform {

namespace {

struct Icon {
  const uint8_t* data = nullptr;
  size_t size = 0;
  int requested = 0;
};

std::mutex g_mu;
std::map<HICON, Icon> g_icons;
std::map<std::pair<const void*, int>, HICON> g_shared;  // one handle per resource and size
uintptr_t g_next = 0x50010;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

// ICONDIR: reserved 0, type 1, count; then 16-byte entries with size and offset.
bool IsIcoFile(const uint8_t* data, size_t size) {
  return size >= 6 && U16(data) == 0 && U16(data + 2) == 1 && size >= 6 + 16u * U16(data + 4);
}

}  // namespace

bool GetIconImages(HICON icon, std::vector<IconImage>* images) {
  Icon found;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    auto it = g_icons.find(icon);
    if (it == g_icons.end()) return false;
    found = it->second;
  }
  if (!images) return true;
  images->clear();
  int count = U16(found.data + 4);
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = found.data + 6 + 16 * i;
    uint32_t bytes = U32(e + 8), offset = U32(e + 12);
    if (offset > found.size || bytes > found.size - offset || bytes < 8) continue;
    const uint8_t* image = found.data + offset;
    if (std::memcmp(image, kPngSignature, 8) != 0) continue;  // only PNG-compressed entries
    IconImage out;
    out.width = e[0] ? e[0] : 256;
    out.height = e[1] ? e[1] : 256;
    out.png.assign(image, image + bytes);
    images->push_back(std::move(out));
  }
  std::sort(images->begin(), images->end(), [](const IconImage& a, const IconImage& b) { return a.width > b.width; });
  return true;
}

int GetIconRequestedSize(HICON icon) {
  std::lock_guard<std::mutex> lock(g_mu);
  auto it = g_icons.find(icon);
  return it == g_icons.end() ? 0 : it->second.requested;
}

}  // namespace korvane::platform

using namespace korvane::platform;

HANDLE WINAPI LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int, UINT) {
  if (type != IMAGE_ICON) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  HMODULE module = instance ? instance : GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, name, RT_GROUP_ICON);
  if (!res) return nullptr;
  auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, res)));
  size_t size = SizeofResource(module, res);
  if (!data || !IsIcoFile(data, size)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(g_mu);
  auto key = std::make_pair(static_cast<const void*>(data), cx);
  auto it = g_shared.find(key);
  if (it != g_shared.end()) return it->second;
  g_next += 4;
  HICON icon = reinterpret_cast<HICON>(g_next);
  g_icons[icon] = Icon{data, size, cx};
  g_shared[key] = icon;
  return icon;
}

HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name) {
  return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

// Icons from resources are shared and live as long as the process, as LR_SHARED icons do.
BOOL WINAPI DestroyIcon(HICON icon) {
  std::lock_guard<std::mutex> lock(g_mu);
  return g_icons.count(icon) ? TRUE : FALSE;
}
