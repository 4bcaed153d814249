// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_SEARCH_PATTERN_H_
#define SPRAVKA_SEARCH_SEARCH_PATTERN_H_

#include <span>
#include <string>
#include <string_view>

#include "storage/column_maps.h"
#include "storage/record_table.h"

namespace spravka {

// The longest prefix a "^" text gives.
constexpr size_t kCaretPrefixLimit = 100;

// The pattern of the universal line: the text with its keyboard layout
// fixed and А–Я folded, closed by 0x1F. Control bytes become blanks (they
// separate keywords anyway, and a 0x1F must not end the pattern early).
std::string UniversalPattern(std::string_view full_text);

// Whether the items of a field kind follow the caret rule ("^" = prefix,
// otherwise substring) or are always prefix items.
bool UsesCaretRule(TableId table, int kind);

// The detailed pattern from the edit texts by field kind (residential 0..6,
// organisations 0..7; missing trailing kinds count as empty): one item per
// non-empty edit that has a search box, in kind order, closed by 0x1F. When
// the number edit holds a complete number, it is the only criterion, as the
// window empties the other edits then. Control bytes are dropped from item
// texts, since a byte below 0x20 would end an item.
std::string DetailedPattern(TableId table, std::span<const std::string> edits,
                            const ColumnMaps& maps, int number_length);

// `IsFullNumber`: the text, trimmed of blanks and control bytes, has exactly
// `number_length` characters, is an integer by the rules of KeyToNumber, and
// that integer has `number_length` digits again ("012345" is not a complete
// six-digit number, nor is "+12345").
bool IsFullNumber(std::string_view text, int number_length);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SEARCH_PATTERN_H_
