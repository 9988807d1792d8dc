// Drawing for controls: colours, borders, pictures stretched with fixed corners, and text,
// with cairo and pango on the surface behind the device context being painted.
#pragma once

#include "duilib/UIManager.h"

#include <cairo.h>

typedef struct _PangoFontDescription PangoFontDescription;

#include <array>
#include <map>
#include <memory>
#include <string>

namespace DuiLib {

struct TImageInfo {
  cairo_surface_t* surface = nullptr;
  int width = 0;
  int height = 0;
  // How the pieces of a stretched picture vary, found once per piece (see Render.cpp).
  mutable std::map<std::array<int, 4>, unsigned> pieceKinds;
  ~TImageInfo();
};

namespace render {

// The pango font for a layout font, with CJK fonts to fall back on; free it with
// pango_font_description_free.
PangoFontDescription* FontFor(const TFontInfo& info);

// Decodes a PNG; null when the data is not a picture cairo can read.
std::unique_ptr<TImageInfo> DecodePng(const std::string& data);

// While a window paints, its device context stands for this cairo context.
class ScopedContext {
 public:
  ScopedContext(HDC dc, cairo_t* cr);
  ~ScopedContext();

 private:
  HDC dc_;
};
cairo_t* ContextOf(HDC dc);

void FillRect(HDC dc, const RECT& rc, DWORD argb);
void DrawBorder(HDC dc, const RECT& rc, int size, DWORD argb);
// Draws `source` (a part of the picture; empty: all of it) into `dest`; the `corner`
// borders keep their size and the middle stretches.
void DrawImage(HDC dc, const TImageInfo& image, const RECT& dest, RECT source, const RECT& corner, BYTE fade);
void DrawText(HDC dc, CPaintManagerUI* manager, const RECT& rc, LPCTSTR text, DWORD argb, int font, UINT style);

}  // namespace render
}  // namespace DuiLib
