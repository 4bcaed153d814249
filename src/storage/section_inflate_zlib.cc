// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_section.h"
#include "storage/zlib_codec.h"

namespace spravka {

// Where libdeflate is not to be had, zlib inflates the tables; its verdict
// is the one the libdeflate reader is held to.
bool InflateSection(std::string_view stream, char* out, size_t size) {
  return InflateExact(stream, out, size);
}

bool InflateWholeSection(std::string_view stream, char* out, size_t size) {
  size_t trailing = 0;
  return InflateExact(stream, out, size, &trailing) && trailing == 0;
}

}  // namespace spravka
