#include "platform/program_icon.h"

#include <QDir>
#include <QFileInfo>

#include "app/file_type.h"

// The resources live in a static library: naming their initialiser makes
// the linker keep them and registers them.
static void RegisterProgramIcon() { Q_INIT_RESOURCE(program_icon); }

namespace spravka {

QIcon ProgramIcon() {
  static const bool registered = (RegisterProgramIcon(), true);
  (void)registered;
  QIcon icon;
  const QDir sizes(QStringLiteral(":/program-icon"));
  for (const QString& name : sizes.entryList(QDir::Files)) {
    icon.addFile(sizes.filePath(name));
  }
  return icon;
}

QString DesktopFileName() {
  return QFileInfo(QLatin1String(kDesktopEntryName)).completeBaseName();
}

}  // namespace spravka
