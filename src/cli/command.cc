// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"

namespace spravka::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      kBuildCommand, kCheckCommand,    kDemoCommand,    kExportCommand,
      kInfoCommand,  kOptimizeCommand, kRestoreCommand, kSearchCommand,
  };
  return commands;
}

}  // namespace spravka::cli
