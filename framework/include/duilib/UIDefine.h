// Names and constants shared by the framework's classes.
#pragma once

#include <windows.h>

#define UILIB_API

namespace DuiLib {

class CControlUI;

// Where layouts and pictures come from.
enum UILIB_RESOURCETYPE {
  UILIB_FILE = 1,         // files below the resource path
  UILIB_ZIP = 2,          // a zip file below the resource path
  UILIB_RESOURCE = 3,     // executable resources
  UILIB_ZIPRESOURCE = 4,  // a zip held in the executable's resources
};

// Control classes, as layouts and GetClass name them.
#define DUI_CTR_CONTROL (_T("Control"))
#define DUI_CTR_CONTAINER (_T("Container"))
#define DUI_CTR_VERTICALLAYOUT (_T("VerticalLayout"))
#define DUI_CTR_HORIZONTALLAYOUT (_T("HorizontalLayout"))
#define DUI_CTR_LABEL (_T("Label"))
#define DUI_CTR_TEXT (_T("Text"))
#define DUI_CTR_BUTTON (_T("Button"))
#define DUI_CTR_OPTION (_T("Option"))

// Notification types.
#define DUI_MSGTYPE_CLICK (_T("click"))
#define DUI_MSGTYPE_WINDOWINIT (_T("windowinit"))
#define DUI_MSGTYPE_SETFOCUS (_T("setfocus"))
#define DUI_MSGTYPE_KILLFOCUS (_T("killfocus"))

// Interfaces GetInterface answers.
#define DUI_CTR_ICONTAINER (_T("IContainer"))

// Events a control receives from its paint manager.
enum EVENTTYPE_UI {
  UIEVENT__FIRST = 1,
  UIEVENT__KEYBEGIN,
  UIEVENT_KEYDOWN,
  UIEVENT_KEYUP,
  UIEVENT_CHAR,
  UIEVENT__KEYEND,
  UIEVENT__MOUSEBEGIN,
  UIEVENT_MOUSEMOVE,
  UIEVENT_MOUSELEAVE,
  UIEVENT_MOUSEENTER,
  UIEVENT_MOUSEHOVER,
  UIEVENT_BUTTONDOWN,
  UIEVENT_BUTTONUP,
  UIEVENT_RBUTTONDOWN,
  UIEVENT_DBLCLICK,
  UIEVENT_CONTEXTMENU,
  UIEVENT_SCROLLWHEEL,
  UIEVENT__MOUSEEND,
  UIEVENT_KILLFOCUS,
  UIEVENT_SETFOCUS,
  UIEVENT_TIMER,
  UIEVENT__LAST,
};

// FindControl flags.
#define UIFIND_ALL 0x00000000
#define UIFIND_VISIBLE 0x00000001
#define UIFIND_ENABLED 0x00000002
#define UIFIND_HITTEST 0x00000004
#define UIFIND_TOP_FIRST 0x00000008
#define UIFIND_ME_FIRST 0x80000000

// Button states.
#define UISTATE_FOCUSED 0x00000001
#define UISTATE_SELECTED 0x00000002
#define UISTATE_DISABLED 0x00000004
#define UISTATE_HOT 0x00000008
#define UISTATE_PUSHED 0x00000010
#define UISTATE_CAPTURED 0x00000040

// Text styles (DrawText's DT_* values).
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_END_ELLIPSIS 0x00008000

typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);

}  // namespace DuiLib
