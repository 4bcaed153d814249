// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_TOWN_LIST_H_
#define SPRAVKA_APP_TOWN_LIST_H_

#include <string>
#include <string_view>
#include <vector>

namespace spravka {

// Compares two UTF-8 texts without regard to letter case (Latin and
// Cyrillic letters) in alphabet order, ё after е: <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);

// The entries of the town list, kept in alphabetical order without regard to
// letter case; an added entry takes its sorted place.
class TownList {
 public:
  const std::vector<std::string>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  const std::string& operator[](size_t i) const { return entries_[i]; }

  // The index of the entry equal to `text` (whole text, any letter case;
  // an entry of exactly that text first), or -1.
  int Find(std::string_view text) const;
  // Inserts at the sorted place; returns the new entry's index.
  int Add(std::string text);
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::string> entries_;
};

// `BuildTownList`: the entries for the base files of a folder (names that
// end in ".qz" in any case; others are skipped).
TownList BuildTownList(const std::vector<std::string>& file_names);

}  // namespace spravka

#endif  // SPRAVKA_APP_TOWN_LIST_H_
