// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_file.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "storage/base_section.h"
#include "storage/byte_buffer.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/side_by_side.h"
#include "storage/zlib_codec.h"

namespace spravka {
namespace {

// A table text compressed and scrambled as its section holds it.
std::string SectionStream(std::string_view text,
                          void (*scramble)(uint8_t*, size_t)) {
  std::string stream = Compress(text);
  scramble(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  return stream;
}

void AppendSection(std::string_view text, const std::string& stream,
                   std::string* out) {
  AppendInt32(out, static_cast<int32_t>(text.size()));
  AppendInt32(out, static_cast<int32_t>(stream.size()));
  out->append(stream);
}

}  // namespace

std::string WriteBasePart(const BaseHeader& header, int32_t stamp,
                          std::string_view home_text, std::string_view org_text,
                          const std::function<void()>& home_written) {
  BaseHeader tagged = header;
  tagged.FormatTag = kFormatLetter;
  tagged.CheckTag = kFormatLetter;
  const HeaderBytes header_bytes = tagged.ToFile();

  // The organisations compress on a thread of their own while this one
  // compresses the residential table.
  std::string home_stream;
  std::string org_stream;
  const auto compress_home = [&] {
    home_stream = SectionStream(home_text, ScrambleHomeStream);
    if (home_written) home_written();
  };
  const auto compress_org = [&] {
    org_stream = SectionStream(org_text, ScrambleOrgStream);
  };
  if (std::min(home_text.size(), org_text.size()) < kParallelTextBytes) {
    compress_home();
    compress_org();
  } else {
    RunSideBySide(compress_home, compress_org);
  }

  std::string out(4, '\0');  // BasePartLength, filled in last
  out.reserve(4 + kHeaderSize + 4 + 8 + home_stream.size() + 8 +
              org_stream.size() + kTrailerSize);
  out.append(reinterpret_cast<const char*>(header_bytes.data()), kHeaderSize);
  AppendInt32(&out, stamp);
  AppendSection(home_text, home_stream, &out);
  AppendSection(org_text, org_stream, &out);
  AppendInt32(&out, static_cast<int32_t>(out.size()) - kHeaderDistanceBias);
  AppendInt32(&out, stamp);
  WriteInt32(reinterpret_cast<uint8_t*>(out.data()),
             static_cast<int32_t>(out.size()));
  return out;
}

std::string WriteChangeSection(int32_t stamp, const ChangeList& home,
                               const ChangeList& org) {
  return WriteChangeSectionFromStream(stamp, BuildChangeStream(home, org));
}

std::string WriteChangeSectionFromStream(int32_t stamp,
                                         std::string_view stream) {
  std::string masked = Compress(stream);
  MaskChangeStream(reinterpret_cast<uint8_t*>(masked.data()), masked.size());
  std::string out;
  out.reserve(masked.size() + 8);
  AppendInt32(&out, stamp);
  AppendInt32(&out, static_cast<int32_t>(stream.size()));
  out.append(masked);
  return out;
}

std::string StripRecordHeads(const Table& table, size_t* record_count) {
  std::string text;
  text.reserve(table.used);
  size_t count = 0;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    const std::string_view record = table.TextAt(p);
    // The section leaves out the tag of column 1; the next load puts it back.
    // A record that lacks it (a change entry from elsewhere) keeps every byte.
    text.append(record.substr(record.front() == '\x01' ? 1 : 0));
    ++count;
  }
  if (record_count) *record_count = count;
  return text;
}

Status ReadBaseFileLayout(std::string_view file, BaseFileLayout* layout) {
  const auto damaged = [](BaseProblem problem) {
    return Status::Problem(StatusCode::kDamagedLayout, problem);
  };
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  constexpr int64_t kMinimumPart =
      kHeaderOffset + kHeaderSize + 4 + kTrailerSize;
  if (file.size() < kMinimumPart) {
    return damaged(BaseProblem::kShorterThanHeader);
  }
  const int64_t part_length = ReadInt32(bytes);
  if (part_length < kMinimumPart ||
      part_length > static_cast<int64_t>(file.size())) {
    return damaged(BaseProblem::kLengthPastEnd);
  }
  const int64_t distance = ReadInt32(bytes + part_length - kTrailerSize);
  const int64_t header_offset =
      part_length - distance - static_cast<int64_t>(kHeaderSize);
  // The header and the residential block's stamp lie inside the base part.
  if (header_offset < 0 ||
      header_offset + static_cast<int64_t>(kHeaderSize) + 4 >
          part_length - static_cast<int64_t>(kTrailerSize)) {
    return damaged(BaseProblem::kHeaderOutsideBasePart);
  }
  layout->BasePartLength = static_cast<int32_t>(part_length);
  layout->HeaderDistance = static_cast<int32_t>(distance);
  layout->BaseStamp = ReadInt32(bytes + part_length - 4);
  layout->header_offset = static_cast<size_t>(header_offset);
  layout->has_change_section =
      file.size() > static_cast<size_t>(part_length) + 4;
  return Status::Ok();
}

void BaseFile::PutHeader(const BaseHeader& new_header) {
  const HeaderBytes scrambled = new_header.ToFile();
  std::memcpy(bytes.data() + layout.header_offset, scrambled.data(),
              kHeaderSize);
  header = new_header;
}

Status ParseBaseFile(std::string bytes, BaseFile* base) {
  base->bytes = std::move(bytes);
  Status status = ReadBaseFileLayout(base->bytes, &base->layout);
  if (!status.ok()) return status;
  HeaderBytes scrambled;
  std::memcpy(scrambled.data(), base->bytes.data() + base->layout.header_offset,
              kHeaderSize);
  base->header = BaseHeader::FromFile(scrambled);
  return Status::Ok();
}

Status ReadBaseFile(const std::string& path, BaseFileAccess access,
                    FileSystem& fs, BaseFile* base) {
  if (access == BaseFileAccess::kWrite) {
    Status status = fs.MakeWritable(path);
    if (!status.ok()) return status;
  }
  std::string bytes;
  Status status = fs.ReadFile(path, &bytes);
  if (!status.ok()) return status;
  return ParseBaseFile(std::move(bytes), base);
}

Status VerifyBasePart(std::string_view file, int32_t stamp, size_t home_records,
                      size_t org_records) {
  const auto unreadable = [](BaseProblem problem,
                             ProblemTable table = ProblemTable::kNone,
                             int64_t figure = 0, int64_t expected = 0) {
    return Status::Problem(StatusCode::kRebuiltUnreadable, problem, table,
                           figure, expected);
  };
  BaseFileLayout layout;
  Status status = ReadBaseFileLayout(file, &layout);
  if (!status.ok()) return unreadable(status.problem());
  if (layout.BasePartLength != static_cast<int64_t>(file.size())) {
    return unreadable(BaseProblem::kBytesAfterBasePart);
  }
  HeaderBytes header_bytes;
  std::memcpy(header_bytes.data(), file.data() + layout.header_offset,
              kHeaderSize);
  if (!CheckHeader(BaseHeader::FromFile(header_bytes)).ok()) {
    return unreadable(BaseProblem::kUnreadableHeader);
  }
  size_t offset = layout.header_offset + kHeaderSize;
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  if (layout.BaseStamp != stamp || ReadInt32(bytes + offset) != stamp) {
    return unreadable(BaseProblem::kStampDiffers);
  }
  offset += 4;
  const size_t section_end = layout.BasePartLength - kTrailerSize;
  struct Section {
    ProblemTable table;
    void (*descramble)(uint8_t*, size_t);
    size_t records;
  };
  for (const Section& section :
       {Section{ProblemTable::kHome, ScrambleHomeStream, home_records},
        Section{ProblemTable::kOrg, ScrambleOrgStream, org_records}}) {
    SectionBlock block;
    if (!ReadSectionBlock(file, &offset, section_end, &block)) {
      return unreadable(BaseProblem::kSectionLengths, section.table);
    }
    std::string stream(file.substr(block.stream_offset, block.stream_size));
    section.descramble(reinterpret_cast<uint8_t*>(stream.data()),
                       stream.size());
    ByteBuffer text;
    text.ResizeUninitialized(block.text_size);
    if (!InflateSection(stream, text.data(), text.size())) {
      return unreadable(BaseProblem::kSectionInflates, section.table,
                        static_cast<int64_t>(block.text_size));
    }
    size_t records = 0;
    if (!CountSectionRecords(text, &records)) {
      return unreadable(BaseProblem::kSectionRecords, section.table);
    }
    if (records != section.records) {
      return unreadable(BaseProblem::kRecordCount, section.table,
                        static_cast<int64_t>(records),
                        static_cast<int64_t>(section.records));
    }
  }
  if (offset != section_end) return unreadable(BaseProblem::kBytesAfterTables);
  return Status::Ok();
}

}  // namespace spravka
