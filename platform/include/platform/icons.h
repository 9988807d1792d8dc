// The pictures behind an icon handle, for displays. An icon resource (RT_GROUP_ICON) holds
// an .ico file as the build embedded it (korvane_add_icon); its images are PNG-compressed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace korvane::platform {

struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> png;
};

// Every PNG image of the icon, largest first; false for a handle that is not an icon.
bool GetIconImages(HICON icon, std::vector<IconImage>* images);
// The size LoadImageW was asked for (0: the default size).
int GetIconRequestedSize(HICON icon);

}  // namespace korvane::platform
