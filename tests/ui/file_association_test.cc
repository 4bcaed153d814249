// SPDX-License-Identifier: GPL-3.0-or-later
// The association of base files with the program in the user's
// freedesktop folders, pointed at a temporary folder.
#include "platform/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "ui_test_main.h"

namespace spravka::testing {
namespace {

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

void AppendText(const QString& path, const QByteArray& text) {
  QFile file(path);
  if (!file.open(QIODevice::Append)) qFatal("cannot append");
  file.write(text);
}

// XDG_DATA_HOME set for the life of the object.
class DataHome {
 public:
  DataHome() : old_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", dir_.path().toLocal8Bit());
  }
  ~DataHome() { qputenv("XDG_DATA_HOME", old_); }
  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
};

// Runs an installed tool; -1 when it is not installed.
int RunTool(const char* tool, const QStringList& args, QString* output) {
  const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
  if (path.isEmpty()) return -1;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(path, args);
  process.waitForFinished(10000);
  *output = QString::fromUtf8(process.readAll());
  return process.exitCode();
}

const std::string kExe = "/opt/Spravka Test/spravka";

// The program's icons in the user's icon theme.
QStringList IconFiles(const QString& data_home) {
  QStringList files;
  const QDir theme(data_home + "/icons/hicolor");
  for (const QString& size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    files << theme.filePath(size + "/apps/spravka.png");
  return files;
}

}  // namespace

class FileAssociationTest : public QObject {
  Q_OBJECT

 private slots:
  void writtenOnceThenOnlyForAnotherExecutable() {
    DataHome home;
    FreedesktopFileTypeStore store;
    QCOMPARE(store.DesktopEntryPath(),
             home.path() + "/applications/spravka.desktop");
    QCOMPARE(store.MimePackagePath(),
             home.path() + "/mime/packages/spravka.xml");

    QVERIFY(RegisterFileType(false, "/opt/Spravka Test", kExe, store));
    const QString mime = ReadText(store.MimePackagePath());
    QVERIFY(mime.contains("<mime-type type=\"application/x-spravka-base\">"));
    QVERIFY(mime.contains("<glob pattern=\"*.qz\"/>"));
    QVERIFY(mime.contains(QStringLiteral(
        "<comment>База данных телефонного справочника</comment>")));
    const QString entry = ReadText(store.DesktopEntryPath());
    QVERIFY(entry.contains("\nExec=\"/opt/Spravka Test/spravka\" %f\n"));
    QVERIFY(entry.contains("\nMimeType=application/x-spravka-base;\n"));

    // The desktop's own tools accept the files and index them.
    QString output;
    const int valid =
        RunTool("desktop-file-validate", {store.DesktopEntryPath()}, &output);
    if (valid >= 0)
      QVERIFY2(valid == 0 && output.isEmpty(), qPrintable(output));
    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
      QVERIFY(ReadText(home.path() + "/mime/globs2")
                  .contains("application/x-spravka-base:*.qz"));
    }
    if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty()) {
      QVERIFY(ReadText(home.path() + "/applications/mimeinfo.cache")
                  .contains("application/x-spravka-base=spravka.desktop;"));
    }

    // The icon the entry names is in the user's icon theme, in every size.
    QVERIFY(entry.contains("\nIcon=spravka\n"));
    const QStringList icons = IconFiles(home.path());
    QVERIFY(!icons.isEmpty());
    for (const QString& icon : icons) {
      QFile file(icon);
      QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(icon));
      QVERIFY(file.readAll().startsWith("\x89PNG"));
    }

    // A second start of the same program writes nothing.
    AppendText(store.DesktopEntryPath(), "# left alone\n");
    QVERIFY(!RegisterFileType(false, "/opt/Spravka Test", kExe, store));
    QVERIFY(ReadText(store.DesktopEntryPath()).endsWith("# left alone\n"));

    // Another executable takes the association over.
    QVERIFY(RegisterFileType(false, "/usr/bin", "/usr/bin/spravka", store));
    const QString rewritten = ReadText(store.DesktopEntryPath());
    QVERIFY(!rewritten.contains("# left alone"));
    QVERIFY(rewritten.contains("\nExec=\"/usr/bin/spravka\" %f\n"));

    // Half an association (the MIME type or an icon gone) is written again.
    QVERIFY(QFile::remove(store.MimePackagePath()));
    QVERIFY(RegisterFileType(false, "/usr/bin", "/usr/bin/spravka", store));
    QVERIFY(QFile::exists(store.MimePackagePath()));
    QVERIFY(QFile::remove(icons.front()));
    QVERIFY(RegisterFileType(false, "/usr/bin", "/usr/bin/spravka", store));
    QVERIFY(QFile::exists(icons.front()));
  }

  // An installed program has its desktop entry and MIME type from the
  // installation: it writes none for the user, who would keep it after
  // the program is removed. A program run from where it was built writes
  // its own.
  void anInstalledProgramLeavesTheUsersFoldersAlone() {
    DataHome home;
    QTemporaryDir prefix;
    QVERIFY(QDir().mkpath(prefix.path() + "/bin"));
    QVERIFY(QDir().mkpath(prefix.path() + "/share/applications"));
    const std::string installed =
        (prefix.path() + "/bin/spravka").toStdString();
    QVERIFY(!NativeFileTypeStore(installed)->ProvidedByInstallation());
    AppendText(prefix.path() + "/share/applications/spravka.desktop",
               "[Desktop Entry]\n");
    const auto store = NativeFileTypeStore(installed);
    QVERIFY(store->ProvidedByInstallation());
    QVERIFY(!NativeFileTypeStore(kExe)->ProvidedByInstallation());
    QVERIFY(!RegisterFileType(false, "/usr/bin", installed, *store));
    QVERIFY(QDir(home.path()).isEmpty());
  }

  // A user's association left by a build that no longer exists opens
  // nothing. The installed program removes it, so that the installation's
  // serves; one that runs a program still there stays.
  void anInstalledProgramRemovesAnAssociationOfAProgramGone() {
    DataHome home;
    FreedesktopFileTypeStore user;
    QVERIFY(RegisterFileType(false, "/bin", "/bin/sh", user));
    FreedesktopFileTypeStore installed({}, /*provided_by_installation=*/true);
    QVERIFY(
        !RegisterFileType(false, "/usr/bin", "/usr/bin/spravka", installed));
    QVERIFY(QFile::exists(user.DesktopEntryPath()));

    QVERIFY(RegisterFileType(false, "/gone", "/gone/build/spravka", user));
    QVERIFY(RegisterFileType(true, "/usr/bin", "/usr/bin/spravka", installed));
    QVERIFY(!QFile::exists(user.DesktopEntryPath()));
    QVERIFY(!QFile::exists(user.MimePackagePath()));
    for (const QString& icon : IconFiles(home.path()))
      QVERIFY2(!QFile::exists(icon), qPrintable(icon));
    if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty()) {
      QVERIFY(!ReadText(home.path() + "/applications/mimeinfo.cache")
                   .contains("spravka.desktop"));
    }
    QVERIFY(
        !RegisterFileType(false, "/usr/bin", "/usr/bin/spravka", installed));
  }

  void readOnlyWorkingFolderWritesNothing() {
    DataHome home;
    FreedesktopFileTypeStore store;
    QVERIFY(!RegisterFileType(true, "/opt/Spravka Test", kExe, store));
    QVERIFY(QDir(home.path()).isEmpty());
  }

  // A data folder that cannot be made: nothing is written and nothing is
  // reported.
  void unwritableDataFolderIsSwallowed() {
    DataHome home;
    const QString blocker = home.path() + "/not-a-folder";
    AppendText(blocker, "x");
    FreedesktopFileTypeStore store(blocker);
    QVERIFY(!RegisterFileType(false, "/opt/Spravka Test", kExe, store));
    QCOMPARE(ReadText(blocker), QStringLiteral("x"));
  }
};

SPRAVKA_UI_TEST(FileAssociationTest);

}  // namespace spravka::testing

#include "file_association_test.moc"
