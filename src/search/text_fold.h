// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_TEXT_FOLD_H_
#define SPRAVKA_SEARCH_TEXT_FOLD_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace spravka {

// Searches ignore the case of the Russian capitals А–Я only (0xC0–0xDF fold
// to 0xE0–0xFF); Latin letters and Ё compare exactly.
inline uint8_t FoldCyrillic(uint8_t c) {
  return c >= 0xC0 && c <= 0xDF ? static_cast<uint8_t>(c + 0x20) : c;
}

// е and ё (Ё): a search may let a typed "е" find "ё" too.
inline constexpr uint8_t kSmallIe = 0xE5;
inline constexpr uint8_t kSmallYo = 0xB8;

// Whether record byte `c` matches the literal pattern byte `p` (a pattern
// is folded beforehand): А–Я as а–я, and with `yo` a typed "е" also finds
// "ё" and "Ё" (0xA8 and 0xB8 are the only bytes that OR 0x10 makes 0xB8).
// A typed "ё" still finds only "ё".
inline bool SameLetter(uint8_t c, uint8_t p, bool yo) {
  return FoldCyrillic(c) == p ||
         (yo && p == kSmallIe && (c | 0x10) == kSmallYo);
}

// Letters: Latin, Russian (Ё included) and the Ukrainian ones. Only letters
// are ever part of a slip; digits and punctuation always match as typed.
extern const std::array<bool, 256> kLetterTable;
inline bool IsLetter(uint8_t c) { return kLetterTable[c]; }

// `LowerCyrillic`: every byte 0xC0–0xDF becomes that byte + 0x20.
std::string LowerCyrillic(std::string_view text);

// `FixKeyboardLayout`: text typed with the Latin layout becomes the Russian
// letters of the same keys, and the Ukrainian letters (until the first Latin
// letter) become the wildcard "?". Length is unchanged.
std::string FixKeyboardLayout(std::string_view text);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_TEXT_FOLD_H_
