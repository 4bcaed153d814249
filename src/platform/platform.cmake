# SPDX-License-Identifier: GPL-3.0-or-later
# The Qt and system adapters behind the core's interfaces, with the
# program's resources. Included from src/CMakeLists.txt when the UI is on.
# Windows drives its serial ports through the Windows API
# (windows_serial_port.cc), elsewhere through Qt's serial port module.
if(WIN32)
  spravka_layer(platform USES app dialling editing storage LIBS Qt6::Widgets
                EXCLUDE qt_serial_port.cc qt_serial_port.h)
else()
  spravka_layer(platform USES app dialling editing storage
                LIBS Qt6::Widgets Qt6::SerialPort)
endif()
set_target_properties(spravka_platform PROPERTIES AUTOMOC ON AUTORCC ON)
# The program's resources (the new-base template), compiled in by rcc.
target_sources(spravka_platform PRIVATE
               ${CMAKE_CURRENT_LIST_DIR}/resources/spravka_resources.qrc)

# The program's icon: PNG sizes of the icon theme, rendered at build time
# from its one drawing (rsvg-convert, package librsvg2-bin). The window takes
# them from a compiled-in resource; the install puts them and the drawing in
# the desktop's icon theme.
include(GNUInstallDirs)
set(SPRAVKA_ICON_SVG ${CMAKE_CURRENT_LIST_DIR}/resources/spravka.svg)
set(SPRAVKA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(SPRAVKA_ICON_THEME_DIR ${PROJECT_BINARY_DIR}/icons/hicolor)
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert renders the program's icon: "
                      "apt-get install librsvg2-bin (scripts/install-deps)")
endif()
set(icon_pngs)
set(icon_qrc_files)
foreach(size ${SPRAVKA_ICON_SIZES})
  set(png ${SPRAVKA_ICON_THEME_DIR}/${size}x${size}/apps/spravka.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SPRAVKA_ICON_THEME_DIR}/${size}x${size}/apps
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --format=png
            --output=${png} ${SPRAVKA_ICON_SVG}
    DEPENDS ${SPRAVKA_ICON_SVG}
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND icon_pngs ${png})
  if(NOT WIN32)  # Windows has the icon in the program (packaging/windows.cmake)
    install(FILES ${png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endif()
  string(APPEND icon_qrc_files
         "    <file alias=\"program-icon/${size}.png\">${png}</file>\n")
endforeach()
if(NOT WIN32)
  install(FILES ${SPRAVKA_ICON_SVG}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
set(icon_qrc ${CMAKE_CURRENT_BINARY_DIR}/program_icon.qrc)
file(CONFIGURE OUTPUT ${icon_qrc} CONTENT
     "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n${icon_qrc_files}  </qresource>\n</RCC>\n")
set(icon_rcc_source ${CMAKE_CURRENT_BINARY_DIR}/program_icon_rcc.cpp)
add_custom_command(
  OUTPUT ${icon_rcc_source}
  COMMAND Qt6::rcc --name program_icon --output ${icon_rcc_source} ${icon_qrc}
  DEPENDS ${icon_qrc} ${icon_pngs} Qt6::rcc
  VERBATIM)
set_source_files_properties(${icon_rcc_source} PROPERTIES SKIP_AUTOGEN ON)
target_sources(spravka_platform PRIVATE ${icon_rcc_source})
