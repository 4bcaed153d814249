// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_SLIP_MATCH_H_
#define SPRAVKA_SEARCH_SLIP_MATCH_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace spravka {

// The fewest letters a keyword or item text has before it may hold a slip:
// in shorter words one slip makes almost anything match.
inline constexpr int kSlipLetters = 4;

// Whether a keyword or item text may hold a slip.
bool MaySlip(std::string_view text);

// Whether some keyword (universal) or item text (detailed) of a pattern may
// hold a slip, so that allowing slips can find more than the exact search.
bool PatternMaySlip(std::string_view pattern, bool universal);

// MatchRecord where each keyword or item text of four or more letters may
// match with one slip: a letter of it changed into another letter, a letter
// of it not in the record, a letter of the record not in it, or two
// neighbouring letters swapped. Shorter ones match exactly. "?", "$", the
// folding and `yo` act as in the exact match; keyword order and fields too.
// A keyword (item) is placed where it ends earliest, which leaves the most
// room to the ones after it. A substring item is tried at every position of
// its field. Works in place, reads neither text beyond its 0x1F.
bool MatchRecordWithSlip(const uint8_t* pattern, const uint8_t* text,
                         bool universal, bool yo);

// A keyword or item text of a pattern as MatchRecordWithSlip takes it
// (with a slip when it has four or more letters), made once for many
// tests.
class SlipWord {
 public:
  SlipWord(std::string_view word, bool universal, bool yo);
  ~SlipWord();
  SlipWord(const SlipWord&) = delete;
  SlipWord& operator=(const SlipWord&) = delete;

  // Whether it can stand in a record text starting anywhere in
  // [first, last]. The text's closing 0x1F must lie at or after `last`.
  bool FitsFrom(const uint8_t* first, const uint8_t* last) const;
  // False when it certainly cannot start in [first, last]: a placement
  // that starts at s, slip or not, has its first or second byte at s or
  // s + 1. Reads exactly [first, last + 1].
  bool MayStartIn(const uint8_t* first, const uint8_t* last) const;
  size_t size() const { return bytes_.size(); }

  // Where one word can stand; MatchRecordWithSlip places each with it.
  class Word;

 private:
  std::string bytes_;
  std::unique_ptr<const Word> word_;
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SLIP_MATCH_H_
