// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_MAIN_WINDOW_PORTS_H_
#define SPRAVKA_UI_MAIN_WINDOW_PORTS_H_

#include <functional>
#include <optional>
#include <string>

#include "app/file_checks.h"
#include "app/message_boxes.h"
#include "app/rules/stripes.h"
#include "app/settings.h"
#include "dialling/serial_port.h"
#include "editing/clipboard.h"
#include "platform/file_type_registrar.h"
#include "storage/file_system.h"

namespace spravka {

class InformDialog;
class NewBaseDialog;

// What the main window works with besides its widgets.
struct MainWindowPorts {
  FileChecks* files = nullptr;
  SettingsStore* settings = nullptr;
  MessageBoxes* boxes = nullptr;
  InformDialog* help = nullptr;  // the information dialog
  NearestColour nearest;         // the display's nearest colour
  Rgb button_face;               // the system button-face colour
  // Ends the program after a fatal message (exit code 0).
  std::function<void()> end_program;
  // The window has closed: the program ends, whatever other window of its
  // own (a splash window, say) showed after it.
  std::function<void()> closed;
  // Reads and writes the bases; the real file system when null.
  FileSystem* fs = nullptr;
  Clipboard* clipboard = nullptr;
  // The serial ports a modem may be on; none: no modem is ever found.
  SerialPorts* serial_ports = nullptr;
  NewBaseDialog* new_base = nullptr;
  // The new-base template; none: no base can be created.
  std::optional<std::string> base_template;
  // Registers the desktop's file association; none: it is left alone.
  FileTypeRegistrar* file_types = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_MAIN_WINDOW_PORTS_H_
