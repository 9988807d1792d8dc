// The C runtime's low-level file functions, with Windows-style paths ('\' and '/' both
// separate) and Windows file attributes. `remove` (stdio.h) takes Windows-style paths too in
// every program linked against the platform layer.
#pragma once
#include <stdint.h>
#include <stdio.h>
#include <time.h>

#define _A_NORMAL 0x00
#define _A_RDONLY 0x01
#define _A_HIDDEN 0x02
#define _A_SYSTEM 0x04
#define _A_SUBDIR 0x10
#define _A_ARCH 0x20

typedef unsigned long _fsize_t;

struct _finddata_t {
  unsigned attrib;
  time_t time_create;
  time_t time_access;
  time_t time_write;
  _fsize_t size;
  char name[260];
};

extern "C++" {
intptr_t _findfirst(const char* pattern, struct _finddata_t* data);
int _findnext(intptr_t handle, struct _finddata_t* data);
int _findclose(intptr_t handle);
int _unlink(const char* path);
int _access(const char* path, int mode);
}
