// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_section.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "storage/byte_order.h"
#include "storage/record_table.h"
#include "storage/zlib_codec.h"

namespace spravka {

bool ReadSectionBlock(std::string_view file, size_t* offset, size_t section_end,
                      SectionBlock* block) {
  if (*offset + 8 > section_end || section_end > file.size()) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data()) + *offset;
  const int64_t text_size = ReadInt32(bytes);
  const int64_t stream_size = ReadInt32(bytes + 4);
  *offset += 8;
  if (text_size < 0 || stream_size < 0 ||
      stream_size > static_cast<int64_t>(section_end - *offset) ||
      text_size > stream_size * kMaxInflateRatio + kInflateSlack) {
    return false;
  }
  block->text_size = static_cast<size_t>(text_size);
  block->stream_offset = *offset;
  block->stream_size = static_cast<size_t>(stream_size);
  *offset += block->stream_size;
  return true;
}

bool MakeRoomForText(std::string_view stream, size_t size, size_t offset,
                     ByteBuffer* buffer) {
  try {
    buffer->ResizeUninitialized(offset + size);
    return true;
  } catch (const std::bad_alloc&) {
    size_t inflated = 0;
    constexpr size_t kPiece = 64 * 1024;
    const bool whole = InflatePieces(
        stream, kPiece,
        [&inflated](std::string_view piece) { inflated += piece.size(); });
    if (!whole || inflated != size) return false;
    throw;
  }
}

bool CountSectionRecords(std::string_view text, size_t* records) {
  size_t count = 0;
  size_t start = 0;
  while (start < text.size()) {
    const void* end =
        std::memchr(text.data() + start, kRecordEnd, text.size() - start);
    if (end == nullptr) return false;  // the last record has no end
    const size_t length =
        static_cast<const char*>(end) - text.data() - start + 1;
    if (length + kRecordGrowth > kMaxRecordLength) return false;
    if (++count > kMaxRecordNumber) return false;
    start += length;
  }
  *records = count;
  return true;
}

bool SectionRecordRules::Feed(std::string_view piece) {
  while (!piece.empty() && sound_) {
    const size_t end = piece.find(static_cast<char>(kRecordEnd));
    const size_t taken = end == std::string_view::npos ? piece.size() : end + 1;
    run_ += taken;
    piece.remove_prefix(taken);
    if (run_ + kRecordGrowth > kMaxRecordLength &&
        !(replaced_ && replaced_(records_ + 1))) {
      sound_ = false;
    }
    if (end != std::string_view::npos) {
      if (++records_ > kMaxRecordNumber) sound_ = false;
      run_ = 0;
    }
  }
  return sound_;
}

bool SectionStreamKeepsRecordRules(std::string_view stream,
                                   std::function<bool(size_t)> replaced) {
  SectionRecordRules rules(std::move(replaced));
  const InflateEnd end = InflatePiecesWhile(
      stream, size_t{1} << 16,
      [&rules](std::string_view piece) { return rules.Feed(piece); });
  return end == InflateEnd::kWhole && rules.Finish();
}

size_t TableReserve(int32_t table_growth, size_t text_size,
                    size_t change_bytes) {
  // Position 1 is the first byte a record is written to: a reserve of 1
  // leaves no room in front of the text.
  const size_t records = std::min<size_t>(text_size, kMaxRecordNumber);
  const size_t useful = 1 + kRecordGrowth * records + change_bytes;
  return std::clamp<size_t>(
      table_growth > 0 ? static_cast<size_t>(table_growth) : 1, 1, useful);
}

size_t PlausibleTableGrowth(size_t larger_record_count) {
  return kRecordGrowth * larger_record_count + kDefaultTableGrowth;
}

}  // namespace spravka
