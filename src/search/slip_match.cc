// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/slip_match.h"

#include <cstddef>

#include "search/match_record.h"
#include "search/text_fold.h"
#include "storage/record_table.h"

namespace spravka {

// One keyword or item text, pattern bytes [begin, end), and where in a
// record it can stand.
class SlipWord::Word {
 public:
  Word(const uint8_t* begin, const uint8_t* end, bool universal, bool yo)
      : begin_(begin), end_(end), universal_(universal), yo_(yo) {
    int letters = 0;
    for (const uint8_t* i = begin; i != end; ++i) {
      if (IsLetter(*i)) ++letters;
      if (!WordEndTest(i)) ++fewest_;
    }
    slip_ = letters >= kSlipLetters;
    if (slip_) --fewest_;
  }

  // The earliest end of a placement that starts at r, or null.
  const uint8_t* EndFrom(const uint8_t* r) const {
    return slip_ ? EndWithSlip(r) : Exact(begin_, r);
  }

  // False when no placement can start in [first, last]: one that starts at
  // s, slip or not, has its first or second byte at s or s + 1. Reads
  // [first, last + 1].
  bool MayStartIn(const uint8_t* first, const uint8_t* last) const {
    if (end_ - begin_ < 2 || !IsLiteral(begin_) || !IsLiteral(begin_ + 1)) {
      return true;
    }
    for (const uint8_t* r = first; r <= last + 1; ++r) {
      if (SameLetter(*r, begin_[0], yo_) || SameLetter(*r, begin_[1], yo_)) {
        return true;
      }
    }
    return false;
  }

  // The earliest end of a placement starting anywhere in [from, last].
  const uint8_t* EarliestEnd(const uint8_t* from, const uint8_t* last) const {
    const uint8_t* best = nullptr;
    for (const uint8_t* s = from; s <= last; ++s) {
      // Later starts end no earlier.
      if (best != nullptr && static_cast<size_t>(best - s) <= fewest_) break;
      const uint8_t* e = EndFrom(s);
      if (e != nullptr && (best == nullptr || e < best)) best = e;
    }
    return best;
  }

 private:
  // "$" tests for a word end; first in a keyword it is an ordinary byte.
  bool WordEndTest(const uint8_t* i) const {
    return *i == '$' && !(universal_ && i == begin_);
  }
  bool IsLiteral(const uint8_t* i) const {
    return *i != '?' && !WordEndTest(i);
  }

  // Pattern byte *i against record byte *r as the exact match takes it;
  // advances past what it consumed.
  bool Step(const uint8_t*& i, const uint8_t*& r) const {
    const uint8_t c = *r;
    if (WordEndTest(i)) {
      // Never at the very end of a record text in the universal mode.
      if (!IsWordEnd(c) || (universal_ && c == kRecordEnd)) return false;
      ++i;
      return true;
    }
    if (c == kRecordEnd || (*i != '?' && !SameLetter(c, *i, yo_))) {
      return false;
    }
    ++i;
    ++r;
    return true;
  }

  const uint8_t* Exact(const uint8_t* i, const uint8_t* r) const {
    while (i != end_) {
      if (!Step(i, r)) return nullptr;
    }
    return r;
  }

  // Along the exact match, the slip may come at any point; after it the
  // rest matches exactly.
  const uint8_t* EndWithSlip(const uint8_t* r) const {
    const uint8_t* best = nullptr;
    const auto take = [&best](const uint8_t* e) {
      if (e != nullptr && (best == nullptr || e < best)) best = e;
    };
    const uint8_t* i = begin_;
    for (;;) {
      if (i == end_) {
        take(r);
        break;
      }
      const uint8_t p = *i;
      const uint8_t c = *r;  // a letter is never the closing 0x1F
      const bool c_letter = IsLetter(c);
      if (IsLetter(p)) {
        if (c_letter) take(Exact(i + 1, r + 1));  // changed
        take(Exact(i + 1, r));                    // not in the record
        if (c_letter && i + 1 != end_ && IsLetter(i[1]) &&
            SameLetter(c, i[1], yo_) && SameLetter(r[1], p, yo_)) {
          take(Exact(i + 2, r + 2));  // swapped
        }
      }
      if (c_letter) take(Exact(i, r + 1));  // left out
      if (!Step(i, r)) break;
    }
    return best;
  }

  const uint8_t* begin_;
  const uint8_t* end_;
  bool universal_;
  bool yo_;
  bool slip_ = false;
  size_t fewest_ = 0;  // record bytes a placement consumes at the least
};

namespace {

using Word = SlipWord::Word;

bool KeywordsWithSlip(const uint8_t* pattern, const uint8_t* text, bool yo) {
  const uint8_t* r = text;
  const uint8_t* i = pattern;
  const uint8_t* text_end = text;
  while (*text_end != kRecordEnd) ++text_end;
  for (;;) {
    while (*i < 0x21 && *i != kRecordEnd) ++i;
    if (*i == kRecordEnd) return true;
    const uint8_t* const begin = i;
    while (*i >= 0x21) ++i;
    // A keyword consumes its first byte, so it never starts at the end.
    if (r == text_end) return false;
    r = Word(begin, i, true, yo).EarliestEnd(r, text_end - 1);
    if (r == nullptr) return false;
  }
}

bool ItemsWithSlip(const uint8_t* pattern, const uint8_t* text, bool yo) {
  const uint8_t* r = text;
  const uint8_t* i = pattern;
  for (;;) {
    const uint8_t tag = *i;
    if (tag == kRecordEnd) return true;
    const uint8_t mode = i[1];
    const uint8_t* const item = mode == kRecordEnd ? i + 1 : i + 2;
    const uint8_t* item_end = item;
    while (*item_end >= 0x20) ++item_end;
    for (;;) {
      const uint8_t c = *r++;
      if (c == kRecordEnd) return false;
      if (c == tag) break;
    }
    // A substring may start anywhere up to the field's end.
    const uint8_t* last = r;
    if (mode == kSubstringItem) {
      while (*last >= 0x20) ++last;
    }
    r = Word(item, item_end, false, yo).EarliestEnd(r, last);
    if (r == nullptr) return false;
    i = item_end;
  }
}

}  // namespace

bool MaySlip(std::string_view text) {
  int letters = 0;
  for (const char c : text) {
    if (IsLetter(static_cast<uint8_t>(c))) ++letters;
  }
  return letters >= kSlipLetters;
}

bool PatternMaySlip(std::string_view pattern, bool universal) {
  const size_t end = pattern.find(static_cast<char>(kRecordEnd));
  if (end == std::string_view::npos) return false;
  pattern = pattern.substr(0, end);
  const uint8_t stop = universal ? 0x21 : 0x20;
  size_t i = 0;
  while (i < pattern.size()) {
    if (universal) {
      if (static_cast<uint8_t>(pattern[i]) < stop) {
        ++i;
        continue;
      }
    } else {
      if (i + 1 >= pattern.size()) break;  // a tag without text
      i += 2;                              // tag and mode byte
    }
    const size_t begin = i;
    while (i < pattern.size() && static_cast<uint8_t>(pattern[i]) >= stop) ++i;
    if (begin < i && MaySlip(pattern.substr(begin, i - begin))) return true;
  }
  return false;
}

SlipWord::SlipWord(std::string_view word, bool universal, bool yo)
    : bytes_(word) {
  const auto* begin = reinterpret_cast<const uint8_t*>(bytes_.data());
  word_ =
      std::make_unique<const Word>(begin, begin + bytes_.size(), universal, yo);
}

SlipWord::~SlipWord() = default;

bool SlipWord::MayStartIn(const uint8_t* first, const uint8_t* last) const {
  return word_->MayStartIn(first, last);
}

bool SlipWord::FitsFrom(const uint8_t* first, const uint8_t* last) const {
  for (const uint8_t* s = first; s <= last; ++s) {
    if (word_->EndFrom(s) != nullptr) return true;
  }
  return false;
}

bool MatchRecordWithSlip(const uint8_t* pattern, const uint8_t* text,
                         bool universal, bool yo) {
  return universal ? KeywordsWithSlip(pattern, text, yo)
                   : ItemsWithSlip(pattern, text, yo);
}

}  // namespace spravka
