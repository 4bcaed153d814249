// SPDX-License-Identifier: GPL-3.0-or-later
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
  if (executable.empty()) return false;
  // The association is a courtesy: nothing that goes wrong here may stop
  // the program.
  try {
    if (store.ProvidedByInstallation()) {
      // What a build that is gone left would stand in for the
      // installation's association and open nothing.
      return store.StoredProgramGone() && store.Remove();
    }
    if (folder_read_only) return false;
#ifdef _WIN32
    if (IsFloppyOrNetworkFolder(program_folder)) return false;
#endif
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

std::vector<RegistryKeyValue> WindowsFileTypeKeys(std::string_view executable) {
  return {
      {".qz", "Kodrin"},
      {"Kodrin", kBaseFileTypeDescription},
      {"Kodrin\\DefaultIcon", std::string(executable) + ",0"},
      {kWindowsOpenCommandKey, WindowsOpenCommand(executable)},
  };
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

std::string MimePackageXml() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/"
             "shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kBaseMimeType +
         "\">\n"
         "    <comment>" +
         kBaseFileTypeDescription +
         "</comment>\n"
         "    <icon name=\"" +
         kProgramIconName +
         "\"/>\n"
         "    <glob pattern=\"*.qz\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string DesktopEntryText(std::string_view exec_value) {
  return std::string(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Spravka\n"
             "Name[ru]=Телефонный справочник\n"
             "GenericName=Telephone directory\n"
             "GenericName[ru]=Справочник телефонов\n"
             "Comment=Search a town's telephone directory\n"
             "Comment[ru]=Поиск телефонов в справочнике города\n"
             "Keywords=telephone;phone;directory;town;\n"
             "Keywords[ru]=телефон;справочник;абонент;организация;город;\n"
             "Exec=") +
         std::string(exec_value) +
         "\n"
         "Icon=" +
         kProgramIconName +
         "\n"
         "MimeType=" +
         kBaseMimeType +
         ";\n"
         "Terminal=false\n"
         "Categories=Office;ContactManagement;\n";
}

std::string DesktopEntryExec(std::string_view text) {
  constexpr std::string_view kGroup = "[Desktop Entry]";
  constexpr std::string_view kKey = "Exec=";
  bool in_group = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view()
                                         : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with('[')) {
      in_group = line == kGroup;
    } else if (in_group && line.starts_with(kKey)) {
      return std::string(line.substr(kKey.size()));
    }
  }
  return {};
}

std::string DesktopExecProgram(std::string_view exec_value) {
  // The escapes of a string value first.
  std::string line;
  for (size_t i = 0; i < exec_value.size(); ++i) {
    char c = exec_value[i];
    if (c == '\\' && i + 1 < exec_value.size()) {
      switch (exec_value[++i]) {
        case 's':
          c = ' ';
          break;
        case 'n':
          c = '\n';
          break;
        case 't':
          c = '\t';
          break;
        case 'r':
          c = '\r';
          break;
        default:
          c = exec_value[i];
      }
    }
    line += c;
  }
  // Then the first argument: quoted, with \ before " ` $ and \, or one
  // word; "%%" stands for "%".
  std::string program;
  size_t i = 0;
  if (!line.empty() && line.front() == '"') {
    for (i = 1; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      program += line[i];
    }
    if (i == line.size()) return {};  // never closed
  } else {
    program = line.substr(0, line.find(' '));
  }
  std::string unpercented;
  for (size_t k = 0; k < program.size(); ++k) {
    unpercented += program[k];
    if (program[k] == '%' && k + 1 < program.size() && program[k + 1] == '%')
      ++k;
  }
  return unpercented;
}

}  // namespace spravka
