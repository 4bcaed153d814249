// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/process_start.h"

// <windows.h> comes before the other Windows headers.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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

// The length of the longest prefix of `bytes` that does not end inside a
// UTF-8 sequence: the rest waits for the bytes that complete it.
size_t WholeCharacters(std::string_view bytes) {
  size_t end = bytes.size();
  for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further
    const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (length > back) end = bytes.size() - back;
    break;
  }
  return end;
}

// The standard streams that go to a console window: the program's UTF-8
// bytes reach it through one pipe, and a thread writes them as UTF-16 with
// WriteConsoleW, which shows every letter whatever the console's code page
// (a console given UTF-8 bytes a few at a time can show a letter split
// between two writes as two wrong ones). One pipe for both streams keeps
// messages and output in the order they were written.
class ConsoleRelay {
 public:
  ConsoleRelay(HANDLE console, int pipe_read)
      : console_(console), pipe_read_(pipe_read), thread_([this] { Relay(); }) {}

  // Everything written so far reaches the console before this returns.
  void Finish(const std::vector<FILE*>& streams) {
    for (FILE* stream : streams) std::fflush(stream);
    // The relay sees the pipe end once no stream holds it open.
    for (FILE* stream : streams) _close(_fileno(stream));
    thread_.join();
  }

 private:
  void Relay() {
    std::string pending;
    char buffer[4096];
    for (;;) {
      const int read = _read(pipe_read_, buffer, sizeof buffer);
      if (read <= 0) break;
      pending.append(buffer, static_cast<size_t>(read));
      const size_t whole = WholeCharacters(pending);
      Show(std::string_view(pending).substr(0, whole));
      pending.erase(0, whole);
    }
    Show(pending);
    _close(pipe_read_);
  }

  void Show(std::string_view utf8) {
    const std::wstring text = WideFromUtf8(utf8);
    DWORD written = 0;
    if (!text.empty()) {
      WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()),
                    &written, nullptr);
    }
  }

  HANDLE console_;
  int pipe_read_;
  std::thread thread_;
};

ConsoleRelay* relay = nullptr;
std::vector<FILE*> relayed_streams;

void FinishRelay() { relay->Finish(relayed_streams); }

// The console a standard handle writes to; none when it goes elsewhere.
HANDLE ConsoleOf(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  DWORD mode;
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr ||
      !GetConsoleMode(handle, &mode)) {
    return nullptr;
  }
  return handle;
}

}  // namespace

void SetUpStandardStreams() {
  // Exported tables and messages are the same bytes as on other systems:
  // "\n" ends a line (a console starts the next line at its left edge).
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const HANDLE output_console = ConsoleOf(STD_OUTPUT_HANDLE);
  const HANDLE error_console = ConsoleOf(STD_ERROR_HANDLE);
  if (output_console == nullptr && error_console == nullptr) return;
  // A handle of its own: moving the streams onto the pipe closes theirs.
  HANDLE console = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(),
                       output_console ? output_console : error_console,
                       GetCurrentProcess(), &console, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return;
  }
  int ends[2];
  if (_pipe(ends, 64 * 1024, _O_BINARY | _O_NOINHERIT) != 0) {
    CloseHandle(console);
    return;
  }
  for (FILE* stream : {stdout, stderr}) {
    if ((stream == stdout ? output_console : error_console) == nullptr)
      continue;
    // What a console shows at once, it shows at once here too.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    if (_dup2(ends[1], _fileno(stream)) == 0) relayed_streams.push_back(stream);
  }
  _close(ends[1]);
  relay = new ConsoleRelay(console, ends[0]);
  std::atexit(FinishRelay);
}

}  // namespace spravka::cli
