// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_COMMAND_H_
#define SPRAVKA_CLI_COMMAND_H_

#include <string>
#include <vector>

namespace spravka::cli {

// One subcommand of spravka-cli. `args` are the words after the command
// name. Returns the process exit code; messages go to stderr in UTF-8.
struct Command {
  const char* name;
  const char* summary;  // one line for --help
  const char* usage;    // the full help text of the command
  int (*run)(const std::vector<std::string>& args);
};

// The commands, each defined in its own NAME_command.cc.
extern const Command kBuildCommand;
extern const Command kCheckCommand;
extern const Command kDemoCommand;
extern const Command kExportCommand;
extern const Command kInfoCommand;
extern const Command kOptimizeCommand;
extern const Command kRestoreCommand;
extern const Command kSearchCommand;

// Every command, in the order the help lists them.
const std::vector<Command>& Commands();

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_COMMAND_H_
