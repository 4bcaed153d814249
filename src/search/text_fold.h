// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_TEXT_FOLD_H_
#define SPRAVKA_SEARCH_TEXT_FOLD_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace spravka {

// Searches ignore the case of the Russian capitals А–Я only (0xC0–0xDF fold
// to 0xE0–0xFF); Latin letters and Ё compare exactly.
inline uint8_t FoldCyrillic(uint8_t c) {
  return c >= 0xC0 && c <= 0xDF ? static_cast<uint8_t>(c + 0x20) : c;
}

// `LowerCyrillic`: every byte 0xC0–0xDF becomes that byte + 0x20.
std::string LowerCyrillic(std::string_view text);

// `FixKeyboardLayout`: text typed with the Latin layout becomes the Russian
// letters of the same keys, and the Ukrainian letters (until the first Latin
// letter) become the wildcard "?". Length is unchanged.
std::string FixKeyboardLayout(std::string_view text);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_TEXT_FOLD_H_
