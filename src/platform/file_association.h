// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_FILE_ASSOCIATION_H_
#define SPRAVKA_PLATFORM_FILE_ASSOCIATION_H_

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/file_type.h"

namespace spravka {

// The association store of the desktop the program runs on, for the
// program `executable` (full path, UTF-8). On a freedesktop system, a
// program installed with its own desktop entry (<prefix>/share/applications
// beside <prefix>/bin) has its association provided by the installation:
// that entry and the installed MIME type serve every user, and a user's
// copy would outlive the program.
std::unique_ptr<FileTypeStore> NativeFileTypeStore(
    const std::string& executable);

// The running program's executable: full path, the platform's separators,
// UTF-8.
std::string RunningExecutable();

#ifndef _WIN32  // Windows: RegistryFileTypeStore, in the core

// The current user's freedesktop folders: a shared-mime-info package in
// <data>/mime/packages, a desktop entry in <data>/applications and the
// icon it names in <data>/icons/hicolor, <data> being $XDG_DATA_HOME or
// ~/.local/share. After writing or removing, the MIME and desktop
// databases are refreshed by their tools where they are installed.
class FreedesktopFileTypeStore : public FileTypeStore {
 public:
  // `data_home` empty: the user's data folder by the rules above.
  explicit FreedesktopFileTypeStore(QString data_home = {},
                                    bool provided_by_installation = false);

  std::string CommandFor(const std::string& executable) const override;
  // The Exec value of the desktop entry; empty unless the MIME package and
  // the icons are there too, so that half an association is written again.
  std::string StoredCommand() override;
  bool Write(const std::string& executable) override;
  bool ProvidedByInstallation() const override {
    return provided_by_installation_;
  }
  // The program the user's desktop entry runs is gone: a path that names
  // no file, or a bare name found nowhere on PATH.
  bool StoredProgramGone() override;
  // Removes the desktop entry, the MIME package and the icons.
  bool Remove() override;

  QString MimePackagePath() const;
  QString DesktopEntryPath() const;
  // One size of the program's icon in the user's icon theme: the file and
  // the compiled-in picture it is written from.
  struct IconFile {
    QString path;
    QString picture;
  };
  std::vector<IconFile> IconFiles() const;

 private:
  void RefreshDatabases() const;

  QString data_home_;
  bool provided_by_installation_;
};

#endif

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_FILE_ASSOCIATION_H_
