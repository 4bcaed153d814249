// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_CHANGE_LIST_H_
#define SPRAVKA_STORAGE_CHANGE_LIST_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "storage/byte_buffer.h"

namespace spravka {

// One change entry: a record number and its value, the record's complete
// text (tag 1 through 0x1F) or the single byte 0x1F for a deleted record.
struct ChangeEntry {
  uint32_t number = 0;
  std::string_view value;
  bool IsDeletion() const { return value.size() == 1 && value[0] == '\x1F'; }
};

// The change entries of one table by record number, read in ascending
// number order. Adding a number that has an entry changes nothing (Add);
// an editor that rewrites an entry sets it (Set).
//
// A base can hold millions of entries, so each costs a few bytes: one bit
// says which numbers have an entry, a deletion takes nothing more, and the
// other values lie back to back in number order, each behind a 5-byte head
// as in a working table. Adding above every number that has a value takes
// constant time; anywhere else the values above it move (one editor's
// change). A stream's entries in any order are taken by ChangeListLoader.
class ChangeList {
 public:
  // Numbers 1..kMaxNumber; values up to kMaxValue bytes (a record's text
  // in a working table). Others are not taken.
  static constexpr uint32_t kMaxNumber = 16777215;
  static constexpr size_t kMaxValue = 65530;
  static constexpr std::string_view kDeletion = "\x1F";

  // False (and the first value stays) when the number has an entry, or
  // when the entry cannot be taken.
  bool Add(uint32_t number, std::string_view value);
  // Gives the number this value, replacing any entry it had. False when
  // the entry cannot be taken.
  bool Set(uint32_t number, std::string_view value);
  // Takes the number's entry out; false when it had none.
  bool Erase(uint32_t number);

  std::optional<std::string_view> Find(uint32_t number) const;
  bool Contains(uint32_t number) const {
    const size_t word = number / 64;
    return word < present_.size() && (present_[word] >> (number % 64) & 1);
  }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  void clear() { *this = ChangeList(); }

  // The bytes the values that are not deletions take as working records,
  // heads included.
  size_t RecordBytes() const { return values_.size(); }

  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = ChangeEntry;
    using difference_type = std::ptrdiff_t;
    using pointer = const ChangeEntry*;
    using reference = const ChangeEntry&;

    reference operator*() const { return entry_; }
    pointer operator->() const { return &entry_; }
    Iterator& operator++() {
      Settle(entry_.number + uint64_t{1});
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const Iterator& other) const {
      return at_end_ == other.at_end_ &&
             (at_end_ || entry_.number == other.entry_.number);
    }

   private:
    friend class ChangeList;
    Iterator(const ChangeList* list, bool at_end) : list_(list), at_end_(at_end) {}
    // Moves to the first entry numbered `from` or above.
    void Settle(uint64_t from);

    const ChangeList* list_;
    bool at_end_;
    size_t offset_ = 0;  // of the first value not yet passed
    ChangeEntry entry_;
  };

  Iterator begin() const {
    Iterator it(this, false);
    it.Settle(0);
    return it;
  }
  Iterator end() const { return Iterator(this, true); }

 private:
  friend class ChangeListLoader;

  // Numbers per entry of `block_start_`.
  static constexpr uint32_t kBlock = 512;

  static bool Takes(uint32_t number, std::string_view value) {
    return number >= 1 && number <= kMaxNumber && !value.empty() &&
           value.size() <= kMaxValue;
  }
  uint32_t NumberAt(size_t offset) const;
  size_t LengthAt(size_t offset) const;
  // The offset of the first value numbered `number` or above.
  size_t Locate(uint32_t number) const;
  // Marks the number as having an entry, growing the bit set and the
  // block starts to reach it.
  void Mark(uint32_t number);
  // Replaces `old_length` bytes at `offset` by a value record of `number`
  // (none for a deletion).
  void PutValue(size_t offset, size_t old_length, uint32_t number,
                std::string_view value);
  // Appends a value record, out of order or not.
  void AppendValue(uint32_t number, std::string_view value);
  // Puts values appended out of order in number order.
  void SortValues();
  void RebuildBlockStarts();

  // Bit n % 64 of present_[n / 64]: number n has an entry.
  std::vector<uint64_t> present_;
  // The values that are not deletions: 3-byte number, 2-byte length (head
  // included), value; ascending numbers.
  ByteBuffer values_;
  // block_start_[b]: the offset of the first value numbered b * kBlock or
  // above; one entry per block that present_ reaches.
  std::vector<size_t> block_start_;
  size_t count_ = 0;
  // No value is numbered above this.
  uint32_t highest_value_ = 0;
  bool in_order_ = true;
};

// Fills an empty change list from entries in any order, in time linear in
// their bytes (with one sort when they come out of order): a number seen
// twice keeps its first value. The list is whole once Finish has run.
class ChangeListLoader {
 public:
  explicit ChangeListLoader(ChangeList* list) : list_(*list) {}
  bool Add(uint32_t number, std::string_view value);
  void Finish() { list_.SortValues(); }

 private:
  ChangeList& list_;
};

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_CHANGE_LIST_H_
