// The skin framework, DuiLib-compatible: skinned windows built from XML layouts kept in a
// zip, controls found by name, notifications, the message loop.
#pragma once

#include <windows.h>

#include "duilib/UIDefine.h"
#include "duilib/DuiString.h"
#include "duilib/DuiRect.h"
#include "duilib/UIControl.h"
#include "duilib/UIContainer.h"
#include "duilib/UIVerticalLayout.h"
#include "duilib/UIHorizontalLayout.h"
#include "duilib/UILabel.h"
#include "duilib/UIButton.h"
#include "duilib/UIManager.h"
#include "duilib/UIDlgBuilder.h"
#include "duilib/UIResourceManager.h"
#include "duilib/UIBase.h"
#include "duilib/WindowImplBase.h"
#include "duilib/UITrayIcon.h"
