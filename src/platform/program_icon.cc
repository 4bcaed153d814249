// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_icon.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

#include "app/file_type.h"

// The resources live in a static library: naming their initialiser makes
// the linker keep them and registers them.
static void RegisterProgramIcon() { Q_INIT_RESOURCE(program_icon); }

namespace spravka {

std::vector<std::pair<int, QString>> ProgramIconFiles() {
  static const bool registered = (RegisterProgramIcon(), true);
  (void)registered;
  std::vector<std::pair<int, QString>> files;
  // Each picture is named by its size: "48.png".
  const QDir sizes(QStringLiteral(":/program-icon"));
  for (const QString& name : sizes.entryList(QDir::Files)) {
    files.emplace_back(QFileInfo(name).completeBaseName().toInt(),
                       sizes.filePath(name));
  }
  return files;
}

QIcon ProgramIcon() {
  constexpr int kLargestWindowIcon = 64;
  QIcon icon;
  for (const auto& [size, file] : ProgramIconFiles()) {
    if (size > kLargestWindowIcon) continue;
    // Read as PNG, and only as PNG: a reader that may find the format
    // itself asks every image-format plugin first, loading each one.
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

QString DesktopFileName() {
  return QFileInfo(QLatin1String(kDesktopEntryName)).completeBaseName();
}

}  // namespace spravka
