// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_PROCESS_START_H_
#define SPRAVKA_CLI_PROCESS_START_H_

#include <string>
#include <vector>

namespace spravka::cli {

// The program's arguments in UTF-8, whatever the platform hands main():
// Windows gives them in the ANSI code page there, which cannot hold every
// name, so they are taken from its UTF-16 command line instead.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The standard streams carry the program's bytes unchanged (no line-end
// translation), and a console window shows its UTF-8 text as such, until
// the program ends.
void SetUpStandardStreams();

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_PROCESS_START_H_
