// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/text_fold.h"

#include <array>
#include <cstring>

namespace spravka {
namespace {

// The keys of the Latin layout and, at the same index, the Russian letter
// on that key (Windows-1251).
constexpr char kLatinKeys[] =
    "QWERTYUIOP{}qwertyuiop[]ASDFGHJKL:\"asdfghjkl;'ZXCVBNM<>zxcvbnm,.";
constexpr char kRussianLetters[] =
    "\xC9\xD6\xD3\xCA\xC5\xCD\xC3\xD8\xD9\xC7\xD5\xDA"  // ЙЦУКЕНГШЩЗХЪ
    "\xE9\xF6\xF3\xEA\xE5\xED\xE3\xF8\xF9\xE7\xF5\xFA"  // йцукенгшщзхъ
    "\xD4\xDB\xC2\xC0\xCF\xD0\xCE\xCB\xC4\xC6\xDD"  // ФЫВАПРОЛДЖЭ
    "\xF4\xFB\xE2\xE0\xEF\xF0\xEE\xEB\xE4\xE6\xFD"  // фывапролджэ
    "\xDF\xD7\xD1\xCC\xC8\xD2\xDC\xC1\xDE"          // ЯЧСМИТЬБЮ
    "\xFF\xF7\xF1\xEC\xE8\xF2\xFC\xE1\xFE";         // ячсмитьбю
static_assert(sizeof(kLatinKeys) == 65 && sizeof(kRussianLetters) == 65);

// ҐґІіЇїЄє: no Russian letter stands for them, so they match anything.
constexpr char kUkrainianLetters[] = "\xA5\xB4\xB2\xB3\xAF\xBF\xAA\xBA";

constexpr std::array<uint8_t, 256> MakeLayoutTable() {
  std::array<uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<uint8_t>(b);
  for (int i = 0; i < 64; ++i) {
    table[static_cast<uint8_t>(kLatinKeys[i])] =
        static_cast<uint8_t>(kRussianLetters[i]);
  }
  return table;
}
constexpr std::array<uint8_t, 256> kLayoutTable = MakeLayoutTable();

constexpr bool IsLatinLetter(uint8_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr std::array<bool, 256> MakeLetterTable() {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b) {
    table[b] = IsLatinLetter(static_cast<uint8_t>(b)) || b >= 0xC0 ||
               b == 0xA8 || b == 0xB8;
  }
  for (const char c : kUkrainianLetters) {
    if (c != '\0') table[static_cast<uint8_t>(c)] = true;
  }
  return table;
}
}  // namespace

const std::array<bool, 256> kLetterTable = MakeLetterTable();

std::string LowerCyrillic(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(FoldCyrillic(c));
  return out;
}

std::string FixKeyboardLayout(std::string_view text) {
  std::string out(text);
  bool latin = false;
  for (char& c : out) {
    if (c != '\0' && std::strchr(kUkrainianLetters, c) != nullptr) c = '?';
    if (IsLatinLetter(c)) {
      latin = true;
      break;
    }
  }
  if (!latin) return out;
  for (char& c : out)
    c = static_cast<char>(kLayoutTable[static_cast<uint8_t>(c)]);
  return out;
}

}  // namespace spravka
