// Shell services: opening documents and addresses, notification-area icons.
#pragma once
#include "windows.h"

extern "C++" {

HINSTANCE WINAPI ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                               LPCWSTR directory, INT showCmd);

#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

typedef struct _NOTIFYICONDATAW {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  WCHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  WCHAR szInfo[256];
  UINT uVersion;
  WCHAR szInfoTitle[64];
  DWORD dwInfoFlags;
} NOTIFYICONDATAW, *PNOTIFYICONDATAW;

BOOL WINAPI Shell_NotifyIconW(DWORD message, PNOTIFYICONDATAW data);

}  // extern "C++"

#define ShellExecute ShellExecuteW
#define Shell_NotifyIcon Shell_NotifyIconW
#define NOTIFYICONDATA NOTIFYICONDATAW
