// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_RECORD_TABLE_H_
#define SPRAVKA_STORAGE_RECORD_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/byte_buffer.h"

namespace spravka {

constexpr uint8_t kRecordEnd = 0x1F;  // closes a record text and a pattern
constexpr uint8_t kTableSeparator =
    0x1E;                              // between the tables of a change stream
constexpr size_t kRecordHeadSize = 5;  // 3-byte number, 2-byte length
constexpr uint32_t kMaxRecordNumber = 16777215;
constexpr size_t kMaxRecordLength = 65535;  // head included
constexpr size_t kDefaultTableGrowth = 100000;
// What the loader adds to every record of a section text: the head and the
// tag of column 1.
constexpr size_t kRecordGrowth = kRecordHeadSize + 1;

enum class TableId { kHome = 0, kOrg = 1 };

// A working table: records back to back, each a 3-byte number, a 2-byte
// total length (head included) and the record text (tag 1, field 1, ...,
// tag n, field n, 0x1F). Positions are 1-based as everywhere in the
// program: position p is bytes[p], and bytes[0] is never used. Behind the
// used part lies spare room for edits.
struct Table {
  ByteBuffer bytes = ByteBuffer(1, '\0');
  size_t used = 0;

  const uint8_t* at(size_t p) const {
    return reinterpret_cast<const uint8_t*>(bytes.data()) + p;
  }
  uint8_t* at(size_t p) { return reinterpret_cast<uint8_t*>(bytes.data()) + p; }

  uint32_t NumberAt(size_t p) const {
    const uint8_t* b = at(p);
    return b[0] | b[1] << 8 | b[2] << 16;
  }
  size_t LengthAt(size_t p) const {
    const uint8_t* b = at(p);
    return b[3] | b[4] << 8;
  }
  // From tag 1 through the closing 0x1F.
  std::string_view TextAt(size_t p) const {
    return std::string_view(bytes.data() + p + kRecordHeadSize,
                            LengthAt(p) - kRecordHeadSize);
  }
  // Spare bytes behind the used part.
  size_t spare() const { return bytes.size() - 1 - used; }

  // Number of records, walking the heads.
  size_t CountRecords() const;

  // Appends one record (number and text from tag 1 through 0x1F) at the end
  // of the used part, growing the spare room as needed.
  void Append(uint32_t number, std::string_view text);

  // Makes sure at least `extra` spare bytes lie behind the used part,
  // growing in steps of `step` bytes.
  void EnsureSpare(size_t extra, size_t step = kDefaultTableGrowth);

  // Whether a whole record with a text of at least its terminator starts
  // at `p` inside the used part, as far as its head tells.
  bool HoldsRecordAt(size_t p) const;

  // Gives the record at `p` the text `text` (tag 1 through 0x1F), keeping
  // its number; the records behind it move by the change of length.
  void ReplaceText(size_t p, std::string_view text);

  // Takes the record at `p` out; the records behind it move up.
  void Remove(size_t p);
};

void WriteRecordHead(uint8_t* at, uint32_t number, size_t length);

// Whether a record text (tag 1 through 0x1F, as a change entry holds it)
// can be a working record now and after optimisation has written it into a
// section and the next load has read it back: a text without the leading
// tag 1 keeps every byte in the section and gains the tag on loading.
bool FitsRecord(std::string_view text);

// The text of field `column` (1-based tag) of a record text, without tags;
// empty when the record has no such tag.
std::string_view FieldOf(std::string_view record_text, int column);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_RECORD_TABLE_H_
