# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian packages
# g++-mingw-w64-x86-64-posix and libz-mingw-w64-dev): the Qt-free core,
# spravka-cli and their tests, and with Qt for MinGW-w64 the window too
# (scripts/windows-qt builds that Qt, and builds it with this file). ctest
# runs the programs under Wine.
#
#   cmake -S . -B build-windows \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         [-DSPRAVKA_MINGW_QT=<the Qt folder>]
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

# Without Qt, programs link statically, so that they run without the
# compiler's DLLs beside them. With Qt, which is built as DLLs on the
# compiler's runtime DLLs, they use those DLLs too: one C++ runtime in the
# process. CMake looks for packages in the Qt folder too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SPRAVKA_MINGW_QT)
if(SPRAVKA_MINGW_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${SPRAVKA_MINGW_QT})
else()
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# Test programs run under Wine: wine64 from the PATH, or where Debian's
# wine64 package puts it.
find_program(SPRAVKA_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(SPRAVKA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SPRAVKA_WINE})
endif()
