// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_BASE_SECTION_H_
#define SPRAVKA_STORAGE_BASE_SECTION_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "storage/byte_buffer.h"

namespace spravka {

// Deflate expands a stream by about 1032 times at most: a text length beyond
// this many times its stream (plus a little for tiny streams) is a damaged
// length, not a reason to set memory aside.
constexpr int64_t kMaxInflateRatio = 1100;
constexpr int64_t kInflateSlack = 64;

// One table section of a base part: the stated text length and where its
// stream lies in the file.
struct SectionBlock {
  size_t text_size = 0;
  size_t stream_offset = 0;
  size_t stream_size = 0;
};

// Reads the two lengths at `*offset` and moves it past the stream. False
// when the lengths are negative, the stream runs past `section_end`, or no
// stream of that size can inflate to the stated text length.
bool ReadSectionBlock(std::string_view file, size_t* offset, size_t section_end,
                      SectionBlock* block);

// Makes `*buffer` `offset` + `size` bytes long, without committing them,
// for `stream` to inflate into at `offset`. When that much memory cannot be
// had, a stream that does not inflate to `size` bytes is damaged whatever
// the memory: false. One that does leaves the std::bad_alloc to the caller.
bool MakeRoomForText(std::string_view stream, size_t size, size_t offset,
                     ByteBuffer* buffer);

// Inflates a descrambled table stream into exactly `size` bytes at `out`:
// with libdeflate where the build found it (about 2.7 times as fast as
// zlib), with zlib where it did not. False when the stream is damaged or
// inflates to any other length, exactly when zlib's InflateExact is false.
bool InflateSection(std::string_view stream, char* out, size_t size);
// The same, and false as well when bytes follow the end of the stream.
bool InflateWholeSection(std::string_view stream, char* out, size_t size);

// Reads a section text as the loader does: records end with 0x1F, each
// becomes a working record kRecordGrowth bytes longer, which must fit the
// record length, and a table holds at most kMaxRecordNumber records.
// Counts the records; false when the text breaks any of these rules.
bool CountSectionRecords(std::string_view text, size_t* records);

// The same rules for a text given a piece at a time. A record that
// `replaced` says a change entry takes the place of (by its 1-based number)
// is not loaded, and may be of any length.
class SectionRecordRules {
 public:
  explicit SectionRecordRules(std::function<bool(size_t)> replaced = {})
      : replaced_(std::move(replaced)) {}
  // False once the text so far breaks a rule.
  bool Feed(std::string_view piece);
  // True when the whole text kept the rules and its last record ended.
  bool Finish() const { return sound_ && run_ == 0; }
  size_t records() const { return records_; }

 private:
  size_t records_ = 0;
  size_t run_ = 0;  // bytes of the record not yet ended
  bool sound_ = true;
  std::function<bool(size_t)> replaced_;
};

// A text length this many times its stream is more than any table text
// compresses to: such a section is first read a piece at a time.
constexpr int64_t kSuspectInflateRatio = 16;

// Inflates `stream` a piece at a time under the record rules and stops at
// the first one broken, so a stream that would inflate to a run without a
// record end, or to more records than a table takes, is refused before
// room for its whole text is taken. False then, or when it is damaged.
bool SectionStreamKeepsRecordRules(std::string_view stream,
                                   std::function<bool(size_t)> replaced = {});

// The reserve the loader places in front of a table text: the header's
// `TableGrowth`, but never more than the merge can use, which is
// kRecordGrowth bytes for every record the text can hold and the records
// that `change_bytes` of change values add.
size_t TableReserve(int32_t table_growth, size_t text_size,
                    size_t change_bytes);

// The largest `TableGrowth` a writer of this format sets for a base part
// with this many records in its larger table: optimisation's reserve.
size_t PlausibleTableGrowth(size_t larger_record_count);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_BASE_SECTION_H_
