// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/process_start.h"

// <windows.h> comes before the other Windows headers.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "storage/windows_wide_text.h"

namespace spravka::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

namespace {

UINT console_code_page = 0;

void RestoreConsoleCodePage() {
  std::fflush(nullptr);  // what is still buffered is UTF-8 too
  SetConsoleOutputCP(console_code_page);
}

bool IsConsole(DWORD stream) {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

}  // namespace

void SetUpStandardStreams() {
  // Exported tables and messages are the same bytes as on other systems:
  // "\n" ends a line (a console starts the next line at its left edge).
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // A console shows the UTF-8 text in its own letters; the code page it had
  // comes back when the program ends.
  if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
    console_code_page = GetConsoleOutputCP();
    if (console_code_page != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
      std::atexit(RestoreConsoleCodePage);
  }
}

}  // namespace spravka::cli
