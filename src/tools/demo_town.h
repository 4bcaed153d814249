// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TOOLS_DEMO_TOWN_H_
#define SPRAVKA_TOOLS_DEMO_TOWN_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/base_header.h"

namespace spravka {

// A synthetic but realistic town, the same for the same seed: Russian
// surnames with initials, common streets, houses like "12а" and "7/1",
// flats and districts; organisations with departments and offices.
struct DemoTown {
  BaseHeader header;      // all field kinds, default places and widths
  std::string home_text;  // table texts as a file section holds them
  std::string org_text;
};

DemoTown MakeDemoTown(size_t home_records, size_t org_records, uint32_t seed);

}  // namespace spravka

#endif  // SPRAVKA_TOOLS_DEMO_TOWN_H_
