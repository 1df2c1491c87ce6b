// What the records shared with the host depend on: pointer width and calling convention.
#pragma once

#include <cstdint>

#if UINTPTR_MAX == 0xFFFFFFFFu
#define ZELMPI_TARGET_IS_32BIT 1
#else
#define ZELMPI_TARGET_IS_32BIT 0
#endif

// ZelMain uses the Windows API convention: the called function removes its argument.
#if defined(_WIN32) && !defined(_WIN64)
#define ZELMPI_WINAPI __stdcall
#else
#define ZELMPI_WINAPI
#endif
