// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_CHANGE_LIST_H_
#define SPRAVKA_STORAGE_CHANGE_LIST_H_

#include <map>
#include <string>

namespace spravka {

// The value of one change entry: a record's complete text (tag 1 through
// 0x1F), or the single byte 0x1F for a deleted record.
struct TData {
  std::string value;
  bool IsDeletion() const { return value.size() == 1 && value[0] == '\x1F'; }
};

// Change entries by `RecordKey` of the record number. Seven-digit keys sort
// in number order. Adding a key that is already there changes nothing
// (use emplace / Add); an editor that rewrites an entry assigns to it.
class ChangeList {
 public:
  using Map = std::map<std::string, TData>;

  // Returns false (and keeps the first value) when the key is present.
  bool Add(std::string key, std::string value) {
    return entries_.emplace(std::move(key), TData{std::move(value)}).second;
  }
  TData* Find(const std::string& key) {
    auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
  }
  bool Contains(const std::string& key) const {
    return entries_.count(key) != 0;
  }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  void clear() { entries_.clear(); }
  Map::const_iterator begin() const { return entries_.begin(); }
  Map::const_iterator end() const { return entries_.end(); }
  Map& entries() { return entries_; }

 private:
  Map entries_;
};

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_CHANGE_LIST_H_
