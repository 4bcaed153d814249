// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/field_kinds.h"

#include "app/rules/new_base_layout.h"
#include "storage/base_header.h"

namespace spravka::cli {
namespace {

constexpr std::string_view kHomeKindNames[kHomeKinds] = {
    "number", "subscriber", "street", "house", "building", "flat", "district"};
constexpr std::string_view kOrgKindNames[kOrgKinds] = {
    "number", "organisation", "department", "street",
    "house",  "building",     "office",     "district"};

}  // namespace

std::string_view KindName(TableId table, int kind) {
  return table == TableId::kHome ? kHomeKindNames[kind] : kOrgKindNames[kind];
}

int KindCount(TableId table) {
  return table == TableId::kHome ? kHomeKinds : kOrgKinds;
}

bool ParseFieldKinds(TableId table, std::string_view list, uint16_t* bits,
                     std::string* error) {
  uint16_t result = 0;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    std::string_view word = list.substr(start, end - start);
    while (!word.empty() && word.front() == ' ') word.remove_prefix(1);
    while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    int found = -1;
    for (int k = 0; k < KindCount(table); ++k) {
      if (word == KindName(table, k) ||
          (word.size() == 1 && word[0] == '0' + k)) {
        found = k;
      }
    }
    if (found < 0) {
      *error = "неизвестный вид поля «" + std::string(word) + "»; возможны: ";
      for (int k = 0; k < KindCount(table); ++k) {
        if (k > 0) *error += ", ";
        *error += KindName(table, k);
      }
      return false;
    }
    result |= static_cast<uint16_t>(1u << found);
    start = end + 1;
  }
  const uint16_t fixed =
      table == TableId::kHome ? kFixedHomeFields : kFixedOrgFields;
  if ((result & fixed) != fixed) {
    *error = "поля " + std::string(KindName(table, 0)) + " и " +
             std::string(KindName(table, 1)) + " обязательны";
    return false;
  }
  *bits = result;
  return true;
}

std::string DescribeFieldKinds(TableId table, uint16_t bits) {
  std::string out;
  for (int k = 0; k < KindCount(table); ++k) {
    if (!(bits >> k & 1)) continue;
    if (!out.empty()) out += ", ";
    out += KindName(table, k);
  }
  return out;
}

bool ParseTableName(std::string_view name, TableId* table) {
  if (name == "home") {
    *table = TableId::kHome;
  } else if (name == "org") {
    *table = TableId::kOrg;
  } else {
    return false;
  }
  return true;
}

}  // namespace spravka::cli
