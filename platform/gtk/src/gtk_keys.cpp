// Key codes between GDK key values and Windows virtual keys.
#include "gtk_impl.h"

#include <gdk/gdkkeysyms.h>

namespace korvane::platform {

namespace {

struct KeyPair {
  guint keyval;
  UINT vk;
};

const KeyPair kKeys[] = {
    {GDK_KEY_BackSpace, VK_BACK},  {GDK_KEY_Tab, VK_TAB},          {GDK_KEY_ISO_Left_Tab, VK_TAB},
    {GDK_KEY_Return, VK_RETURN},   {GDK_KEY_KP_Enter, VK_RETURN},  {GDK_KEY_Shift_L, VK_SHIFT},
    {GDK_KEY_Shift_R, VK_SHIFT},   {GDK_KEY_Control_L, VK_CONTROL}, {GDK_KEY_Control_R, VK_CONTROL},
    {GDK_KEY_Alt_L, VK_MENU},      {GDK_KEY_Alt_R, VK_MENU},       {GDK_KEY_Escape, VK_ESCAPE},
    {GDK_KEY_space, VK_SPACE},     {GDK_KEY_Page_Up, VK_PRIOR},    {GDK_KEY_Page_Down, VK_NEXT},
    {GDK_KEY_End, VK_END},         {GDK_KEY_Home, VK_HOME},        {GDK_KEY_Left, VK_LEFT},
    {GDK_KEY_Up, VK_UP},           {GDK_KEY_Right, VK_RIGHT},      {GDK_KEY_Down, VK_DOWN},
    {GDK_KEY_Insert, VK_INSERT},   {GDK_KEY_Delete, VK_DELETE},
};

}  // namespace

UINT VirtualKeyFromKeyval(guint keyval) {
  guint upper = gdk_keyval_to_upper(keyval);
  if (upper >= GDK_KEY_A && upper <= GDK_KEY_Z) return 'A' + (upper - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + (keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) return 0x60 + (keyval - GDK_KEY_KP_0);  // VK_NUMPAD0..9
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return VK_F1 + (keyval - GDK_KEY_F1);
  for (const auto& k : kKeys)
    if (k.keyval == keyval) return k.vk;
  return 0;
}

guint KeyvalFromVirtualKey(UINT vk) {
  if (vk >= 'A' && vk <= 'Z') return GDK_KEY_a + (vk - 'A');
  if (vk >= '0' && vk <= '9') return GDK_KEY_0 + (vk - '0');
  if (vk >= 0x60 && vk <= 0x69) return GDK_KEY_KP_0 + (vk - 0x60);
  if (vk >= VK_F1 && vk < VK_F1 + 24) return GDK_KEY_F1 + (vk - VK_F1);
  for (const auto& k : kKeys)
    if (k.vk == vk) return k.keyval;
  return 0;
}

}  // namespace korvane::platform
