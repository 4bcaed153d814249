#include "app/file_type.h"

namespace spravka {

bool IsFloppyOrNetworkFolder(std::string_view folder) {
  if (folder.empty()) return false;
  switch (folder.front()) {
    case 'A':
    case 'B':
    case 'a':
    case 'b':
    case '\\':
    case '/':  // Qt writes "//server/share" for a network path
      return true;
    default:
      return false;
  }
}

bool RegisterFileType(bool folder_read_only, std::string_view program_folder,
                      const std::string& executable, FileTypeStore& store) {
  if (folder_read_only || executable.empty()) return false;
#ifdef _WIN32
  if (IsFloppyOrNetworkFolder(program_folder)) return false;
#endif
  // The association is a courtesy: nothing that goes wrong here may stop
  // the program.
  try {
    const std::string command = store.CommandFor(executable);
    if (store.StoredCommand() == command) return false;
    return store.Write(executable);
  } catch (...) {
    return false;
  }
}

std::string WindowsOpenCommand(std::string_view executable) {
  return "\"" + std::string(executable) + "\" \"%1\"";
}

std::string DesktopExecValue(std::string_view executable) {
  // The argument, quoted.
  std::string quoted = "\"";
  for (char c : executable) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
    if (c == '%') quoted += '%';  // "%" alone would start a field code
  }
  quoted += "\" %f";
  // The escapes every string value of a desktop entry has.
  std::string value;
  for (char c : quoted) {
    switch (c) {
      case '\\':
        value += "\\\\";
        break;
      case '\n':
        value += "\\n";
        break;
      case '\r':
        value += "\\r";
        break;
      case '\t':
        value += "\\t";
        break;
      default:
        value += c;
    }
  }
  return value;
}

}  // namespace spravka
