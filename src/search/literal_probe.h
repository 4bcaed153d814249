// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_LITERAL_PROBE_H_
#define SPRAVKA_SEARCH_LITERAL_PROBE_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "search/match_record.h"

namespace spravka {

// A byte a record byte c passes when (c | mask) == byte: the mask 0x20 lets
// а–я also meet А–Я. With `or_yo` ("е" where it also finds "ё") ё and Ё
// pass too.
struct ProbeByte {
  size_t offset = 0;  // bytes consumed before it in its keyword or item
  uint8_t byte = 0;
  uint8_t mask = 0;
  bool or_yo = false;
};

// A byte test that records matching a pattern pass somewhere in their text:
// the literal bytes of one keyword or item (or of a piece of it) at their
// offsets. The two rarest of them are looked for many bytes at a time;
// where both stand at their distance, the others are checked before the
// record is found and confirmed. So a scan leaps over the records that
// cannot match.
struct LiteralProbe {
  int bytes = 0;            // 1 or 2 looked for
  ProbeByte first, second;  // second.offset >= first.offset; never or_yo
  // Every literal byte of that keyword, item or piece, the two above
  // included.
  std::vector<ProbeByte> literals;
};

// Every record a pattern matches passes at least one of these probes; with
// none, every record must be tried. An exact keyword gives one probe. A
// keyword that may hold a slip gives two: its bytes on either side of one
// byte in its middle, since a slip spoils at most one of them.
struct ProbeSet {
  std::vector<LiteralProbe> any;  // at most two
};

ProbeSet ChooseProbes(std::string_view pattern, const MatchOptions& options);

// The first x in [from, to) where a probe's first byte stands at x, its
// second one at its distance, and every literal of it at its offset, all of
// it inside data[lo .. hi]; `to` when none. Reads only data[lo .. hi].
size_t FindProbe(const ProbeSet& probes, const uint8_t* data, size_t from,
                 size_t to, size_t lo, size_t hi);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_LITERAL_PROBE_H_
