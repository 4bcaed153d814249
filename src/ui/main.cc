// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start sequence.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/base_prefetch.h"
#include "app/file_checks.h"
#include "app/settings.h"
#include "app/version.h"
#include "app/version_notice.h"
#include "platform/base_template_resource.h"
#include "platform/display_colours.h"
#include "platform/file_association.h"
#include "platform/file_type_registrar.h"
#include "platform/machine_serial_ports.h"
#include "platform/program_icon.h"
#include "platform/qt_clipboard.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_settings_store.h"
#include "ui/application.h"
#include "ui/inform_dialog.h"
#include "ui/main_window.h"
#include "ui/new_base_dialog.h"
#include "ui/program_style.h"
#include "ui/search_controls.h"
#include "ui/splash.h"
#include "util/paths.h"
#include "util/thrown_error.h"

int main(int argc, char** argv) {
  using namespace spravka;
  // Answered before the application exists, so that it needs no display.
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    const std::string notice = VersionNotice("spravka", kProgramVersion);
    const bool written =
        std::printf("%s", notice.c_str()) >= 0 && std::fflush(stdout) == 0;
    return written ? 0 : 1;
  }
  IgnoreFileSizeLimitSignal();
  // The base the start-up most likely opens loads while Qt starts.
  std::error_code no_folder;
  const std::filesystem::path folder = std::filesystem::current_path(no_folder);
  const std::string likely_base =
      no_folder
          ? std::string()
          : LikelyStartUpBase(Utf8FromPath(folder),
                              std::vector<std::string>(argv + 1, argv + argc),
                              []() -> std::string {
                                QtSettingsStore store;
                                return Settings(&store).LastBase();
                              });
  BasePrefetch prefetch(likely_base);
  Application app(argc, argv);
  QApplication::setStyle(new ProgramStyle);
  QApplication::setWindowIcon(ProgramIcon());
  // Ties the windows to the desktop entry, whose icon the desktop shows.
  QGuiApplication::setDesktopFileName(DesktopFileName());

  // The splash only for a load that lasts long enough to be seen.
  SplashForm* splash = nullptr;
  if (!LoadsAtOnce(likely_base)) {
    splash = new SplashForm;
    splash->ShowNow();
  }

  // The dialogs live until the end and are only shown and hidden.
  InformDialog help;

  QCoreApplication::setApplicationName(QStringLiteral("qz"));

  RealFileChecks files;
  QtSettingsStore settings;
  QtMessageBoxes boxes;
  app.SetBoxes(&boxes);
  MainWindowPorts ports;
  ports.files = &files;
  ports.settings = &settings;
  ports.boxes = &boxes;
  ports.help = &help;
  ports.nearest = DisplayNearestColour();
  ports.button_face = ButtonFaceColour();
  ports.end_program = [] { QCoreApplication::exit(0); };
  // Not left to the last window's closing: a window shown after it (the
  // splash of work that was running) would call that off.
  ports.closed = [] {
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  };
  QtClipboard clipboard;
  ports.clipboard = &clipboard;
  MachineSerialPorts serial_ports;
  ports.serial_ports = &serial_ports;
  NewBaseDialog new_base(&boxes, &help);
  ports.new_base = &new_base;
  ports.base_template = LoadBaseTemplate();
  const std::unique_ptr<FileTypeStore> file_types =
      NativeFileTypeStore(RunningExecutable());
  FileTypeRegistrar file_type_registrar(file_types.get());
  ports.file_types = &file_type_registrar;

  MainWindow window(ports);
  window.session().TakeNextLoadFrom(&prefetch);
  boxes.SetParent(&window);
  QStringList args = QCoreApplication::arguments();
  if (!args.isEmpty()) args.removeFirst();  // the program itself
  try {
    window.Start(QDir::currentPath(), QCoreApplication::applicationFilePath(),
                 args);
  } catch (...) {
    // The general error handler; the rest of the start-up does not run.
    boxes.Show(MessageKind::kError, ThrownErrorText());
  }

  delete splash;
  // A fatal message has been shown, or start-up stopped at an error before
  // any base was loaded: the window never shows without a base.
  if (window.ended() || !window.session().base().loaded()) return 0;
  window.show();
  window.search_controls().FocusRule();
  app.exec();
  return 0;
}
