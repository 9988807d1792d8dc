// The Win32 subset of the Korvane platform layer.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winuser.h"
#include "tchar.h"
