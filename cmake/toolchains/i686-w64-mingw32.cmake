# Cross-build for 32-bit Windows (the host loads the module as a 32-bit DLL) with Debian's
# mingw-w64 i686 compilers. Install them with scripts/windows/install.sh.
#
#   cmake -S . -B build-win -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake
#
# Compilers: the -posix variants. The default (win32 thread model) libstdc++ has no
# std::mutex / std::thread, which GoogleTest and our code need.
#
# Linking: everything static (-static), so no program or DLL we build needs
# libgcc_s_dw2-1.dll, libstdc++-6.dll or libwinpthread-1.dll next to it; the only imports
# left are Windows system DLLs (KERNEL32, msvcrt, ...).
#
# ctest runs the .exe files through scripts/windows/wine.sh run (wine32 under qemu here).
# The wine prefix is $WINEPREFIX, or -DZEL_WINEPREFIX=<dir>, or wine.sh's default under /tmp.
# Start it once before ctest (scripts/windows/wine.sh start), else the first test pays the
# boot (about a minute).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(ZEL_MINGW_TRIPLE i686-w64-mingw32)

find_program(ZEL_MINGW_GCC NAMES ${ZEL_MINGW_TRIPLE}-gcc-posix)
find_program(ZEL_MINGW_GXX NAMES ${ZEL_MINGW_TRIPLE}-g++-posix)
if(NOT ZEL_MINGW_GCC OR NOT ZEL_MINGW_GXX)
  message(FATAL_ERROR
    "${ZEL_MINGW_TRIPLE}-gcc-posix / -g++-posix not found: run scripts/windows/install.sh as root "
    "(Debian packages g++-mingw-w64-i686 binutils-mingw-w64-i686)")
endif()

set(CMAKE_C_COMPILER ${ZEL_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${ZEL_MINGW_GXX})
find_program(CMAKE_RC_COMPILER NAMES ${ZEL_MINGW_TRIPLE}-windres)
find_program(CMAKE_AR NAMES ${ZEL_MINGW_TRIPLE}-ar)
find_program(CMAKE_RANLIB NAMES ${ZEL_MINGW_TRIPLE}-ranlib)
find_program(CMAKE_DLLTOOL NAMES ${ZEL_MINGW_TRIPLE}-dlltool)
find_program(CMAKE_OBJDUMP NAMES ${ZEL_MINGW_TRIPLE}-objdump)

# Libraries and headers only from the mingw sysroot; build tools from the Linux host.
set(CMAKE_FIND_ROOT_PATH /usr/${ZEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static also for DLLs: libgcc, libstdc++ and winpthread are linked into the DLL itself.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Run the test programs under wine.
get_filename_component(_zel_wine_sh "${CMAKE_CURRENT_LIST_DIR}/../../scripts/windows/wine.sh" ABSOLUTE)
if(NOT DEFINED ZEL_WINEPREFIX AND DEFINED ENV{ZEL_WINEPREFIX})
  set(ZEL_WINEPREFIX "$ENV{ZEL_WINEPREFIX}")
endif()
if(ZEL_WINEPREFIX)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${_zel_wine_sh};--prefix;${ZEL_WINEPREFIX};run")
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR "${_zel_wine_sh};run")
endif()
unset(_zel_wine_sh)
