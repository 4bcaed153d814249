// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/process_start.h"

namespace spravka::cli {

// Arguments arrive as the terminal typed them, UTF-8 on the systems the
// program supports.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

// Streams carry bytes as they are, and terminals take UTF-8.
void SetUpStandardStreams() {}

}  // namespace spravka::cli
