// The program's start sequence.
#include <QApplication>
#include <QDir>

#include "app/file_checks.h"
#include "platform/display_colours.h"
#include "platform/qt_message_boxes.h"
#include "platform/qt_settings_store.h"
#include "ui/inform_dialog.h"
#include "ui/main_window.h"
#include "ui/splash.h"

int main(int argc, char** argv) {
  using namespace spravka;
  QApplication app(argc, argv);

  auto* splash = new SplashForm;
  splash->ShowNow();

  // The dialogs live until the end and are only shown and hidden.
  InformDialog help;

  QCoreApplication::setApplicationName(QStringLiteral("qz"));

  RealFileChecks files;
  QtSettingsStore settings;
  QtMessageBoxes boxes;
  MainWindowPorts ports;
  ports.files = &files;
  ports.settings = &settings;
  ports.boxes = &boxes;
  ports.help = &help;
  ports.nearest = DisplayNearestColour();
  ports.button_face = ButtonFaceColour();
  ports.end_program = [] { QCoreApplication::exit(0); };

  MainWindow window(ports);
  boxes.SetParent(&window);
  QStringList args = QCoreApplication::arguments();
  const QString program = args.isEmpty() ? QString() : args.takeFirst();
  window.FormCreate(QDir::currentPath(),
                    QCoreApplication::applicationFilePath(), args);
  (void)program;

  delete splash;
  if (window.ended()) return 0;  // a fatal message has been shown
  window.show();
  window.FormShow();
  app.exec();
  return 0;
}
