// The GTK display's services: message boxes, popup menus, tray icons, hot keys and the
// shell.
#include "gtk_impl.h"

#include <platform/input.h>

#include <gdk/gdkx.h>
#include <X11/Xlib.h>

namespace korvane::platform {

namespace {

// "&File" marks its mnemonic the Windows way; GTK marks it with "_" ("&&" is a plain "&").
std::string Mnemonic(const std::u16string& text) {
  std::string in = Utf8(text), out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '_') {
      out += "__";
    } else if (in[i] == '&') {
      if (i + 1 < in.size() && in[i + 1] == '&') {
        out += '&';
        ++i;
      } else {
        out += '_';
      }
    } else {
      out += in[i];
    }
  }
  return out;
}

GtkWindow* OwnerWindow(GtkDisplay::Impl* impl, HWND owner) {
  for (HWND h = owner; h;) {
    auto it = impl->wins.find(h);
    if (it != impl->wins.end() && it->second.window) return GTK_WINDOW(it->second.window);
    std::lock_guard<std::mutex> lock(impl->mu);
    auto s = impl->states.find(h);
    h = s == impl->states.end() ? nullptr : (s->second.style & WS_CHILD) ? s->second.parent : s->second.owner;
  }
  return nullptr;
}

unsigned XModifiers(UINT modifiers) {
  unsigned mods = 0;
  if (modifiers & MOD_ALT) mods |= Mod1Mask;
  if (modifiers & MOD_CONTROL) mods |= ControlMask;
  if (modifiers & MOD_SHIFT) mods |= ShiftMask;
  if (modifiers & MOD_WIN) mods |= Mod4Mask;
  return mods;
}

// A grab must hold whatever the state of Caps Lock (Lock) and Num Lock (Mod2).
const unsigned kLockVariants[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

GdkFilterReturn RootFilter(GdkXEvent* xevent, GdkEvent*, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  auto* e = static_cast<XEvent*>(xevent);
  if (e->type != KeyPress) return GDK_FILTER_CONTINUE;
  unsigned state = e->xkey.state & ~(LockMask | Mod2Mask);
  for (auto& [key, grab] : impl->hotKeys)
    if (grab.first == static_cast<int>(e->xkey.keycode) && grab.second == state) {
      PostHotKeyPress(key.first, key.second);
      return GDK_FILTER_REMOVE;
    }
  return GDK_FILTER_CONTINUE;
}

// Tray clicks come as the button's down and up messages, as Windows sends them.
gboolean OnTrayButton(GtkStatusIcon* icon, GdkEventButton* e, gpointer data) {
  auto* impl = static_cast<GtkDisplay::Impl*>(data);
  HWND hwnd = static_cast<HWND>(g_object_get_data(G_OBJECT(icon), "korvane-hwnd"));
  UINT id = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(icon), "korvane-id"));
  bool down = e->type == GDK_BUTTON_PRESS;
  if (e->type == GDK_2BUTTON_PRESS) {
    if (e->button == 1) PostTrayMouse(hwnd, id, WM_LBUTTONDBLCLK);
    return TRUE;
  }
  if (e->type != GDK_BUTTON_PRESS && e->type != GDK_BUTTON_RELEASE) return TRUE;
  {
    std::lock_guard<std::mutex> lock(impl->mu);
    impl->cursor = POINT{static_cast<LONG>(e->x_root), static_cast<LONG>(e->y_root)};
  }
  UINT message = 0;
  switch (e->button) {
    case 1: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    case 2: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    case 3: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
    default: return FALSE;
  }
  PostTrayMouse(hwnd, id, message);
  return TRUE;
}

}  // namespace

// ---- Message boxes ------------------------------------------------------------------------

void GtkDisplay::Impl::ShowBox(const MessageBoxRequest& request) {
  UINT buttons = request.type & 0x0F, icon = request.type & 0xF0;
  GtkMessageType kind = icon == MB_ICONERROR         ? GTK_MESSAGE_ERROR
                        : icon == MB_ICONWARNING     ? GTK_MESSAGE_WARNING
                        : icon == MB_ICONQUESTION    ? GTK_MESSAGE_QUESTION
                        : icon == MB_ICONINFORMATION ? GTK_MESSAGE_INFO
                                                     : GTK_MESSAGE_OTHER;
  GtkWindow* owner = OwnerWindow(this, request.owner);
  GtkWidget* dialog = gtk_message_dialog_new(owner, static_cast<GtkDialogFlags>(owner ? GTK_DIALOG_MODAL : 0), kind,
                                             GTK_BUTTONS_NONE, "%s", Utf8(request.text).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), Utf8(request.caption).c_str());
  struct Button {
    const char* label;
    int result;
  };
  std::vector<Button> list;
  switch (buttons) {
    case MB_OKCANCEL: list = {{"_OK", IDOK}, {"_Cancel", IDCANCEL}}; break;
    case MB_YESNOCANCEL: list = {{"_Yes", IDYES}, {"_No", IDNO}, {"_Cancel", IDCANCEL}}; break;
    case MB_YESNO: list = {{"_Yes", IDYES}, {"_No", IDNO}}; break;
    case MB_RETRYCANCEL: list = {{"_Retry", IDRETRY}, {"_Cancel", IDCANCEL}}; break;
    default: list = {{"_OK", IDOK}}; break;
  }
  for (const auto& b : list) gtk_dialog_add_button(GTK_DIALOG(dialog), b.label, b.result);
  int defaultIndex = (request.type & MB_DEFBUTTON3) ? 2 : (request.type & MB_DEFBUTTON2) ? 1 : 0;
  if (defaultIndex < static_cast<int>(list.size()))
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), list[static_cast<size_t>(defaultIndex)].result);
  // Closing the box answers as Windows does: Cancel where there is one, OK for a lone OK.
  int closeResult = 0;
  for (const auto& b : list)
    if (b.result == IDCANCEL) closeResult = IDCANCEL;
  if (!closeResult && list.size() == 1) closeResult = IDOK;
  g_object_set_data(G_OBJECT(dialog), "korvane-id", GINT_TO_POINTER(request.id));
  g_object_set_data(G_OBJECT(dialog), "korvane-close", GINT_TO_POINTER(closeResult));
  g_signal_connect(dialog, "response", G_CALLBACK(+[](GtkDialog* d, gint response, gpointer data) {
                     auto* impl = static_cast<GtkDisplay::Impl*>(data);
                     int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(d), "korvane-id"));
                     int result = response > 0 ? response : GPOINTER_TO_INT(g_object_get_data(G_OBJECT(d), "korvane-close"));
                     if (response <= 0 && !result) return;  // a box without Cancel stays until answered
                     impl->boxes.erase(id);
                     gtk_widget_destroy(GTK_WIDGET(d));
                     CompleteMessageBox(id, result);
                   }),
                   this);
  boxes[request.id] = dialog;
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  // Without a window manager nobody gives the box the keyboard; it takes it once mapped.
  gtk_widget_add_events(dialog, GDK_STRUCTURE_MASK);
  g_signal_connect(dialog, "map-event", G_CALLBACK(+[](GtkWidget* d, GdkEvent*, gpointer) -> gboolean {
                     gdk_window_focus(gtk_widget_get_window(d), GDK_CURRENT_TIME);
                     return FALSE;
                   }),
                   nullptr);
  gtk_window_present(GTK_WINDOW(dialog));
}

void GtkDisplay::ShowMessageBox(const MessageBoxRequest& request) {
  impl_->Post([impl = impl_.get(), request] { impl->ShowBox(request); });
}

void GtkDisplay::CancelMessageBox(int id) {
  impl_->Post([impl = impl_.get(), id] {
    auto it = impl->boxes.find(id);
    if (it == impl->boxes.end()) return;
    gtk_widget_destroy(it->second);
    impl->boxes.erase(it);
  });
}

// ---- Menus ----------------------------------------------------------------------------------

void GtkDisplay::Impl::ShowMenu(const MenuRequest& request) {
  GtkWidget* menu = gtk_menu_new();
  int id = request.id;
  for (const auto& item : request.items) {
    GtkWidget* widget = nullptr;
    if (item.flags & MF_SEPARATOR) {
      widget = gtk_separator_menu_item_new();
    } else {
      std::string label = Mnemonic(item.text);
      widget = (item.flags & MF_CHECKED) ? gtk_check_menu_item_new_with_mnemonic(label.c_str())
                                         : gtk_menu_item_new_with_mnemonic(label.c_str());
      if (item.flags & MF_CHECKED) gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), TRUE);
      gtk_widget_set_sensitive(widget, !(item.flags & (MF_GRAYED | MF_DISABLED)));
      g_object_set_data(G_OBJECT(widget), "korvane-item", reinterpret_cast<gpointer>(item.id));
      g_signal_connect(widget, "activate", G_CALLBACK(+[](GtkMenuItem* w, gpointer data) {
                         auto* impl = static_cast<GtkDisplay::Impl*>(data);
                         int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(w), "korvane-menu"));
                         auto it = impl->menus.find(id);
                         if (it == impl->menus.end() || it->second.completed) return;
                         it->second.completed = true;
                         CompleteMenu(id, reinterpret_cast<UINT_PTR>(g_object_get_data(G_OBJECT(w), "korvane-item")));
                       }),
                       this);
    }
    g_object_set_data(G_OBJECT(widget), "korvane-menu", GINT_TO_POINTER(id));
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), widget);
  }
  gtk_widget_show_all(menu);
  menus[id] = OpenMenu{menu, false};
  // GTK deactivates the menu before it activates the chosen item, so a dismissal is only
  // known once the loop comes round again.
  g_signal_connect(menu, "deactivate", G_CALLBACK(+[](GtkMenuShell* m, gpointer data) {
                     auto* impl = static_cast<GtkDisplay::Impl*>(data);
                     int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(m), "korvane-menu"));
                     impl->Post([impl, id] {
                       auto it = impl->menus.find(id);
                       if (it == impl->menus.end()) return;
                       if (!it->second.completed) CompleteMenu(id, 0);
                       gtk_widget_destroy(it->second.menu);
                       impl->menus.erase(it);
                     });
                   }),
                   this);
  g_object_set_data(G_OBJECT(menu), "korvane-menu", GINT_TO_POINTER(id));
  GtkWindow* owner = OwnerWindow(this, request.owner);
  GdkWindow* anchor = owner ? gtk_widget_get_window(GTK_WIDGET(owner)) : nullptr;
  GdkRectangle at{request.point.x, request.point.y, 1, 1};
  if (anchor) {
    int ox = 0, oy = 0;
    gdk_window_get_origin(anchor, &ox, &oy);
    at.x -= ox;
    at.y -= oy;
  } else {
    anchor = gdk_get_default_root_window();
  }
  // GTK places a menu for the event that asked for it; the request came as a message, so the
  // event is the last button press the display saw.
  GdkEvent* trigger = gdk_event_new(GDK_BUTTON_PRESS);
  trigger->button.window = GDK_WINDOW(g_object_ref(anchor));
  trigger->button.time = lastButtonTime;
  trigger->button.button = lastButton;
  if (GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default()))
    gdk_event_set_device(trigger, gdk_seat_get_pointer(seat));
  gtk_menu_popup_at_rect(GTK_MENU(menu), anchor, &at, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, trigger);
  gdk_event_free(trigger);
}

void GtkDisplay::TrackMenu(const MenuRequest& request) {
  impl_->Post([impl = impl_.get(), request] { impl->ShowMenu(request); });
}

void GtkDisplay::CancelMenu(int id) {
  impl_->Post([impl = impl_.get(), id] {
    auto it = impl->menus.find(id);
    if (it == impl->menus.end()) return;
    it->second.completed = true;  // the core has stopped waiting
    gtk_menu_popdown(GTK_MENU(it->second.menu));
  });
}

// ---- Tray -------------------------------------------------------------------------------------

G_GNUC_BEGIN_IGNORE_DEPRECATIONS  // GtkStatusIcon is what XEmbed system trays take

void GtkDisplay::Impl::SetTrayIcon(const TrayIconState& state, bool create) {
  auto key = std::make_pair(state.hwnd, state.id);
  auto it = trayIcons.find(key);
  if (it == trayIcons.end()) {
    if (!create) return;
    GtkStatusIcon* icon = gtk_status_icon_new();
    g_object_set_data(G_OBJECT(icon), "korvane-hwnd", state.hwnd);
    g_object_set_data(G_OBJECT(icon), "korvane-id", GUINT_TO_POINTER(state.id));
    g_signal_connect(icon, "button-press-event", G_CALLBACK(OnTrayButton), this);
    g_signal_connect(icon, "button-release-event", G_CALLBACK(OnTrayButton), this);
    it = trayIcons.emplace(key, G_OBJECT(icon)).first;
  }
  GtkStatusIcon* icon = GTK_STATUS_ICON(it->second);
  HICON handle = state.icon ? state.icon : LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101));
  if (GdkPixbuf* pixbuf = PixbufFromIcon(handle, 32)) {
    gtk_status_icon_set_from_pixbuf(icon, pixbuf);
    g_object_unref(pixbuf);
  } else {
    gtk_status_icon_set_from_icon_name(icon, "application-x-executable");
  }
  gtk_status_icon_set_tooltip_text(icon, Utf8(state.tip).c_str());
  gtk_status_icon_set_visible(icon, TRUE);
}

void GtkDisplay::Impl::RemoveTrayIcon(HWND hwnd, UINT id) {
  auto it = trayIcons.find(std::make_pair(hwnd, id));
  if (it == trayIcons.end()) return;
  gtk_status_icon_set_visible(GTK_STATUS_ICON(it->second), FALSE);
  g_object_unref(it->second);
  trayIcons.erase(it);
}

bool GtkDisplay::TrayIconRect(HWND hwnd, UINT id, RECT* rect) {
  bool ok = false;
  Invoke([&] {
    auto it = impl_->trayIcons.find(std::make_pair(hwnd, id));
    GdkRectangle area{};
    if (it == impl_->trayIcons.end() || !gtk_status_icon_is_embedded(GTK_STATUS_ICON(it->second)) ||
        !gtk_status_icon_get_geometry(GTK_STATUS_ICON(it->second), nullptr, &area, nullptr))
      return;
    if (area.width <= 1 || area.height <= 1) return;  // a placeholder until the tray has laid it out
    *rect = RECT{area.x, area.y, area.x + area.width, area.y + area.height};
    ok = true;
  });
  return ok;
}

G_GNUC_END_IGNORE_DEPRECATIONS

void GtkDisplay::TrayIconAdded(const TrayIconState& icon) {
  impl_->Post([impl = impl_.get(), icon] { impl->SetTrayIcon(icon, true); });
}

void GtkDisplay::TrayIconModified(const TrayIconState& icon) {
  impl_->Post([impl = impl_.get(), icon] { impl->SetTrayIcon(icon, false); });
}

void GtkDisplay::TrayIconDeleted(HWND hwnd, UINT id) {
  impl_->Post([impl = impl_.get(), hwnd, id] { impl->RemoveTrayIcon(hwnd, id); });
}

// ---- Hot keys -----------------------------------------------------------------------------------

bool GtkDisplay::Impl::Grab(UINT modifiers, UINT vk) {
  GdkDisplay* display = gdk_display_get_default();
  ::Display* x = GDK_DISPLAY_XDISPLAY(display);
  guint keyval = KeyvalFromVirtualKey(vk);
  KeyCode code = keyval ? XKeysymToKeycode(x, keyval) : 0;
  if (!code) return false;
  Window root = DefaultRootWindow(x);
  unsigned mods = XModifiers(modifiers);
  // Another client holding the key makes the grab fail with BadAccess, trapped here.
  gdk_x11_display_error_trap_push(display);
  for (unsigned lock : kLockVariants) XGrabKey(x, code, mods | lock, root, False, GrabModeAsync, GrabModeAsync);
  XSync(x, False);
  if (gdk_x11_display_error_trap_pop(display) != 0) {
    gdk_x11_display_error_trap_push(display);
    for (unsigned lock : kLockVariants) XUngrabKey(x, code, mods | lock, root);
    XSync(x, False);
    gdk_x11_display_error_trap_pop_ignored(display);
    return false;
  }
  if (!rootFilterInstalled) {
    gdk_window_add_filter(gdk_get_default_root_window(), RootFilter, this);
    rootFilterInstalled = true;
  }
  hotKeys[{modifiers, vk}] = {code, mods};
  return true;
}

void GtkDisplay::Impl::Ungrab(UINT modifiers, UINT vk) {
  auto it = hotKeys.find({modifiers, vk});
  if (it == hotKeys.end()) return;
  GdkDisplay* display = gdk_display_get_default();
  ::Display* x = GDK_DISPLAY_XDISPLAY(display);
  gdk_x11_display_error_trap_push(display);
  for (unsigned lock : kLockVariants)
    XUngrabKey(x, it->second.first, it->second.second | lock, DefaultRootWindow(x));
  XSync(x, False);
  gdk_x11_display_error_trap_pop_ignored(display);
  hotKeys.erase(it);
}

bool GtkDisplay::GrabHotKey(UINT modifiers, UINT vk) {
  bool ok = false;
  Invoke([&] { ok = impl_->Grab(modifiers, vk); });
  return ok;
}

void GtkDisplay::ReleaseHotKey(UINT modifiers, UINT vk) {
  impl_->Post([impl = impl_.get(), modifiers, vk] { impl->Ungrab(modifiers, vk); });
}

// ---- Shell --------------------------------------------------------------------------------------

bool GtkDisplay::Open(const ShellRequest& request) {
  if (!request.verb.empty() && request.verb != u"open") return false;
  if (request.file.empty()) return false;
  // xdg-open with the address as its only argument: no shell reads it, and GLib's
  // intermediate child means nobody has to wait for it.
  std::string file = Utf8(request.file);
  gchar* argv[] = {const_cast<gchar*>("xdg-open"), const_cast<gchar*>(file.c_str()), nullptr};
  GError* error = nullptr;
  gboolean ok = g_spawn_async(nullptr, argv, nullptr,
                              static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL), nullptr,
                              nullptr, nullptr, &error);
  if (error) g_error_free(error);
  return ok;
}

}  // namespace korvane::platform
