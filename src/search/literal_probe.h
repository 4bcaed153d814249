// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_LITERAL_PROBE_H_
#define SPRAVKA_SEARCH_LITERAL_PROBE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/match_record.h"
#include "search/slip_match.h"

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
  // The two rarest literals at distinct offsets (one when there is only
  // one), never an "е" that also finds "ё".
  std::vector<ProbeByte> pair;
  // Pieces of a word that may hold a slip are short and common: where the
  // pair stands, a third literal (an "е" that also finds "ё" may be it) is
  // tested many bytes at a time too, before any is checked one by one.
  std::optional<ProbeByte> third;
  // Every literal byte of that keyword, item or piece, the ones above
  // included.
  std::vector<ProbeByte> literals;
  // For a piece of a word that may hold a slip: the word, and how many
  // bytes of it come before the piece. A hit counts only where the whole
  // word, slip and all, can stand around it.
  std::shared_ptr<const SlipWord> slip_word;
  size_t piece_offset = 0;
};

// Every record a pattern matches passes at least one of these probes; with
// none, every record must be tried. An exact keyword gives one probe. A
// keyword that may hold a slip gives two: its bytes on either side of one
// byte in its middle, since a slip spoils at most one of them.
struct ProbeSet {
  std::vector<LiteralProbe> any;  // at most two
};

ProbeSet ChooseProbes(std::string_view pattern, const MatchOptions& options);

// The first x in [from, to) where every literal of a probe stands at x +
// its offset, all of it inside data[lo .. hi] (and for pieces of a word
// that may hold a slip, with the whole word around it); `to` when none.
// Reads only data[lo .. hi].
size_t FindProbe(const ProbeSet& probes, const uint8_t* data, size_t from,
                 size_t to, size_t lo, size_t hi);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_LITERAL_PROBE_H_
