// COM initialisation.
#pragma once
#include "windows.h"

extern "C++" {
HRESULT WINAPI CoInitialize(LPVOID reserved);
HRESULT WINAPI CoInitializeEx(LPVOID reserved, DWORD coInit);
void WINAPI CoUninitialize();
}

#define COINIT_APARTMENTTHREADED 0x2
#define COINIT_MULTITHREADED 0x0
