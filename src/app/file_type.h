// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_FILE_TYPE_H_
#define SPRAVKA_APP_FILE_TYPE_H_

#include <string>
#include <string_view>
#include <vector>

namespace spravka {

// The description the desktop shows for a base file.
inline constexpr char kBaseFileTypeDescription[] =
    "База данных телефонного справочника";

// Where the desktop keeps which program opens base files (".qz"): the
// registry on Windows, the user's MIME and application folders on a
// freedesktop system. Paths and commands are UTF-8. Tests use a fake.
class FileTypeStore {
 public:
  virtual ~FileTypeStore() = default;
  // The command that opens a base file with `executable`, in the form the
  // store keeps it.
  virtual std::string CommandFor(const std::string& executable) const = 0;
  // The command kept now; empty when there is none or it cannot be read.
  virtual std::string StoredCommand() = 0;
  // Writes the whole association for `executable`. False when a part of
  // it could not be written.
  virtual bool Write(const std::string& executable) = 0;

  // Whether the program's installation provides the association for every
  // user (a package's desktop entry and MIME type): then the user's own is
  // never written, and one left by a program that is gone is removed, so
  // that the installation's serves.
  virtual bool ProvidedByInstallation() const { return false; }
  // Whether the association kept now runs a program that does not exist.
  virtual bool StoredProgramGone() { return false; }
  // Removes the user's own association. False when a part of it stays.
  virtual bool Remove() { return false; }
};

// `RegisterFileType`: makes base files open with `executable`, unless the
// working folder is read-only or the program runs from a floppy drive or a
// network path (Windows). Writes only when the stored command differs from
// the one for `executable`. Where the installation provides the
// association, only removes the user's own when it runs a program that is
// gone. Never fails: a store that cannot be read or written leaves things
// as they are. True when it wrote or removed the association.
bool RegisterFileType(bool folder_read_only, std::string_view program_folder,
                      const std::string& executable, FileTypeStore& store);

// Whether a Windows folder lies on a floppy drive (A:, B:) or a network
// share (a path that begins with a separator).
bool IsFloppyOrNetworkFolder(std::string_view folder);

// The Windows open command: the executable's path in double quotation
// marks (unquoted, a path with blanks would let another program run), a
// blank, and "%1" in double quotation marks.
std::string WindowsOpenCommand(std::string_view executable);

// One key of the Windows association: its name under the classes key and
// its default value (UTF-8).
struct RegistryKeyValue {
  std::string key;
  std::string value;
};

// The key that holds the open command.
inline constexpr char kWindowsOpenCommandKey[] = "Kodrin\\shell\\open\\command";

// The Windows association for `executable`, in the order it is written:
// ".qz" names the type "Kodrin", which has the description, the icon (the
// executable's first) and the open command last, so that a command found
// stored means the rest was written before it.
std::vector<RegistryKeyValue> WindowsFileTypeKeys(std::string_view executable);

// The value of a desktop entry's Exec key that opens one file with
// `executable`: the path as one quoted argument by the desktop-entry rules
// (", `, $ and \ escaped inside the quotes, % doubled), " %f", and the
// escapes of a string value (\ doubled, line breaks and tabs as \n, \r, \t).
std::string DesktopExecValue(std::string_view executable);

// The freedesktop form of the association: a MIME type for "*.qz" and a
// desktop entry that opens it.
inline constexpr char kBaseMimeType[] = "application/x-spravka-base";
inline constexpr char kMimePackageName[] = "spravka.xml";
inline constexpr char kDesktopEntryName[] = "spravka.desktop";
// The program's icon in the desktop's icon theme.
inline constexpr char kProgramIconName[] = "spravka";

// The shared-mime-info package that defines the type (UTF-8 XML).
std::string MimePackageXml();

// The desktop entry of the program with this Exec value (DesktopExecValue).
std::string DesktopEntryText(std::string_view exec_value);

// The Exec value of a desktop entry's text; empty when it has none.
std::string DesktopEntryExec(std::string_view entry_text);

// The program an Exec value runs (its first argument, unquoted and
// unescaped: DesktopExecValue backwards); empty when it cannot be read.
std::string DesktopExecProgram(std::string_view exec_value);

}  // namespace spravka

#endif  // SPRAVKA_APP_FILE_TYPE_H_
