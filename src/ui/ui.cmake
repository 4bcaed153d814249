# The window program. Included from src/CMakeLists.txt when the UI is on.
file(GLOB SPRAVKA_UI_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*.cc ${CMAKE_CURRENT_LIST_DIR}/*.h
     ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.h)
list(REMOVE_ITEM SPRAVKA_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/main.cc)

add_library(spravka_ui STATIC ${SPRAVKA_UI_SOURCES})
target_include_directories(spravka_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(spravka_ui PUBLIC spravka_core Qt6::Widgets Qt6::SerialPort)
# The program's resources (the new-base template), compiled in by rcc.
set_target_properties(spravka_ui PROPERTIES AUTORCC ON)
target_sources(spravka_ui PRIVATE
               ${CMAKE_CURRENT_SOURCE_DIR}/platform/resources/spravka_resources.qrc)
target_link_libraries(spravka_ui PUBLIC spravka_version)

# The program's icon: PNG sizes of the icon theme, rendered at build time
# from its one drawing (rsvg-convert, package librsvg2-bin). The window takes
# them from a compiled-in resource; the install puts them and the drawing in
# the desktop's icon theme.
include(GNUInstallDirs)
set(SPRAVKA_ICON_SVG ${CMAKE_CURRENT_SOURCE_DIR}/platform/resources/spravka.svg)
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
  install(FILES ${png}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  string(APPEND icon_qrc_files
         "    <file alias=\"program-icon/${size}.png\">${png}</file>\n")
endforeach()
install(FILES ${SPRAVKA_ICON_SVG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
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
target_sources(spravka_ui PRIVATE ${icon_rcc_source})

add_executable(spravka ${CMAKE_CURRENT_LIST_DIR}/main.cc)
target_link_libraries(spravka PRIVATE spravka_ui)

# The window's timing against the core (run by bench/ui-window).
if(SPRAVKA_BENCH)
  add_executable(ui_window_timing ${PROJECT_SOURCE_DIR}/bench/ui_window_timing.cc)
  target_link_libraries(ui_window_timing PRIVATE spravka_ui)
endif()
