// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_MATCH_RECORD_H_
#define SPRAVKA_SEARCH_MATCH_RECORD_H_

#include <cstdint>
#include <string_view>

namespace spravka {

// Mode bytes of a detailed pattern item, after its tag byte.
constexpr uint8_t kPrefixItem = 0x1D;     // the field begins with the text
constexpr uint8_t kSubstringItem = 0x1E;  // the field contains the text

// What "$" accepts as the byte after a word: anything but a digit or a byte
// above 0x40 (letters).
inline bool IsWordEnd(uint8_t c) {
  return c <= 0x2F || (c >= 0x3A && c <= 0x40);
}

// `MatchRecord`: whether a record text satisfies a search pattern. Both are
// read up to their closing 0x1F and never beyond, so both must hold one.
// Universal mode: keywords separated by bytes below 0x21 must occur in this
// order. Detailed mode: per-field prefix and substring items. "?" is any one
// byte, "$" a word end; record bytes А–Я compare as а–я, the pattern as it
// stands. Works in place, no allocation.
bool MatchRecord(const uint8_t* pattern, const uint8_t* text, bool universal);

// The same for views; false when either lacks its closing 0x1F.
bool MatchRecord(std::string_view pattern, std::string_view text,
                 bool universal);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_MATCH_RECORD_H_
