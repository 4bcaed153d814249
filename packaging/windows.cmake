# SPDX-License-Identifier: GPL-3.0-or-later
# The window program for Windows and its packages: spravka.exe as a GUI
# program with its icon and version resource, what it needs beside it (Qt's
# DLLs and plugins, the compiler's runtime, Qt's Russian texts), and CPack's
# ZIP and NSIS installer of them. Included from the top CMakeLists.txt in a
# Windows build with the window (scripts/windows-test).
#
#   cmake --build build-windows --target package   # ZIP and installer
#
# Layout, the same unpacked from the ZIP and installed: the programs, the
# DLLs and qt.conf in one folder, Qt's plugins in platforms/ and styles/
# under it (Qt looks beside the program), Qt's translations in
# translations/ (qt.conf points Qt there).

# The icon: the sizes Windows shows, rendered from the one drawing at build
# time (rsvg-convert, package librsvg2-bin) and joined by icotool (icoutils).
find_program(ICOTOOL icotool)
if(NOT ICOTOOL)
  message(FATAL_ERROR "icotool makes the program's Windows icon: "
                      "apt-get install icoutils (scripts/install-deps --windows)")
endif()
set(svg ${PROJECT_SOURCE_DIR}/src/platform/resources/spravka.svg)
set(SPRAVKA_WINDOWS_ICON ${PROJECT_BINARY_DIR}/packaging/spravka.ico)
set(icon_pngs)
foreach(size 16 20 24 32 40 48 64 256)
  set(png ${PROJECT_BINARY_DIR}/packaging/ico/${size}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging/ico
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --format=png
            --output=${png} ${svg}
    DEPENDS ${svg}
    VERBATIM)
  list(APPEND icon_pngs ${png})
endforeach()
# The largest size is kept as PNG inside the icon, as Windows reads it.
list(POP_BACK icon_pngs largest)
add_custom_command(
  OUTPUT ${SPRAVKA_WINDOWS_ICON}
  COMMAND ${ICOTOOL} --create --output=${SPRAVKA_WINDOWS_ICON} ${icon_pngs}
          --raw=${largest}
  DEPENDS ${icon_pngs} ${largest}
  COMMENT "Making the program's Windows icon"
  VERBATIM)

set(rc ${PROJECT_BINARY_DIR}/packaging/spravka.rc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/spravka.rc.in ${rc} @ONLY)
set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${SPRAVKA_WINDOWS_ICON})
target_sources(spravka PRIVATE ${rc})
# A window program: no console comes up with it.
set_target_properties(spravka PROPERTIES WIN32_EXECUTABLE ON)

# What the programs need beside them: the compiler's runtime (where the
# compiler finds it, or beside the compiler as in MSYS2) ...
get_filename_component(compiler_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
set(runtime)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}")
    set(found ${compiler_dir}/${dll})
  endif()
  if(NOT EXISTS ${found})
    message(FATAL_ERROR "The compiler's runtime DLL ${dll} is missing")
  endif()
  list(APPEND runtime ${found})
endforeach()
# ... and Qt's Russian texts of its own dialogs and buttons: Debian's
# qt6-translations-l10n (the same Qt version), or those of the Qt built
# against.
find_file(SPRAVKA_QT_TRANSLATION qtbase_ru.qm
          PATHS /usr/share/qt6/translations
                ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          DOC "Qt's Russian translation shipped with the Windows packages")
if(NOT SPRAVKA_QT_TRANSLATION)
  message(FATAL_ERROR "qtbase_ru.qm is missing: apt-get install "
                      "qt6-translations-l10n (scripts/install-deps --windows-window)")
endif()

install(TARGETS spravka spravka-cli RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui>
              $<TARGET_FILE:Qt6::Widgets> ${runtime}
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES ${SPRAVKA_QT_TRANSLATION} DESTINATION translations)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/windows/qt.conf DESTINATION .)
# The program's licence, and Qt's, whose DLLs come along.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
if(EXISTS /usr/share/common-licenses/LGPL-3)  # Debian's base-files
  install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION .
          RENAME LICENSE.Qt-LGPL-3.txt)
endif()

# The packages. The installer is for the current user: no administrator
# rights, the program under %LOCALAPPDATA%\Programs, a Start-menu entry
# and an uninstaller of the user's own (packaging/windows/NSIS.template.in).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME spravka)
set(CPACK_PACKAGE_VENDOR "Spravka developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME spravka-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Spravka)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Spravka)
set(CPACK_NSIS_PACKAGE_NAME "Телефонный справочник")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_SPRAVKA_ICON ${SPRAVKA_WINDOWS_ICON})
set(CPACK_SPRAVKA_START_MENU_ENTRY "Телефонный справочник")
# CPack takes NSIS.template.in from the module path before its own.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
include(CPack)
