# SPDX-License-Identifier: GPL-3.0-or-later
# The window tests: QtTest on the offscreen platform, and one run of the
# real program under Xvfb. Included from tests/CMakeLists.txt.
file(GLOB SPRAVKA_UI_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cc)
spravka_platform_sources(SPRAVKA_UI_TEST_SOURCES)
if(WIN32)
  # Not on Windows: QSerialPort on pseudo-terminals (the Windows ports:
  # windows_serial_port_test.cc) and the freedesktop file type (the
  # registry's: RegistryFileTypeTest in the core tests).
  list(FILTER SPRAVKA_UI_TEST_SOURCES EXCLUDE
       REGEX "/(qt_serial_port|file_association)_test\\.cc$")
endif()
add_executable(ui_tests ${SPRAVKA_UI_TEST_SOURCES})
target_include_directories(ui_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ui_tests PRIVATE spravka_ui spravka_test_support Qt6::Test)
set_target_properties(ui_tests PROPERTIES AUTOMOC ON)
add_test(NAME ui_tests COMMAND ui_tests)
set_tests_properties(ui_tests PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen;HOME=${CMAKE_CURRENT_BINARY_DIR}/ui-test-home;XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/ui-test-home/config;XDG_DATA_HOME=${CMAKE_CURRENT_BINARY_DIR}/ui-test-home/data;TMPDIR=${CMAKE_CURRENT_BINARY_DIR};QTEST_DISABLE_STACK_DUMP=1")

# The real window under X11; on Windows, scripts/windows-test runs the
# installed program under Wine instead.
if(WIN32)
  return()
endif()
add_test(NAME ui_window_xvfb
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/window_screenshot_test.sh
                 $<TARGET_FILE:spravka> $<TARGET_FILE:spravka-cli>
                 ${CMAKE_CURRENT_BINARY_DIR}/ui-window-shot)
set_tests_properties(ui_window_xvfb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)

# The same window on a real X server with a window manager: a town of a
# million records, the splash window over the dialogs, the splash painted
# while a switch and an optimisation work, what the desktop sends meanwhile
# (a drag, a close, keys: xdotool), and the framed window on the screen at
# two display scales.
add_executable(ui_real_window_tests
               ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/seven_digit_window_test.cc
               ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/splash_over_dialog_test.cc
               ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/splash_painted_test.cc
               ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/window_on_screen_test.cc
               ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/work_during_job_real_test.cc
               ${CMAKE_CURRENT_LIST_DIR}/ui_test_main.cc
               ${CMAKE_CURRENT_LIST_DIR}/window_rig.cc)
target_include_directories(ui_real_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ui_real_window_tests PRIVATE spravka_ui spravka_test_support
                                                   Qt6::Test)
set_target_properties(ui_real_window_tests PROPERTIES AUTOMOC ON)
# A desktop's file drag for the real window (moved by xdotool).
add_executable(ui_real_drag_source ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/drag_source.cc)
target_link_libraries(ui_real_drag_source PRIVATE Qt6::Widgets)
add_test(NAME ui_real_window
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/ui_real/real_window_test.sh
                 $<TARGET_FILE:ui_real_window_tests> $<TARGET_FILE:spravka-cli>
                 ${CMAKE_CURRENT_BINARY_DIR}/ui-real-window
                 $<TARGET_FILE:ui_real_drag_source>)
set_tests_properties(ui_real_window PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
