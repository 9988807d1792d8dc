// The C runtime's folder functions, with Windows-style paths.
#pragma once

extern "C++" {
int _rmdir(const char* path);
int _mkdir(const char* path);
}
