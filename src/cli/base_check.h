// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_BASE_CHECK_H_
#define SPRAVKA_CLI_BASE_CHECK_H_

#include <cstddef>
#include <string>
#include <vector>

namespace spravka::cli {

// What a full check of a base file found.
struct BaseCheck {
  std::vector<std::string> problems;  // UTF-8, one finding each
  // Findings that leave the base sound: things this program writes and
  // reads itself but a stricter reader of the format might not.
  std::vector<std::string> notes;
  // As the window would show the base (valid when nothing is wrong).
  size_t home_records = 0;
  size_t org_records = 0;
  size_t changes = 0;
};

// Reads every piece of a base file the way the loader does and verifies it:
// layout, header fields, stamps, both table sections record by record, the
// change section entry by entry, and finally the loaded working tables.
// A base is sound when no problem is found.
BaseCheck CheckBaseFile(std::string file);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_BASE_CHECK_H_
