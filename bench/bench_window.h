// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_BENCH_BENCH_WINDOW_H_
#define SPRAVKA_BENCH_BENCH_WINDOW_H_

#include <QApplication>
#include <cstdio>
#include <optional>
#include <string>

#include "app/file_checks.h"
#include "app/settings.h"
#include "platform/display_colours.h"
#include "ui/inform_dialog.h"
#include "ui/main_window.h"

namespace spravka {

// Settings in memory: a benchmark leaves the user's alone.
class MemorySettings : public SettingsStore {
 public:
  std::optional<std::string> Read(const std::string&) override {
    return std::nullopt;
  }
  void Write(const std::string&, const std::string&) override {}
};

// Messages go to the error output; only the optimisation is agreed to.
class SilentBoxes : public MessageBoxes {
 public:
  void Show(MessageKind, const std::string& text) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  bool Ask(const std::string& question) override {
    return question.find("оптимизацию") != std::string::npos;
  }
};

// What a benchmark's main window is built from (once the application
// exists): the real files and display, settings in memory, quiet boxes.
struct BenchWindowParts {
  InformDialog help;
  RealFileChecks files;
  MemorySettings settings;
  SilentBoxes boxes;

  MainWindowPorts Ports() {
    MainWindowPorts ports;
    ports.files = &files;
    ports.settings = &settings;
    ports.boxes = &boxes;
    ports.help = &help;
    ports.nearest = DisplayNearestColour();
    ports.button_face = ButtonFaceColour();
    ports.end_program = [] {};
    return ports;
  }
};

}  // namespace spravka

#endif  // SPRAVKA_BENCH_BENCH_WINDOW_H_
