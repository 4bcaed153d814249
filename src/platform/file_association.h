#ifndef SPRAVKA_PLATFORM_FILE_ASSOCIATION_H_
#define SPRAVKA_PLATFORM_FILE_ASSOCIATION_H_

#include <QString>
#include <memory>
#include <string>

#include "app/file_type.h"

namespace spravka {

// The association store of the desktop the program runs on.
std::unique_ptr<FileTypeStore> NativeFileTypeStore();

// The running program's executable: full path, the platform's separators,
// UTF-8.
std::string RunningExecutable();

#ifdef _WIN32

// The registry under HKEY_CLASSES_ROOT: ".qz" names the type "Kodrin",
// whose description, icon and open command follow.
class WindowsFileTypeStore : public FileTypeStore {
 public:
  std::string CommandFor(const std::string& executable) const override;
  std::string StoredCommand() override;
  bool Write(const std::string& executable) override;
};

#else

// The current user's freedesktop folders: a shared-mime-info package in
// <data>/mime/packages and a desktop entry in <data>/applications, <data>
// being $XDG_DATA_HOME or ~/.local/share. After writing, the MIME and
// desktop databases are refreshed by their tools where they are installed.
class FreedesktopFileTypeStore : public FileTypeStore {
 public:
  // `data_home` empty: the user's data folder by the rules above.
  explicit FreedesktopFileTypeStore(QString data_home = {});

  std::string CommandFor(const std::string& executable) const override;
  // The Exec value of the desktop entry; empty unless the MIME package is
  // there too, so that half an association is written again.
  std::string StoredCommand() override;
  bool Write(const std::string& executable) override;

  QString MimePackagePath() const;
  QString DesktopEntryPath() const;

 private:
  QString data_home_;
};

#endif

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_FILE_ASSOCIATION_H_
