// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_CONSOLE_H_
#define SPRAVKA_CLI_CONSOLE_H_

#include <string>
#include <string_view>
#include <vector>

namespace spravka::cli {

// Exit codes: a failure of the operation, a command line that makes no
// sense, and a base a window holds open that the command would change.
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOpenInWindow = 3;

// "spravka-cli: message" on stderr; returns kExitFailure.
int Fail(std::string_view message);

// The message and a pointer to the command's help; returns kExitUsage.
int UsageError(std::string_view command, std::string_view message);

// A warning on stderr that does not stop the command.
void Warn(std::string_view message);

// The program's messages break lines with "\r\n"; the terminal wants "\n".
std::string ForTerminal(std::string_view message);

// Windows-1251 text from a base as UTF-8 for the terminal.
std::string Show(std::string_view cp1251);

// Whole files; on failure the reason has been printed and the result is
// false. A base is read only from a regular file.
bool ReadInputFile(const std::string& path, std::string* bytes);
// A table to import, read to its end: a pipe, FIFO or device as well as a
// file.
bool ReadInputStream(const std::string& path, std::string* bytes);
// A new base: refused when `path` is one of `inputs`, is not a regular
// file, or exists and `force` is not given; and a base a window holds open
// is never replaced, `force` or not (kExitOpenInWindow): the window's
// edits belong to that base. With `force` the old file is kept beside it
// as the ".~qz" backup, replaced only once the new file is complete;
// without it, a file that appears while the base is written is never
// replaced ("файл уже есть"). Each returns 0, or the exit code of a
// refusal it has printed. CheckNewBase says in advance (before the base is
// built) what WriteNewBase checks again under the writers' lock.
int CheckNewBase(const std::string& path, bool force,
                 const std::vector<std::string>& inputs);
int WriteNewBase(const std::string& path, std::string_view bytes, bool force,
                 const std::vector<std::string>& inputs);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_CONSOLE_H_
