// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_HOSTILE_BASES_H_
#define SPRAVKA_TESTS_SUPPORT_HOSTILE_BASES_H_

#include <string>
#include <vector>

namespace spravka::testing {

// Base files that once made the reader commit far more memory than they
// hold, or made optimisation write a base that does not load. Each is a
// small demo town with one thing made hostile.
struct HostileBase {
  std::string name;   // a file name, "*.qz"
  std::string what;   // what is hostile about it
  std::string bytes;  // the whole file
};

// kFull: as large as the format allows (megabytes, and a change stream
// that inflates to 1 GiB), for measuring. kSmall: the same shapes a few
// hundred times smaller, quick enough for every test run.
enum class HostileScale { kSmall, kFull };

std::vector<HostileBase> HostileBases(HostileScale scale);

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_HOSTILE_BASES_H_
