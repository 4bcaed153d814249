// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the freedesktop files that the package installs for all users: the
// MIME package of base files and the program's desktop entry. They are the
// texts the program itself writes for the current user, so the two never
// disagree.
// Usage: write_desktop_files EXECUTABLE_NAME MIME_PACKAGE DESKTOP_ENTRY
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "app/file_type.h"

namespace {

bool WriteFile(const char* path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  std::fprintf(stderr, "write_desktop_files: cannot write %s\n", path);
  return false;
}

// An installed program is found on the search path by its bare name,
// which then needs no quoting in an Exec value.
bool IsPlainName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       (c >= '0' && c <= '9') || c == '-' || c == '_' ||
                       c == '.';
    if (!plain) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || !IsPlainName(argv[1])) {
    std::fputs(
        "usage: write_desktop_files EXECUTABLE_NAME MIME_PACKAGE "
        "DESKTOP_ENTRY\n",
        stderr);
    return 2;
  }
  const std::string exec = std::string(argv[1]) + " %f";
  const bool written = WriteFile(argv[2], spravka::MimePackageXml()) &&
                       WriteFile(argv[3], spravka::DesktopEntryText(exec));
  return written ? 0 : 1;
}
