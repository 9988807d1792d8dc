// Kernel services: errors, threads, time, command line, temporary folder, modules and
// resources, strings, debugger output.
#pragma once

#include "windef.h"
#include "winerror.h"

extern "C++" {

DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);

DWORD WINAPI GetCurrentThreadId();
DWORD WINAPI GetCurrentProcessId();
void WINAPI Sleep(DWORD milliseconds);
DWORD WINAPI GetTickCount();

LPWSTR WINAPI GetCommandLineW();
// Returns the length written (no terminator), the size needed (terminator included) when
// the buffer is too small, or 0 on failure.
DWORD WINAPI GetTempPathW(DWORD bufferLength, LPWSTR buffer);
DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR filename, DWORD size);

void WINAPI OutputDebugStringW(LPCWSTR text);
void WINAPI OutputDebugStringA(LPCSTR text);

// Code pages. CP_ACP and CP_THREAD_ACP are UTF-8 on this platform.
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080
int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                               LPWSTR wide, int wideCount);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar);

int WINAPI lstrlenW(LPCWSTR s);
int WINAPI lstrcmpW(LPCWSTR a, LPCWSTR b);
int WINAPI lstrcmpiW(LPCWSTR a, LPCWSTR b);
LPWSTR WINAPI lstrcpyW(LPWSTR dst, LPCWSTR src);
LPWSTR WINAPI lstrcpynW(LPWSTR dst, LPCWSTR src, int maxLength);
LPWSTR WINAPI lstrcatW(LPWSTR dst, LPCWSTR src);

// Modules and resources.
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_MANIFEST MAKEINTRESOURCEW(24)
#define RT_RCDATA MAKEINTRESOURCEW(10)

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define LANG_CHINESE 0x04
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_CHINESE_SIMPLIFIED 0x02
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))

HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName);
HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
LPVOID WINAPI LockResource(HGLOBAL data);
BOOL WINAPI FreeResource(HGLOBAL data);

// The program's entry point, called by main() as a Windows C runtime calls it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

}  // extern "C++"

#define GetModuleHandle GetModuleHandleW
#define GetModuleFileName GetModuleFileNameW
#define FindResource FindResourceW
#define FindResourceEx FindResourceExW
#define GetCommandLine GetCommandLineW
#define GetTempPath GetTempPathW
#define OutputDebugString OutputDebugStringW
#define lstrlen lstrlenW
#define lstrcmp lstrcmpW
#define lstrcmpi lstrcmpiW
#define lstrcpy lstrcpyW
#define lstrcpyn lstrcpynW
#define lstrcat lstrcatW
