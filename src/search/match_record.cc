// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/match_record.h"

#include "search/slip_match.h"
#include "search/text_fold.h"
#include "storage/record_table.h"

namespace spravka {
namespace {

// Keywords in order, each found leftmost and strictly after the one before.
template <bool kYo>
bool MatchKeywords(const uint8_t* pattern, const uint8_t* text) {
  const uint8_t* r = text;
  const uint8_t* i = pattern;
  for (;;) {
    // Blanks and control bytes separate keywords; 0x1F ends the pattern.
    while (*i < 0x21 && *i != kRecordEnd) ++i;
    if (*i == kRecordEnd) return true;
    const uint8_t* const keyword = i;
    const uint8_t first = *keyword;
    for (;;) {
      // Find the keyword's first byte ("$" here is an ordinary byte).
      for (;;) {
        const uint8_t c = *r++;
        if (c == kRecordEnd) return false;
        if (first == '?' || SameLetter(c, first, kYo)) break;
      }
      const uint8_t* const anchor = r;
      i = keyword + 1;
      bool matched = true;
      for (;;) {
        const uint8_t p = *i;
        if (p == kRecordEnd) return true;
        if (p < 0x21) break;  // the keyword is complete
        const uint8_t c = *r++;
        if (c == kRecordEnd) return false;
        if (p == '?') {
          // any byte
        } else if (p == '$') {
          if (!IsWordEnd(c)) {
            matched = false;
            break;
          }
          --r;  // a word end consumes nothing
        } else if (!SameLetter(c, p, kYo)) {
          matched = false;
          break;
        }
        ++i;
      }
      if (matched) break;
      r = anchor;  // try the keyword one byte further on
    }
  }
}

// Items in ascending tag order, each tested inside the field of its tag.
template <bool kYo>
bool MatchItems(const uint8_t* pattern, const uint8_t* text) {
  const uint8_t* r = text;
  const uint8_t* i = pattern;
  for (;;) {
    const uint8_t tag = *i;
    if (tag == kRecordEnd) return true;
    const uint8_t mode = i[1];
    // A tag without a mode byte is a field test with empty text; never read
    // past the closing byte.
    const uint8_t* const item = mode == kRecordEnd ? i + 1 : i + 2;
    for (;;) {
      const uint8_t c = *r++;
      if (c == kRecordEnd) return false;
      if (c == tag) break;
    }
    const uint8_t* start = r;
    const uint8_t* j = item;
    for (;;) {
      const uint8_t p = *j;
      if (p < 0x20) break;  // the item is complete; p is the next tag
      const uint8_t c = *r++;
      bool ok;
      if (p == '?') {
        ok = c != kRecordEnd;
      } else if (p == '$') {
        ok = IsWordEnd(c);
        if (ok) --r;
      } else {
        ok = SameLetter(c, p, kYo);
      }
      if (ok) {
        ++j;
        continue;
      }
      if (mode != kSubstringItem) return false;
      if (c < 0x20) return false;  // reached the end of the field
      r = ++start;
      j = item;
    }
    i = j;
  }
}

}  // namespace

bool MatchRecord(const uint8_t* pattern, const uint8_t* text, bool universal) {
  return universal ? MatchKeywords<false>(pattern, text)
                   : MatchItems<false>(pattern, text);
}

bool MatchRecord(const uint8_t* pattern, const uint8_t* text,
                 const MatchOptions& options) {
  if (options.slip) {
    return MatchRecordWithSlip(pattern, text, options.universal, options.yo);
  }
  if (!options.yo) return MatchRecord(pattern, text, options.universal);
  return options.universal ? MatchKeywords<true>(pattern, text)
                           : MatchItems<true>(pattern, text);
}

bool MatchRecord(std::string_view pattern, std::string_view text,
                 const MatchOptions& options) {
  const char end = static_cast<char>(kRecordEnd);
  if (pattern.find(end) == std::string_view::npos ||
      text.find(end) == std::string_view::npos) {
    return false;
  }
  return MatchRecord(reinterpret_cast<const uint8_t*>(pattern.data()),
                     reinterpret_cast<const uint8_t*>(text.data()), options);
}

bool MatchRecord(std::string_view pattern, std::string_view text,
                 bool universal) {
  return MatchRecord(pattern, text, MatchOptions{.universal = universal});
}

}  // namespace spravka
