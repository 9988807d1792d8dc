// The GTK display's windows: a GtkWindow per top-level window mirroring the core's state,
// the painted surfaces drawn as they are, and the window system's input posted back.
#include "gtk_impl.h"

#include <platform/icons.h>
#include <platform/input.h>

#include <algorithm>
#include <cmath>

namespace korvane::platform {

namespace {

const char kHwndKey[] = "korvane-hwnd";

HWND HwndOf(GtkWidget* widget) { return static_cast<HWND>(g_object_get_data(G_OBJECT(widget), kHwndKey)); }

WPARAM KeyState(guint state) {
  WPARAM keys = 0;
  if (state & GDK_BUTTON1_MASK) keys |= MK_LBUTTON;
  if (state & GDK_BUTTON2_MASK) keys |= MK_MBUTTON;
  if (state & GDK_BUTTON3_MASK) keys |= MK_RBUTTON;
  if (state & GDK_SHIFT_MASK) keys |= MK_SHIFT;
  if (state & GDK_CONTROL_MASK) keys |= MK_CONTROL;
  return keys;
}

POINT ClientPoint(GtkWidget* window, double xRoot, double yRoot) {
  int ox = 0, oy = 0;
  if (GdkWindow* w = gtk_widget_get_window(window)) gdk_window_get_origin(w, &ox, &oy);
  return POINT{static_cast<LONG>(std::floor(xRoot)) - ox, static_cast<LONG>(std::floor(yRoot)) - oy};
}

gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  HWND top = HwndOf(widget);
  struct Layer {
    std::shared_ptr<const SurfaceImage> image;
    POINT offset;
  };
  std::vector<Layer> layers;
  {
    std::lock_guard<std::mutex> lock(impl->mu);
    auto topState = impl->states.find(top);
    if (topState == impl->states.end()) return FALSE;
    if (auto s = impl->surfaces.find(top); s != impl->surfaces.end()) layers.push_back({s->second, POINT{0, 0}});
    // Child windows the platform paints, parents before children.
    for (auto& [hwnd, state] : impl->states) {
      if (!(state.style & WS_CHILD) || !state.visible) continue;
      if (impl->RootLocked(hwnd) != top) continue;
      auto win = impl->wins.find(hwnd);
      if (win != impl->wins.end() && win->second.foreign) continue;
      if (auto s = impl->surfaces.find(hwnd); s != impl->surfaces.end())
        layers.push_back({s->second, POINT{state.rect.left - topState->second.rect.left,
                                           state.rect.top - topState->second.rect.top}});
    }
  }
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  if (layers.empty() || layers.front().offset.x || layers.front().offset.y) {
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
  }
  for (const auto& layer : layers) {
    const SurfaceImage& image = *layer.image;
    if (image.width <= 0 || image.height <= 0) continue;
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.pixels.data())), CAIRO_FORMAT_ARGB32, image.width,
        image.height, image.width * 4);
    cairo_rectangle(cr, layer.offset.x, layer.offset.y, image.width, image.height);
    cairo_set_source_surface(cr, s, layer.offset.x, layer.offset.y);
    cairo_fill(cr);
    cairo_surface_destroy(s);
  }
  cairo_restore(cr);
  return FALSE;  // foreign children draw themselves on top
}

gboolean OnMotion(GtkWidget* widget, GdkEventMotion* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  HWND top = HwndOf(widget);
  {
    std::lock_guard<std::mutex> lock(impl->mu);
    impl->cursor = POINT{static_cast<LONG>(e->x_root), static_cast<LONG>(e->y_root)};
  }
  if (!(e->state & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK))) impl->dragging = nullptr;
  POINT target{};
  HWND hwnd = impl->TargetAt(top, ClientPoint(widget, e->x_root, e->y_root), &target);
  PostMouseInput(hwnd, WM_MOUSEMOVE, target, KeyState(e->state));
  gdk_event_request_motions(e);
  return TRUE;
}

gboolean OnButton(GtkWidget* widget, GdkEventButton* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  if (e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE) return TRUE;  // GTK's double-click extras
  bool down = e->type == GDK_BUTTON_PRESS;
  UINT message = 0;
  WPARAM bit = 0;
  switch (e->button) {
    case 1: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP, bit = MK_LBUTTON; break;
    case 2: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP, bit = MK_MBUTTON; break;
    case 3: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP, bit = MK_RBUTTON; break;
    default: return FALSE;
  }
  {
    std::lock_guard<std::mutex> lock(impl->mu);
    impl->cursor = POINT{static_cast<LONG>(e->x_root), static_cast<LONG>(e->y_root)};
  }
  if (down) {
    impl->lastButton = e->button;
    impl->lastButtonTime = e->time;
  }
  impl->dragging = nullptr;
  WPARAM keys = KeyState(e->state);
  keys = down ? (keys | bit) : (keys & ~bit);
  POINT target{};
  HWND hwnd = impl->TargetAt(HwndOf(widget), ClientPoint(widget, e->x_root, e->y_root), &target);
  PostMouseInput(hwnd, message, target, keys);
  return TRUE;
}

gboolean OnScroll(GtkWidget* widget, GdkEventScroll* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  double steps = 0;
  switch (e->direction) {
    case GDK_SCROLL_UP: steps = 1; break;
    case GDK_SCROLL_DOWN: steps = -1; break;
    case GDK_SCROLL_SMOOTH: steps = -e->delta_y; break;
    default: return FALSE;
  }
  short delta = static_cast<short>(std::lround(steps * WHEEL_DELTA));
  if (!delta) return TRUE;
  POINT target{};
  HWND hwnd = impl->TargetAt(HwndOf(widget), ClientPoint(widget, e->x_root, e->y_root), &target);
  PostMouseInput(hwnd, WM_MOUSEWHEEL, target, KeyState(e->state), delta);
  return TRUE;
}

gboolean OnKey(GtkWidget* widget, GdkEventKey* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  HWND top = HwndOf(widget);
  bool down = e->type == GDK_KEY_PRESS;
  bool alt = (e->state & GDK_MOD1_MASK) != 0;
  bool control = (e->state & GDK_CONTROL_MASK) != 0;
  UINT vk = VirtualKeyFromKeyval(e->keyval);
  impl->keyText.clear();
  bool consumed = false;
  if (!alt && !control) {
    auto im = impl->inputMethods.find(top);
    if (im != impl->inputMethods.end()) {
      impl->inKeyEvent = true;
      consumed = gtk_im_context_filter_keypress(im->second, e);
      impl->inKeyEvent = false;
    }
    if (!consumed && down) {
      gunichar c = gdk_keyval_to_unicode(e->keyval);
      if (c >= 0x20 && c != 0x7F) {
        gchar utf8[8] = {};
        g_unichar_to_utf8(c, utf8);
        impl->keyText = Utf16(utf8);
      }
    }
  }
  if (vk)
    PostKeyInput(top, down, vk, alt, down ? impl->keyText : std::u16string());
  else if (!impl->keyText.empty())
    PostTextInput(top, impl->keyText);
  return TRUE;
}

void OnCommit(GtkIMContext*, const gchar* text, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  if (impl->inKeyEvent) {
    impl->keyText += Utf16(text);
    return;
  }
  // Text an input method finished on its own (a composition): typed into the focused window.
  for (auto& [hwnd, im] : impl->inputMethods)
    if (g_object_get_data(G_OBJECT(im), "korvane-focused")) PostTextInput(hwnd, Utf16(text));
}

gboolean OnFocus(GtkWidget* widget, GdkEventFocus* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  HWND top = HwndOf(widget);
  if (auto im = impl->inputMethods.find(top); im != impl->inputMethods.end()) {
    g_object_set_data(G_OBJECT(im->second), "korvane-focused", GINT_TO_POINTER(e->in ? 1 : 0));
    e->in ? gtk_im_context_focus_in(im->second) : gtk_im_context_focus_out(im->second);
  }
  PostActivation(top, e->in != 0);
  return FALSE;
}

gboolean OnDelete(GtkWidget* widget, GdkEvent*, gpointer) {
  PostCloseRequest(HwndOf(widget));
  return TRUE;  // the core decides whether the window goes
}

gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  auto it = impl->wins.find(HwndOf(widget));
  if (it == impl->wins.end()) return FALSE;
  GtkWin& win = it->second;
  int x = e->x, y = e->y;
  if (GdkWindow* w = gtk_widget_get_window(widget)) gdk_window_get_origin(w, &x, &y);
  RECT r{x, y, x + e->width, y + e->height};
  if (EqualRect(&r, &win.requested)) {
    win.requestPending = false;
    return FALSE;
  }
  // A change nobody here asked for: the window system moved or sized the window.
  if (impl->dragging == win.hwnd || !win.requestPending) {
    win.requested = r;
    PostWindowRectBySystem(win.hwnd, r);
  }
  return FALSE;
}

void SetIcons(GtkWindow* window, HICON icon) {
  if (!icon) icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101));
  std::vector<IconImage> images;
  if (!icon || !GetIconImages(icon, &images)) return;
  GList* list = nullptr;
  for (const auto& image : images)
    if (GdkPixbuf* p = PixbufFromIcon(icon, image.width)) list = g_list_append(list, p);
  gtk_window_set_icon_list(window, list);
  g_list_free_full(list, g_object_unref);
}

}  // namespace

std::string Utf8(const std::u16string& text) {
  gchar* s = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(text.data()), static_cast<glong>(text.size()), nullptr,
                             nullptr, nullptr);
  std::string out = s ? s : "";
  g_free(s);
  return out;
}

std::u16string Utf16(const char* text) {
  gunichar2* s = g_utf8_to_utf16(text, -1, nullptr, nullptr, nullptr);
  std::u16string out = s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
  g_free(s);
  return out;
}

GdkPixbuf* PixbufFromIcon(HICON icon, int size) {
  std::vector<IconImage> images;
  if (!icon || !GetIconImages(icon, &images) || images.empty()) return nullptr;
  const IconImage* best = &images.front();
  for (const auto& image : images)
    if (image.width >= size && image.width < best->width) best = &image;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (!loader) return nullptr;
  GdkPixbuf* pixbuf = nullptr;
  if (gdk_pixbuf_loader_write(loader, best->png.data(), best->png.size(), nullptr) &&
      gdk_pixbuf_loader_close(loader, nullptr)) {
    pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
    if (pixbuf) g_object_ref(pixbuf);
  } else {
    gdk_pixbuf_loader_close(loader, nullptr);
  }
  g_object_unref(loader);
  return pixbuf;
}

void GtkDisplay::Impl::ScheduleSync(HWND hwnd) {
  if (syncPending.insert(hwnd).second) Post([this, hwnd] { Sync(hwnd); });
}

void GtkDisplay::Impl::Sync(HWND hwnd) {
  WindowState state;
  bool alive = false;
  {
    std::lock_guard<std::mutex> lock(mu);
    syncPending.erase(hwnd);
    auto it = states.find(hwnd);
    if (it != states.end()) {
      state = it->second;
      alive = true;
    }
  }
  auto it = wins.find(hwnd);
  if (!alive) {
    if (it != wins.end()) {
      DestroyWin(it->second);
      wins.erase(it);
    }
    return;
  }
  GtkWin& win = wins[hwnd];
  win.hwnd = hwnd;
  if (state.style & WS_CHILD)
    ApplyChild(win, state);
  else
    ApplyTopLevel(win, state);
  win.applied = state;
}

void GtkDisplay::Impl::Connect(GtkWin& win) {
  GtkWidget* w = win.window;
  g_object_set_data(G_OBJECT(w), kHwndKey, win.hwnd);
  gtk_widget_add_events(w, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                               GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                               GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK);
  g_signal_connect(w, "draw", G_CALLBACK(OnDraw), this);
  g_signal_connect(w, "motion-notify-event", G_CALLBACK(OnMotion), this);
  g_signal_connect(w, "button-press-event", G_CALLBACK(OnButton), this);
  g_signal_connect(w, "button-release-event", G_CALLBACK(OnButton), this);
  g_signal_connect(w, "scroll-event", G_CALLBACK(OnScroll), this);
  g_signal_connect(w, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(w, "key-release-event", G_CALLBACK(OnKey), this);
  g_signal_connect(w, "focus-in-event", G_CALLBACK(OnFocus), this);
  g_signal_connect(w, "focus-out-event", G_CALLBACK(OnFocus), this);
  g_signal_connect(w, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(w, "configure-event", G_CALLBACK(OnConfigure), this);
  GtkIMContext* im = gtk_im_multicontext_new();
  g_signal_connect(im, "commit", G_CALLBACK(OnCommit), this);
  inputMethods[win.hwnd] = im;
}

void GtkDisplay::Impl::ApplyTopLevel(GtkWin& win, const WindowState& state) {
  bool created = false;
  if (!win.window) {
    created = true;
    win.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* w = GTK_WINDOW(win.window);
    std::string cls = Utf8(state.className);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_window_set_wmclass(w, cls.c_str(), cls.c_str());  // so tools find the window by its class
    G_GNUC_END_IGNORE_DEPRECATIONS
    gtk_window_set_decorated(w, FALSE);
    gtk_widget_set_app_paintable(win.window, TRUE);
    win.layered = (state.exStyle & WS_EX_LAYERED) != 0;
    if (win.layered)
      if (GdkVisual* rgba = gdk_screen_get_rgba_visual(gtk_widget_get_screen(win.window)))
        gtk_widget_set_visual(win.window, rgba);
    win.fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(win.window), win.fixed);
    gtk_widget_show(win.fixed);
    Connect(win);
    gtk_widget_realize(win.window);
    gtk_im_context_set_client_window(inputMethods[win.hwnd], gtk_widget_get_window(win.window));
  }
  GtkWindow* w = GTK_WINDOW(win.window);
  if (created || state.title != win.applied.title) gtk_window_set_title(w, Utf8(state.title).c_str());
  if (created || state.icon != win.applied.icon) SetIcons(w, state.icon);
  bool tool = (state.exStyle & WS_EX_TOOLWINDOW) != 0;
  gtk_window_set_skip_taskbar_hint(w, tool);
  gtk_window_set_skip_pager_hint(w, tool);
  gtk_window_set_keep_above(w, (state.exStyle & WS_EX_TOPMOST) != 0);
  gtk_window_set_accept_focus(w, !(state.exStyle & WS_EX_NOACTIVATE));
  GtkWindow* owner = nullptr;
  if (auto o = wins.find(state.owner); o != wins.end() && o->second.window) owner = GTK_WINDOW(o->second.window);
  if (gtk_window_get_transient_for(w) != owner) gtk_window_set_transient_for(w, owner);

  RECT r = state.rect;
  // A minimised window is only hidden: the far-away place Windows parks it at is no place.
  if (!state.minimized && !EqualRect(&r, &win.requested)) {
    win.requested = r;
    win.requestPending = true;
    gtk_window_move(w, r.left, r.top);
    gtk_window_resize(w, std::max<LONG>(1, r.right - r.left), std::max<LONG>(1, r.bottom - r.top));
  }
  bool show = state.visible && !state.minimized;  // nothing on screen while minimised
  if (show && !win.shown) {
    gtk_widget_show(win.window);
    win.shown = true;
    gdk_window_raise(gtk_widget_get_window(win.window));
    Restack();
  } else if (!show && win.shown) {
    gtk_widget_hide(win.window);
    win.shown = false;
  }
  gtk_widget_set_sensitive(win.window, state.enabled);
  gtk_widget_queue_draw(win.window);
}

HWND GtkDisplay::Impl::RootLocked(HWND hwnd, int* depth) const {
  int steps = 0;
  for (auto it = states.find(hwnd); it != states.end() && (it->second.style & WS_CHILD); it = states.find(hwnd)) {
    hwnd = it->second.parent;
    ++steps;
  }
  if (depth) *depth = steps;
  return hwnd;
}

GtkWin* GtkDisplay::Impl::TopLevelOf(HWND hwnd) {
  HWND root = nullptr;
  {
    std::lock_guard<std::mutex> lock(mu);
    root = RootLocked(hwnd);
  }
  auto it = wins.find(root);
  if (it == wins.end()) {
    Sync(root);
    it = wins.find(root);
  }
  return it != wins.end() && it->second.window ? &it->second : nullptr;
}

void GtkDisplay::Impl::ApplyChild(GtkWin& win, const WindowState& state) {
  GtkWin* top = TopLevelOf(win.hwnd);
  if (!top) return;
  if (!win.foreign) {
    gtk_widget_queue_draw(top->window);
    return;
  }
  RECT topRect = top->applied.rect;
  {
    std::lock_guard<std::mutex> lock(mu);
    if (auto t = states.find(top->hwnd); t != states.end()) topRect = t->second.rect;
  }
  int x = state.rect.left - topRect.left, y = state.rect.top - topRect.top;
  GtkWidget* parent = gtk_widget_get_parent(win.foreign);
  if (parent != top->fixed) {
    if (parent) gtk_container_remove(GTK_CONTAINER(parent), win.foreign);
    gtk_fixed_put(GTK_FIXED(top->fixed), win.foreign, x, y);
  } else {
    gtk_fixed_move(GTK_FIXED(top->fixed), win.foreign, x, y);
  }
  gtk_widget_set_size_request(win.foreign, std::max<LONG>(1, state.rect.right - state.rect.left),
                              std::max<LONG>(1, state.rect.bottom - state.rect.top));
  if (state.visible)
    gtk_widget_show(win.foreign);
  else
    gtk_widget_hide(win.foreign);
}

void GtkDisplay::Impl::DestroyWin(GtkWin& win) {
  if (win.foreign) {
    if (GtkWidget* parent = gtk_widget_get_parent(win.foreign))
      gtk_container_remove(GTK_CONTAINER(parent), win.foreign);
    g_object_unref(win.foreign);
    win.foreign = nullptr;
  }
  if (win.window) {
    // Foreign children still inside leave first: their owners hold them.
    for (auto& [hwnd, other] : wins)
      if (other.foreign && gtk_widget_get_parent(other.foreign) == win.fixed)
        gtk_container_remove(GTK_CONTAINER(win.fixed), other.foreign);
    if (auto im = inputMethods.find(win.hwnd); im != inputMethods.end()) {
      gtk_im_context_set_client_window(im->second, nullptr);
      g_object_unref(im->second);
      inputMethods.erase(im);
    }
    gtk_widget_destroy(win.window);
    win.window = nullptr;
  }
}

// Without a window manager nothing keeps owned windows above their owners; the display
// raises each shown window's owned windows above it, then the topmost ones.
void GtkDisplay::Impl::Restack() {
  std::vector<std::pair<int, GtkWin*>> order;
  for (auto& [hwnd, win] : wins) {
    if (!win.window || !win.shown) continue;
    int depth = 0;
    for (HWND o = win.applied.owner; o && depth < 64; ++depth) {
      auto it = wins.find(o);
      o = it == wins.end() ? nullptr : it->second.applied.owner;
    }
    if (win.applied.exStyle & WS_EX_TOPMOST) depth += 1000;
    order.emplace_back(depth, &win);
  }
  std::stable_sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (auto& [depth, win] : order)
    if (depth > 0) gdk_window_raise(gtk_widget_get_window(win->window));
}

HWND GtkDisplay::Impl::TargetAt(HWND top, POINT client, POINT* targetPoint) {
  *targetPoint = client;
  std::lock_guard<std::mutex> lock(mu);
  auto t = states.find(top);
  if (t == states.end()) return top;
  POINT screen{t->second.rect.left + client.x, t->second.rect.top + client.y};
  HWND best = top;
  int bestDepth = 0;
  for (auto& [hwnd, state] : states) {
    if (!(state.style & WS_CHILD) || !state.visible || !PtInRect(&state.rect, screen)) continue;
    auto win = wins.find(hwnd);
    if (win != wins.end() && win->second.foreign) continue;  // it takes its own input
    int depth = 0;
    if (RootLocked(hwnd, &depth) == top && depth >= bestDepth) {
      best = hwnd;
      bestDepth = depth;
      *targetPoint = POINT{screen.x - state.rect.left, screen.y - state.rect.top};
    }
  }
  return best;
}

void GtkDisplay::Impl::Redraw(HWND top) {
  std::shared_ptr<const SurfaceImage> image;
  {
    std::lock_guard<std::mutex> lock(mu);
    redrawPending.erase(top);
    if (auto s = surfaces.find(top); s != surfaces.end()) image = s->second;
  }
  auto it = wins.find(top);
  if (it == wins.end() || !it->second.window) return;
  GtkWin& win = it->second;
  if (win.layered && image && image->width > 0 && image->height > 0) {
    // Shaped by the picture: pixels of no alpha are neither shown nor clickable.
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image->pixels.data())), CAIRO_FORMAT_ARGB32,
        image->width, image->height, image->width * 4);
    cairo_region_t* region = gdk_cairo_region_create_from_surface(s);
    gtk_widget_shape_combine_region(win.window, region);
    gdk_window_input_shape_combine_region(gtk_widget_get_window(win.window), region, 0, 0);
    cairo_region_destroy(region);
    cairo_surface_destroy(s);
  }
  gtk_widget_queue_draw(win.window);
}

void GtkDisplay::Impl::UpdateScreen() {
  GdkDisplay* display = gdk_display_get_default();
  GdkWindow* root = gdk_get_default_root_window();
  ScreenInfo info;
  info.screen = RECT{0, 0, gdk_window_get_width(root), gdk_window_get_height(root)};
  info.workArea = info.screen;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
  if (monitor) {
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);  // _NET_WORKAREA where a window manager sets it
    info.workArea = RECT{area.x, area.y, area.x + area.width, area.y + area.height};
  }
  std::lock_guard<std::mutex> lock(mu);
  screen = info;
}

// ---- Display: windows ---------------------------------------------------------------------

void GtkDisplay::WindowCreated(const WindowState& state) { WindowChanged(state); }

void GtkDisplay::WindowChanged(const WindowState& state) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->states[state.hwnd] = state;
  impl_->ScheduleSync(state.hwnd);
}

void GtkDisplay::WindowDestroyed(HWND hwnd) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  impl_->states.erase(hwnd);
  impl_->surfaces.erase(hwnd);
  impl_->ScheduleSync(hwnd);
}

void GtkDisplay::SurfaceUpdated(HWND hwnd, std::shared_ptr<const SurfaceImage> image) {
  std::lock_guard<std::mutex> lock(impl_->mu);
  if (!impl_->states.count(hwnd)) return;
  impl_->surfaces[hwnd] = std::move(image);
  HWND top = impl_->RootLocked(hwnd);
  if (impl_->redrawPending.insert(top).second) impl_->Post([impl = impl_.get(), top] { impl->Redraw(top); });
}

void GtkDisplay::BeginMoveDrag(HWND hwnd, POINT screenPoint) {
  impl_->Post([impl = impl_.get(), hwnd, screenPoint] {
    auto it = impl->wins.find(hwnd);
    if (it == impl->wins.end() || !it->second.window) return;
    impl->dragging = hwnd;
    gtk_window_begin_move_drag(GTK_WINDOW(it->second.window), static_cast<gint>(impl->lastButton), screenPoint.x,
                               screenPoint.y, impl->lastButtonTime);
  });
}

void GtkDisplay::BeginResizeDrag(HWND hwnd, int hitCode, POINT screenPoint) {
  GdkWindowEdge edge;
  switch (hitCode) {
    case HTLEFT: edge = GDK_WINDOW_EDGE_WEST; break;
    case HTRIGHT: edge = GDK_WINDOW_EDGE_EAST; break;
    case HTTOP: edge = GDK_WINDOW_EDGE_NORTH; break;
    case HTBOTTOM: edge = GDK_WINDOW_EDGE_SOUTH; break;
    case HTTOPLEFT: edge = GDK_WINDOW_EDGE_NORTH_WEST; break;
    case HTTOPRIGHT: edge = GDK_WINDOW_EDGE_NORTH_EAST; break;
    case HTBOTTOMLEFT: edge = GDK_WINDOW_EDGE_SOUTH_WEST; break;
    case HTBOTTOMRIGHT: edge = GDK_WINDOW_EDGE_SOUTH_EAST; break;
    default: return;
  }
  impl_->Post([impl = impl_.get(), hwnd, edge, screenPoint] {
    auto it = impl->wins.find(hwnd);
    if (it == impl->wins.end() || !it->second.window) return;
    impl->dragging = hwnd;
    gtk_window_begin_resize_drag(GTK_WINDOW(it->second.window), edge, static_cast<gint>(impl->lastButton),
                                 screenPoint.x, screenPoint.y, impl->lastButtonTime);
  });
}

void GtkDisplay::SetForeignContent(HWND child, GtkWidget* widget) {
  impl_->Sync(child);
  auto it = impl_->wins.find(child);
  if (it == impl_->wins.end()) return;
  GtkWin& win = it->second;
  if (win.foreign == widget) return;
  if (win.foreign) {
    if (GtkWidget* parent = gtk_widget_get_parent(win.foreign))
      gtk_container_remove(GTK_CONTAINER(parent), win.foreign);
    g_object_unref(win.foreign);
  }
  win.foreign = widget ? GTK_WIDGET(g_object_ref(widget)) : nullptr;
  impl_->ApplyChild(win, win.applied);
}

GtkWidget* GtkDisplay::TopLevelWidget(HWND hwnd) const {
  auto it = impl_->wins.find(hwnd);
  return it == impl_->wins.end() ? nullptr : it->second.window;
}

std::shared_ptr<const SurfaceImage> GtkDisplay::Surface(HWND hwnd) const {
  std::lock_guard<std::mutex> lock(impl_->mu);
  auto it = impl_->surfaces.find(hwnd);
  return it == impl_->surfaces.end() ? nullptr : it->second;
}

POINT GtkDisplay::CursorPos() {
  std::lock_guard<std::mutex> lock(impl_->mu);
  return impl_->cursor;
}

void GtkDisplay::SetCursorPos(POINT point) {
  {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->cursor = point;
  }
  impl_->Post([point] {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    if (GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr)
      gdk_device_warp(pointer, gdk_screen_get_default(), point.x, point.y);
  });
}

ScreenInfo GtkDisplay::Screen() {
  std::lock_guard<std::mutex> lock(impl_->mu);
  return impl_->screen;
}

}  // namespace korvane::platform
