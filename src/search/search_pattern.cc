// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_pattern.h"

#include "search/match_record.h"
#include "search/text_fold.h"
#include "storage/base_header.h"
#include "storage/record_key.h"

namespace spravka {
namespace {

std::string DropControlBytes(std::string text) {
  std::erase_if(text, [](char c) { return static_cast<uint8_t>(c) < 0x20; });
  return text;
}

// The text of an item and its mode, or an empty text for no item.
struct Item {
  uint8_t mode = kPrefixItem;
  std::string text;
};

Item MakeItem(TableId table, int kind, std::string_view edit) {
  Item item;
  // Residential numbers are digits; only the organisation number edit is
  // layout-fixed like the text fields.
  const bool fix_layout = !(table == TableId::kHome && kind == 0);
  std::string_view text = edit;
  if (UsesCaretRule(table, kind)) {
    if (!text.empty() && text.front() == '^') {
      text = text.substr(1, kCaretPrefixLimit);
    } else {
      item.mode = kSubstringItem;
    }
  }
  std::string prepared =
      fix_layout ? FixKeyboardLayout(text) : std::string(text);
  item.text = DropControlBytes(LowerCyrillic(prepared));
  return item;
}

}  // namespace

std::string UniversalPattern(std::string_view full_text) {
  std::string pattern = LowerCyrillic(FixKeyboardLayout(full_text));
  for (char& c : pattern) {
    if (static_cast<uint8_t>(c) < 0x20) c = ' ';
  }
  pattern.push_back(static_cast<char>(kRecordEnd));
  return pattern;
}

bool UsesCaretRule(TableId table, int kind) {
  if (table == TableId::kHome) return kind == 1 || kind == 2 || kind == 6;
  return kind == 1 || kind == 2 || kind == 3 || kind == 7;
}

std::string DetailedPattern(TableId table, std::span<const std::string> edits,
                            const ColumnMaps& maps, int number_length) {
  const bool home = table == TableId::kHome;
  const int kinds = home ? kHomeKinds : kOrgKinds;
  const bool full_number =
      !edits.empty() && IsFullNumber(edits[0], number_length);
  std::string pattern;
  for (int kind = 0; kind < kinds && kind < static_cast<int>(edits.size());
       ++kind) {
    if (full_number && kind > 0) break;
    const uint8_t tag =
        home ? maps.HomeFieldColumn[kind] : maps.OrgFieldColumn[kind];
    if (tag == 0 || edits[kind].empty()) continue;
    const Item item = MakeItem(table, kind, edits[kind]);
    if (item.text.empty()) continue;  // a lone "^" adds no condition
    pattern.push_back(static_cast<char>(tag));
    pattern.push_back(static_cast<char>(item.mode));
    pattern += item.text;
  }
  pattern.push_back(static_cast<char>(kRecordEnd));
  return pattern;
}

bool IsFullNumber(std::string_view text, int number_length) {
  auto blank = [](char c) { return static_cast<uint8_t>(c) <= 0x20; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (number_length <= 0 || text.size() != static_cast<size_t>(number_length)) {
    return false;
  }
  const int64_t value = KeyToNumber(text);
  if (value == -1 && text != "-1") return false;  // -1 also means "no number"
  return std::to_string(value).size() == static_cast<size_t>(number_length);
}

}  // namespace spravka
