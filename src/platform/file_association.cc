// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_association.h"

#include <QCoreApplication>
#include <QDir>
#include <utility>

#include "platform/program_icon.h"

#ifdef _WIN32
#include "app/windows_registry_file_type.h"
#else
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#endif

namespace spravka {

std::string RunningExecutable() {
  return QDir::toNativeSeparators(QCoreApplication::applicationFilePath())
      .toStdString();
}

#ifdef _WIN32

// The registry code lives in the core, where the Windows build tests it.
std::unique_ptr<FileTypeStore> NativeFileTypeStore(const std::string&) {
  return std::make_unique<RegistryFileTypeStore>();
}

#else

namespace {

// A refresh tool may take this long before the program goes on without it.
constexpr int kToolWaitMs = 3000;

// Runs a tool when it is installed; its output and its failure do not
// matter.
void RunIfInstalled(const QString& tool, const QStringList& arguments) {
  const QString path = QStandardPaths::findExecutable(tool);
  if (path.isEmpty()) return;
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start(path, arguments);
  if (!process.waitForStarted(kToolWaitMs)) return;
  if (!process.waitForFinished(kToolWaitMs)) {
    process.kill();
    process.waitForFinished(kToolWaitMs);
  }
}

bool WriteWhole(const QString& path, const std::string& text) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const auto size = static_cast<qint64>(text.size());
  if (file.write(text.data(), size) != size) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString UserDataHome() {
  // Relative values of the variable are invalid and are ignored.
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

}  // namespace

std::unique_ptr<FileTypeStore> NativeFileTypeStore(
    const std::string& executable) {
  const QDir bin = QFileInfo(QString::fromStdString(executable)).absoluteDir();
  const QString installed_entry =
      bin.absoluteFilePath(QStringLiteral("../share/applications/") +
                           QLatin1String(kDesktopEntryName));
  return std::make_unique<FreedesktopFileTypeStore>(
      QString(), QFileInfo(installed_entry).isFile());
}

FreedesktopFileTypeStore::FreedesktopFileTypeStore(
    QString data_home, bool provided_by_installation)
    : data_home_(data_home.isEmpty() ? UserDataHome() : std::move(data_home)),
      provided_by_installation_(provided_by_installation) {}

QString FreedesktopFileTypeStore::MimePackagePath() const {
  return data_home_ + QStringLiteral("/mime/packages/") +
         QLatin1String(kMimePackageName);
}

QString FreedesktopFileTypeStore::DesktopEntryPath() const {
  return data_home_ + QStringLiteral("/applications/") +
         QLatin1String(kDesktopEntryName);
}

std::string FreedesktopFileTypeStore::CommandFor(
    const std::string& executable) const {
  return DesktopExecValue(executable);
}

std::vector<FreedesktopFileTypeStore::IconFile>
FreedesktopFileTypeStore::IconFiles() const {
  std::vector<IconFile> files;
  for (const auto& [size, picture] : ProgramIconFiles()) {
    files.push_back(
        {data_home_ + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) +
             QLatin1String(kProgramIconName) + QStringLiteral(".png"),
         picture});
  }
  return files;
}

std::string FreedesktopFileTypeStore::StoredCommand() {
  if (!QFile::exists(MimePackagePath())) return {};
  for (const IconFile& icon : IconFiles()) {
    if (!QFile::exists(icon.path)) return {};
  }
  QFile entry(DesktopEntryPath());
  if (!entry.open(QIODevice::ReadOnly)) return {};
  return DesktopEntryExec(entry.readAll().toStdString());
}

bool FreedesktopFileTypeStore::Write(const std::string& executable) {
  // The icon first: the entry names it.
  for (const IconFile& icon : IconFiles()) {
    QFile source(icon.picture);
    if (!source.open(QIODevice::ReadOnly) ||
        !WriteWhole(icon.path, source.readAll().toStdString())) {
      return false;
    }
  }
  if (!WriteWhole(MimePackagePath(), MimePackageXml()) ||
      !WriteWhole(DesktopEntryPath(),
                  DesktopEntryText(DesktopExecValue(executable)))) {
    return false;
  }
  RefreshDatabases();
  return true;
}

bool FreedesktopFileTypeStore::StoredProgramGone() {
  QFile entry(DesktopEntryPath());
  if (!entry.open(QIODevice::ReadOnly)) return false;
  const QString program = QString::fromStdString(
      DesktopExecProgram(DesktopEntryExec(entry.readAll().toStdString())));
  if (program.isEmpty()) return false;  // nothing to tell by
  if (!program.contains(QLatin1Char('/')))
    return QStandardPaths::findExecutable(program).isEmpty();
  return !QFileInfo::exists(program);
}

bool FreedesktopFileTypeStore::Remove() {
  // The entry first: without it nothing names the rest.
  QStringList files{DesktopEntryPath(), MimePackagePath()};
  for (const IconFile& icon : IconFiles()) files << icon.path;
  bool removed = true;
  for (const QString& file : files) {
    if (QFile::exists(file) && !QFile::remove(file)) removed = false;
  }
  RefreshDatabases();
  return removed;
}

void FreedesktopFileTypeStore::RefreshDatabases() const {
  RunIfInstalled(QStringLiteral("update-mime-database"),
                 {data_home_ + QStringLiteral("/mime")});
  RunIfInstalled(QStringLiteral("update-desktop-database"),
                 {data_home_ + QStringLiteral("/applications")});
}

#endif

}  // namespace spravka
