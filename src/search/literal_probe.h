// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_LITERAL_PROBE_H_
#define SPRAVKA_SEARCH_LITERAL_PROBE_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace spravka {

// A byte a record byte c passes when (c | mask) == byte: the mask 0x20 lets
// а–я also meet А–Я.
struct ProbeByte {
  size_t offset = 0;  // bytes consumed before it in its keyword or item
  uint8_t byte = 0;
  uint8_t mask = 0;
};

// A byte test that every record matching a pattern passes somewhere in its
// text: the literal bytes of one keyword or item at their offsets. The two
// rarest of them are looked for many bytes at a time; where both stand at
// their distance, the others are checked before the record is found and
// confirmed. So a scan leaps over the records that cannot match.
struct LiteralProbe {
  int bytes = 0;  // 0: the pattern has no literal byte; 1 or 2 looked for
  ProbeByte first, second;  // second.offset >= first.offset
  // Every literal byte of that keyword or item, the two above included.
  std::vector<ProbeByte> literals;
};

LiteralProbe ChooseProbe(std::string_view pattern, bool universal);

// The first x in [from, to) where the probe's first byte stands at x, the
// second one at its distance, and every literal of the keyword or item at
// its offset, all of it inside data[lo .. hi]; `to` when none. x is where
// the first byte stands. Reads only data[lo .. hi] and needs
// to - 1 + (second.offset - first.offset) <= hi.
size_t FindProbe(const LiteralProbe& probe, const uint8_t* data, size_t from,
                 size_t to, size_t lo, size_t hi);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_LITERAL_PROBE_H_
