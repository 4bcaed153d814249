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

// How a search compares, besides its mode. With both flags off, matching is
// exactly the one below.
struct MatchOptions {
  bool universal = false;  // keywords in order; else items field by field
  // A typed "е" also finds "ё" and "Ё"; a typed "ё" still finds only "ё".
  bool yo = false;
  // Each keyword (universal) or item text (detailed) of four or more
  // letters may match with one slip: a letter changed, added or left out,
  // or two neighbouring letters swapped. Only letters take part in a slip:
  // digits, "?", "$" and the rest match as typed.
  bool slip = false;
  bool operator==(const MatchOptions&) const = default;
};

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

// The same with options.
bool MatchRecord(const uint8_t* pattern, const uint8_t* text,
                 const MatchOptions& options);
bool MatchRecord(std::string_view pattern, std::string_view text,
                 const MatchOptions& options);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_MATCH_RECORD_H_
