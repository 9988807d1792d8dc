#include "Render.h"

#include "Parse.h"

#include <pango/pangocairo.h>

#include <cstring>
#include <unordered_map>

namespace DuiLib {

TImageInfo::~TImageInfo() {
  if (surface) cairo_surface_destroy(surface);
}

namespace render {

namespace {

thread_local std::unordered_map<HDC, cairo_t*> t_contexts;

struct PngReader {
  const std::string* data;
  size_t offset;
};

cairo_status_t ReadPng(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<PngReader*>(closure);
  if (r->offset + length > r->data->size()) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, r->data->data() + r->offset, length);
  r->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

void SetColor(cairo_t* cr, DWORD argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        ((argb >> 24) & 0xFF) / 255.0);
}

enum PieceKind : unsigned {
  kVaries = 0,
  kSameAcross = 1,  // every row is one colour: a horizontal stretch repeats pixels
  kSameDown = 2,    // every column is one colour: a vertical stretch repeats pixels
  kFlat = 3,        // one colour throughout
};

// Stretching the flat middles and edges of a frame with a smoothing filter costs most of
// a paint and gives the same pixels as repeating them, so such pieces are found once.
unsigned KindOf(const TImageInfo& image, int x, int y, int w, int h) {
  std::array<int, 4> key{x, y, w, h};
  auto it = image.pieceKinds.find(key);
  if (it != image.pieceKinds.end()) return it->second;
  cairo_surface_flush(image.surface);
  const unsigned char* data = cairo_image_surface_get_data(image.surface);
  int stride = cairo_image_surface_get_stride(image.surface);
  bool opaque = cairo_image_surface_get_format(image.surface) == CAIRO_FORMAT_RGB24;
  auto at = [&](int px, int py) {
    uint32_t v;
    std::memcpy(&v, data + static_cast<size_t>(y + py) * stride + static_cast<size_t>(x + px) * 4, 4);
    return opaque ? (v | 0xFF000000u) : v;
  };
  bool across = true, down = true;
  for (int py = 0; py < h && (across || down); ++py)
    for (int px = 0; px < w && (across || down); ++px) {
      if (at(px, py) != at(0, py)) across = false;
      if (at(px, py) != at(px, 0)) down = false;
    }
  unsigned kind = (across ? kSameAcross : 0u) | (down ? kSameDown : 0u);
  image.pieceKinds.emplace(key, kind);
  return kind;
}

// One piece of a nine-part stretch: `src` of the picture into `dst` of the surface.
void Blit(cairo_t* cr, const TImageInfo& image, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh,
          double alpha) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  bool stretchedAcross = dw != sw, stretchedDown = dh != sh;
  unsigned kind = (stretchedAcross || stretchedDown) ? KindOf(image, sx, sy, sw, sh) : kVaries;
  cairo_filter_t filter = CAIRO_FILTER_GOOD;
  if ((!stretchedAcross || (kind & kSameAcross)) && (!stretchedDown || (kind & kSameDown))) filter = CAIRO_FILTER_FAST;
  if (kind == kFlat && cairo_image_surface_get_format(image.surface) == CAIRO_FORMAT_RGB24) {
    const unsigned char* data = cairo_image_surface_get_data(image.surface);
    uint32_t v;
    std::memcpy(&v, data + static_cast<size_t>(sy) * cairo_image_surface_get_stride(image.surface) +
                        static_cast<size_t>(sx) * 4, 4);
    cairo_set_source_rgba(cr, ((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0, alpha);
    cairo_rectangle(cr, dx, dy, dw, dh);
    cairo_fill(cr);
    return;
  }
  // A sub-surface keeps the scaling filter from blending in pixels beyond the piece.
  cairo_surface_t* piece = cairo_surface_create_for_rectangle(image.surface, sx, sy, sw, sh);
  cairo_save(cr);
  cairo_rectangle(cr, dx, dy, dw, dh);
  cairo_clip(cr);
  cairo_translate(cr, dx, dy);
  cairo_scale(cr, static_cast<double>(dw) / sw, static_cast<double>(dh) / sh);
  cairo_set_source_surface(cr, piece, 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(cairo_get_source(cr), filter);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
  cairo_surface_destroy(piece);
}

}  // namespace

PangoFontDescription* FontFor(const TFontInfo& info) {
  PangoFontDescription* desc = pango_font_description_new();
  // The layouts name Windows fonts; fontconfig falls back in order to installed CJK fonts.
  std::string family = detail::ToUtf8(info.sFontName);
  family += family.empty() ? "" : ",";
  family += "Microsoft YaHei,WenQuanYi Micro Hei,Noto Sans CJK SC,sans-serif";
  pango_font_description_set_family(desc, family.c_str());
  pango_font_description_set_absolute_size(desc, info.iSize * PANGO_SCALE);
  pango_font_description_set_weight(desc, info.bBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc, info.bItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return desc;
}

std::unique_ptr<TImageInfo> DecodePng(const std::string& data) {
  PngReader reader{&data, 0};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  auto info = std::make_unique<TImageInfo>();
  info->surface = surface;
  info->width = cairo_image_surface_get_width(surface);
  info->height = cairo_image_surface_get_height(surface);
  return info;
}

ScopedContext::ScopedContext(HDC dc, cairo_t* cr) : dc_(dc) { t_contexts[dc] = cr; }
ScopedContext::~ScopedContext() { t_contexts.erase(dc_); }

cairo_t* ContextOf(HDC dc) {
  auto it = t_contexts.find(dc);
  return it == t_contexts.end() ? nullptr : it->second;
}

void FillRect(HDC dc, const RECT& rc, DWORD argb) {
  cairo_t* cr = ContextOf(dc);
  if (!cr || !(argb >> 24) || IsRectEmpty(&rc)) return;
  SetColor(cr, argb);
  cairo_rectangle(cr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  cairo_fill(cr);
}

void DrawBorder(HDC dc, const RECT& rc, int size, DWORD argb) {
  cairo_t* cr = ContextOf(dc);
  if (!cr || size <= 0 || !(argb >> 24) || IsRectEmpty(&rc)) return;
  SetColor(cr, argb);
  double half = size / 2.0;
  cairo_set_line_width(cr, size);
  cairo_rectangle(cr, rc.left + half, rc.top + half, rc.right - rc.left - size, rc.bottom - rc.top - size);
  cairo_stroke(cr);
}

void DrawImage(HDC dc, const TImageInfo& image, const RECT& dest, RECT source, const RECT& corner, BYTE fade) {
  cairo_t* cr = ContextOf(dc);
  if (!cr || IsRectEmpty(&dest)) return;
  if (IsRectEmpty(&source)) source = RECT{0, 0, image.width, image.height};
  source.left = std::max<LONG>(source.left, 0);
  source.top = std::max<LONG>(source.top, 0);
  source.right = std::min<LONG>(source.right, image.width);
  source.bottom = std::min<LONG>(source.bottom, image.height);
  if (IsRectEmpty(&source)) return;
  double alpha = fade / 255.0;
  // Corners and edges keep their size, unless the destination is too small for them.
  int sl = corner.left, st = corner.top, sr = corner.right, sb = corner.bottom;
  int sw = source.right - source.left, sh = source.bottom - source.top;
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  if (sl < 0 || sr < 0 || sl + sr > sw || sl + sr > dw) sl = sr = 0;
  if (st < 0 || sb < 0 || st + sb > sh || st + sb > dh) st = sb = 0;
  int sxs[3] = {0, sl, sw - sr}, sws[3] = {sl, sw - sl - sr, sr};
  int sys[3] = {0, st, sh - sb}, shs[3] = {st, sh - st - sb, sb};
  int dxs[3] = {0, sl, dw - sr}, dws[3] = {sl, dw - sl - sr, sr};
  int dys[3] = {0, st, dh - sb}, dhs[3] = {st, dh - st - sb, sb};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      Blit(cr, image, source.left + sxs[col], source.top + sys[row], sws[col], shs[row], dest.left + dxs[col],
           dest.top + dys[row], dws[col], dhs[row], alpha);
}

void DrawText(HDC dc, CPaintManagerUI* manager, const RECT& rc, LPCTSTR text, DWORD argb, int font, UINT style) {
  cairo_t* cr = ContextOf(dc);
  if (!cr || !text || !*text || IsRectEmpty(&rc) || !manager) return;
  if (!(argb >> 24)) argb |= 0xFF000000u;  // a colour given without alpha is opaque
  std::string utf8 = detail::ToUtf8(text);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = FontFor(font < 0 ? manager->GetDefaultFontInfo() : manager->GetFontInfo(font));
  pango_layout_set_font_description(layout, desc);
  pango_layout_set_text(layout, utf8.c_str(), -1);
  int width = rc.right - rc.left, height = rc.bottom - rc.top;
  pango_layout_set_width(layout, width * PANGO_SCALE);
  if (style & DT_SINGLELINE) {
    pango_layout_set_height(layout, 0);
    if (style & DT_END_ELLIPSIS) pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  } else {
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
  pango_layout_set_alignment(layout, (style & DT_CENTER)  ? PANGO_ALIGN_CENTER
                                     : (style & DT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                          : PANGO_ALIGN_LEFT);
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  double y = rc.top;
  if (style & DT_VCENTER) y = rc.top + (height - textHeight) / 2.0;
  else if (style & DT_BOTTOM) y = rc.bottom - textHeight;
  cairo_save(cr);
  cairo_rectangle(cr, rc.left, rc.top, width, height);
  cairo_clip(cr);
  SetColor(cr, argb);
  cairo_move_to(cr, rc.left, y);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  pango_font_description_free(desc);
  g_object_unref(layout);
}

}  // namespace render
}  // namespace DuiLib
