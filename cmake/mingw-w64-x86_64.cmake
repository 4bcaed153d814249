# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian packages
# g++-mingw-w64-x86-64-posix and libz-mingw-w64-dev): the Qt-free core,
# spravka-cli and their tests. Programs link statically, so that they run
# without the compiler's DLLs beside them; ctest runs them under Wine.
#
#   cmake -S . -B build-windows \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SPRAVKA_MINGW_TRIPLET x86_64-w64-mingw32)

# The "posix" flavour: the one with std::thread.
set(CMAKE_C_COMPILER ${SPRAVKA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPRAVKA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SPRAVKA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SPRAVKA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config must not offer the build machine's libraries (libdeflate).
set(ENV{PKG_CONFIG_LIBDIR} /usr/${SPRAVKA_MINGW_TRIPLET}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine: wine64 from the PATH, or where Debian's
# wine64 package puts it.
find_program(SPRAVKA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(SPRAVKA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SPRAVKA_WINE})
endif()
