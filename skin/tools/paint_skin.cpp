// Paints the skin's pictures and the application icon. The output is committed; run
// scripts/paint-skin.sh after changing this file. Drawing is plain cairo, so the same
// cairo version paints the same pixels.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
  double r, g, b;
};

const Rgb kNight{0.09, 0.11, 0.20};
const Rgb kDusk{0.20, 0.16, 0.36};
const Rgb kGold{0.93, 0.76, 0.38};
const Rgb kFrost{0.86, 0.90, 0.98};

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Source(cairo_t* cr, Rgb c, double a = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

bool Save(cairo_surface_t* s, const std::string& path) {
  bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return ok;
}

// A four-pointed star, the game's mark.
void Star(cairo_t* cr, double cx, double cy, double outer, double inner) {
  for (int i = 0; i < 8; ++i) {
    double a = -M_PI / 2 + i * M_PI / 4;
    double r = (i % 2) ? inner : outer;
    double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
    if (i == 0) cairo_move_to(cr, x, y);
    else cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

void Emblem(cairo_t* cr, double cx, double cy, double radius) {
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - radius / 3, cy - radius / 3, radius / 8, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(g, 0, 0.42, 0.36, 0.72, 1);
  cairo_pattern_add_color_stop_rgba(g, 1, kNight.r, kNight.g, kNight.b, 1);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  Source(cr, kGold);
  cairo_set_line_width(cr, std::max(1.0, radius / 12));
  cairo_stroke(cr);
  Star(cr, cx, cy, radius * 0.72, radius * 0.22);
  Source(cr, kGold);
  cairo_fill(cr);
}

// The login backdrop: a translucent glow, an emblem, and a framed panel whose inside holds
// the login page (580 x 400 at 440,246) and the two frame buttons (at 1010 and 1040, 205).
void LoginBackdrop(const std::string& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1200, 800);
  cairo_t* cr = cairo_create(s);
  // Soft glow around the panel: the only translucent part of the window's shape.
  for (int i = 14; i > 0; --i) {
    RoundedRect(cr, 400 - i * 2, 180 - i * 2, 690 + i * 4, 500 + i * 4, 18 + i * 2);
    Source(cr, kDusk, 0.025);
    cairo_fill(cr);
  }
  cairo_pattern_t* panel = cairo_pattern_create_linear(0, 180, 0, 680);
  cairo_pattern_add_color_stop_rgba(panel, 0, 0.16, 0.14, 0.30, 0.96);
  cairo_pattern_add_color_stop_rgba(panel, 1, kNight.r, kNight.g, kNight.b, 0.96);
  RoundedRect(cr, 400, 180, 690, 500, 18);
  cairo_set_source(cr, panel);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(panel);
  Source(cr, kGold, 0.9);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  // Header band with a rule under the frame buttons.
  Source(cr, kFrost, 0.08);
  cairo_rectangle(cr, 402, 190, 686, 44);
  cairo_fill(cr);
  Source(cr, kGold, 0.5);
  cairo_rectangle(cr, 420, 236, 650, 1);
  cairo_fill(cr);
  // The page's frame.
  Source(cr, kGold, 0.35);
  cairo_rectangle(cr, 437.5, 243.5, 585, 405);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  Source(cr, {0.05, 0.06, 0.12}, 1.0);
  cairo_rectangle(cr, 440, 246, 580, 400);
  cairo_fill(cr);
  // The emblem, overlapping the panel's left edge.
  Emblem(cr, 400, 300, 96);
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

void RoundButton(const std::string& path, bool pushed, bool close) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 30, 30);
  cairo_t* cr = cairo_create(s);
  cairo_arc(cr, 15, 15, 13.5, 0, 2 * M_PI);
  Rgb fill = close ? Rgb{0.72, 0.20, 0.22} : kDusk;
  if (pushed) fill = Rgb{fill.r * 0.6, fill.g * 0.6, fill.b * 0.6};
  Source(cr, fill, 0.95);
  cairo_fill_preserve(cr);
  Source(cr, kGold, pushed ? 0.6 : 1.0);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  Source(cr, kFrost);
  cairo_set_line_width(cr, 2.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  double d = pushed ? 1 : 0;
  if (close) {
    cairo_move_to(cr, 10 + d, 10 + d);
    cairo_line_to(cr, 20 + d, 20 + d);
    cairo_move_to(cr, 20 + d, 10 + d);
    cairo_line_to(cr, 10 + d, 20 + d);
  } else {
    cairo_move_to(cr, 9 + d, 15 + d);
    cairo_line_to(cr, 21 + d, 15 + d);
  }
  cairo_stroke(cr);
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

// The main window's frame: a title band in the top 28 rows, a dark body, a thin border;
// drawn stretched with corners 7,28,7,3.
void Frame(const std::string& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 70, 35);
  cairo_t* cr = cairo_create(s);
  cairo_pattern_t* title = cairo_pattern_create_linear(0, 0, 0, 28);
  cairo_pattern_add_color_stop_rgb(title, 0, 0.26, 0.22, 0.46);
  cairo_pattern_add_color_stop_rgb(title, 1, kDusk.r, kDusk.g, kDusk.b);
  cairo_rectangle(cr, 0, 0, 70, 28);
  cairo_set_source(cr, title);
  cairo_fill(cr);
  cairo_pattern_destroy(title);
  Source(cr, kNight);
  cairo_rectangle(cr, 0, 28, 70, 7);
  cairo_fill(cr);
  Source(cr, kGold, 0.7);
  cairo_rectangle(cr, 0, 27, 70, 1);
  cairo_fill(cr);
  Source(cr, {0.05, 0.05, 0.10});
  cairo_rectangle(cr, 0.5, 0.5, 69, 34);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

void Logo(const std::string& path, int size) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(s);
  Emblem(cr, size / 2.0, size / 2.0, size / 2.0 - std::max(0.75, size / 32.0));
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

enum class Glyph { kNone, kHide, kMin, kMax, kRestore, kClose, kMute, kVoice };

void DrawGlyph(cairo_t* cr, Glyph g, double cx, double cy) {
  cairo_set_line_width(cr, 1.5);
  switch (g) {
    case Glyph::kHide:  // an eye with a slash: out of sight
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_scale(cr, 1, 0.55);
      cairo_arc(cr, 0, 0, 6, 0, 2 * M_PI);
      cairo_restore(cr);
      cairo_stroke(cr);
      cairo_move_to(cr, cx - 6, cy + 5);
      cairo_line_to(cr, cx + 6, cy - 5);
      cairo_stroke(cr);
      break;
    case Glyph::kMin:
      cairo_move_to(cr, cx - 5, cy + 4);
      cairo_line_to(cr, cx + 5, cy + 4);
      cairo_stroke(cr);
      break;
    case Glyph::kMax:
      cairo_rectangle(cr, cx - 5, cy - 4, 10, 9);
      cairo_stroke(cr);
      break;
    case Glyph::kRestore:
      cairo_rectangle(cr, cx - 5, cy - 2, 8, 7);
      cairo_stroke(cr);
      cairo_move_to(cr, cx - 2, cy - 2);
      cairo_line_to(cr, cx - 2, cy - 5);
      cairo_line_to(cr, cx + 6, cy - 5);
      cairo_line_to(cr, cx + 6, cy + 2);
      cairo_line_to(cr, cx + 3, cy + 2);
      cairo_stroke(cr);
      break;
    case Glyph::kClose:
      cairo_move_to(cr, cx - 4.5, cy - 4.5);
      cairo_line_to(cr, cx + 4.5, cy + 4.5);
      cairo_move_to(cr, cx + 4.5, cy - 4.5);
      cairo_line_to(cr, cx - 4.5, cy + 4.5);
      cairo_stroke(cr);
      break;
    case Glyph::kMute:
    case Glyph::kVoice:
      cairo_move_to(cr, cx - 6, cy - 2);
      cairo_line_to(cr, cx - 3, cy - 2);
      cairo_line_to(cr, cx + 1, cy - 6);
      cairo_line_to(cr, cx + 1, cy + 6);
      cairo_line_to(cr, cx - 3, cy + 2);
      cairo_line_to(cr, cx - 6, cy + 2);
      cairo_close_path(cr);
      cairo_fill(cr);
      if (g == Glyph::kVoice) {
        cairo_arc(cr, cx + 1, cy, 4, -M_PI / 3, M_PI / 3);
        cairo_stroke(cr);
      } else {
        cairo_move_to(cr, cx + 3, cy - 3);
        cairo_line_to(cr, cx + 7, cy + 3);
        cairo_move_to(cr, cx + 7, cy - 3);
        cairo_line_to(cr, cx + 3, cy + 3);
        cairo_stroke(cr);
      }
      break;
    case Glyph::kNone:
      break;
  }
}

// A strip of three states stacked: normal, hot, pushed.
void Strip(const std::string& path, int width, int height, Glyph glyph, bool danger, bool rounded) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height * 3);
  cairo_t* cr = cairo_create(s);
  for (int state = 0; state < 3; ++state) {
    double top = state * height;
    if (state > 0 || rounded) {
      Rgb fill = danger ? Rgb{0.80, 0.22, 0.24} : Rgb{0.42, 0.36, 0.70};
      double alpha = state == 0 ? 0.35 : state == 1 ? 0.85 : 1.0;
      if (state == 2) fill = Rgb{fill.r * 0.65, fill.g * 0.65, fill.b * 0.65};
      if (rounded) RoundedRect(cr, 0.5, top + 0.5, width - 1, height - 1, 4);
      else cairo_rectangle(cr, 0, top, width, height);
      Source(cr, fill, alpha);
      cairo_fill_preserve(cr);
      if (rounded) {
        Source(cr, kGold, state == 1 ? 0.9 : 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
      }
      cairo_new_path(cr);
    }
    Source(cr, kFrost, state == 2 ? 0.8 : 1.0);
    DrawGlyph(cr, glyph, width / 2.0 + (state == 2 ? 0.5 : 0), top + height / 2.0 + (state == 2 ? 0.5 : 0));
  }
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

// A wide button picture of the kind the operator's pages use (174 x 44).
void WideButton(const std::string& path, int index, bool down) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 174, 44);
  cairo_t* cr = cairo_create(s);
  double hue[4][3] = {{0.42, 0.36, 0.70}, {0.22, 0.52, 0.62}, {0.62, 0.42, 0.22}, {0.52, 0.24, 0.40}};
  double k = down ? 0.65 : 1.0;
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 44);
  cairo_pattern_add_color_stop_rgb(g, 0, hue[index][0] * k * 1.2, hue[index][1] * k * 1.2, hue[index][2] * k * 1.2);
  cairo_pattern_add_color_stop_rgb(g, 1, hue[index][0] * k * 0.7, hue[index][1] * k * 0.7, hue[index][2] * k * 0.7);
  RoundedRect(cr, 1, 1, 172, 42, 8);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  Source(cr, kGold, down ? 0.6 : 1.0);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  Star(cr, 24, 22, 9, 3);
  cairo_fill(cr);
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

void Thin(const std::string& path, bool accent) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 14);
  cairo_t* cr = cairo_create(s);
  Source(cr, accent ? kGold : kFrost, accent ? 0.9 : 0.35);
  cairo_rectangle(cr, accent ? 0 : 1, 0, accent ? 2 : 1, 14);
  cairo_fill(cr);
  cairo_destroy(cr);
  Save(s, path);
  cairo_surface_destroy(s);
}

std::vector<uint8_t> PngBytes(int size) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(s);
  Emblem(cr, size / 2.0, size / 2.0, size / 2.0 - std::max(0.75, size / 32.0));
  cairo_destroy(cr);
  std::vector<uint8_t> out;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* v = static_cast<std::vector<uint8_t>*>(closure);
        v->insert(v->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &out);
  cairo_surface_destroy(s);
  return out;
}

// An .ico of PNG-compressed images, one per size.
bool Icon(const std::string& path) {
  const int sizes[] = {128, 96, 64, 48, 32, 24, 20, 16};
  std::vector<std::vector<uint8_t>> images;
  for (int size : sizes) images.push_back(PngBytes(size));
  std::vector<uint8_t> ico;
  auto u16 = [&](uint32_t v) {
    ico.push_back(static_cast<uint8_t>(v));
    ico.push_back(static_cast<uint8_t>(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  u16(0);
  u16(1);
  u16(static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    ico.push_back(static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]));
    ico.push_back(static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]));
    ico.push_back(0);  // colour count
    ico.push_back(0);
    u16(1);   // planes
    u16(32);  // bits per pixel
    u32(static_cast<uint32_t>(images[i].size()));
    u32(offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (auto& image : images) ico.insert(ico.end(), image.begin(), image.end());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <skin/imgs folder> <icon file>\n", argv[0]);
    return 2;
  }
  std::string dir = std::string(argv[1]) + "/";
  LoginBackdrop(dir + "main1.png");
  LoginBackdrop(dir + "main.png");
  RoundButton(dir + "6_n.png", false, false);
  RoundButton(dir + "6_d.png", true, false);
  RoundButton(dir + "7_n.png", false, true);
  RoundButton(dir + "7_d.png", true, true);
  Frame(dir + "bg.png");
  Logo(dir + "logo.png", 16);
  Strip(dir + "btn.png", 45, 21, Glyph::kNone, false, true);
  Strip(dir + "hidebtn.png", 28, 27, Glyph::kHide, false, false);
  Strip(dir + "minbtn.png", 29, 27, Glyph::kMin, false, false);
  Strip(dir + "maxbtn.png", 28, 27, Glyph::kMax, false, false);
  Strip(dir + "restorebtn.png", 28, 27, Glyph::kRestore, false, false);
  Strip(dir + "closebtn.png", 33, 27, Glyph::kClose, true, false);
  Strip(dir + "mutebtn.png", 28, 27, Glyph::kMute, false, false);
  Strip(dir + "voicebtn.png", 28, 27, Glyph::kVoice, false, false);
  for (int i = 0; i < 4; ++i) {
    WideButton(dir + std::to_string(i + 1) + "_n.png", i, false);
    WideButton(dir + std::to_string(i + 1) + "_d.png", i, true);
  }
  Thin(dir + "sep.png", false);
  Thin(dir + "style.png", true);
  return Icon(argv[2]) ? 0 : 1;
}
