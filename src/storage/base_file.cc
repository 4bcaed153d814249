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

void AppendSection(CompressedSection section,
                   void (*scramble)(uint8_t*, size_t), std::string* out) {
  std::string& stream = section.stream;
  scramble(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  AppendInt32(out, static_cast<int32_t>(section.text_size));
  AppendInt32(out, static_cast<int32_t>(stream.size()));
  out->append(stream);
}

CompressedSection CompressText(std::string_view text) {
  CompressedSection section;
  section.stream = Compress(text);
  section.text_size = text.size();
  return section;
}

}  // namespace

std::string WriteBasePartFromSections(const BaseHeader& header, int32_t stamp,
                                      CompressedSection home,
                                      CompressedSection org) {
  BaseHeader tagged = header;
  tagged.FormatTag = kFormatLetter;
  tagged.CheckTag = kFormatLetter;
  const HeaderBytes header_bytes = tagged.ToFile();

  std::string out;
  ReserveLarge(&out, 4 + kHeaderSize + 4 + 16 + home.stream.size() +
                         org.stream.size() + kTrailerSize);
  out.append(4, '\0');  // BasePartLength, filled in last
  out.append(reinterpret_cast<const char*>(header_bytes.data()), kHeaderSize);
  AppendInt32(&out, stamp);
  AppendSection(std::move(home), ScrambleHomeStream, &out);
  AppendSection(std::move(org), ScrambleOrgStream, &out);
  AppendInt32(&out, static_cast<int32_t>(out.size()) - kHeaderDistanceBias);
  AppendInt32(&out, stamp);
  WriteInt32(reinterpret_cast<uint8_t*>(out.data()),
             static_cast<int32_t>(out.size()));
  return out;
}

std::string WriteBasePart(const BaseHeader& header, int32_t stamp,
                          std::string_view home_text, std::string_view org_text,
                          const std::function<void()>& home_written) {
  // The organisations compress on a thread of their own while this one
  // compresses the residential table.
  CompressedSection home;
  CompressedSection org;
  const auto compress_home = [&] {
    home = CompressText(home_text);
    if (home_written) home_written();
  };
  const auto compress_org = [&] { org = CompressText(org_text); };
  if (std::min(home_text.size(), org_text.size()) < kParallelTextBytes) {
    compress_home();
    compress_org();
  } else {
    RunSideBySide(compress_home, compress_org);
  }
  return WriteBasePartFromSections(header, stamp, std::move(home),
                                   std::move(org));
}

namespace {

// A change section around a stream that `write` hands over a piece at a
// time: stamp, size hint, masked stream. `bound` is at least the stream's
// length.
std::string ChangeSectionOf(
    int32_t stamp, size_t bound,
    const std::function<void(const std::function<void(std::string_view)>&)>&
        write) {
  std::string out;
  AppendInt32(&out, stamp);
  AppendInt32(&out, 0);
  size_t size = 0;
  PieceCompressor compressor(&out, bound);
  write([&](std::string_view piece) {
    size += piece.size();
    compressor.Add(piece);
  });
  compressor.Finish();
  auto* bytes = reinterpret_cast<uint8_t*>(out.data());
  WriteInt32(bytes + 4, static_cast<int32_t>(size));
  MaskChangeStream(bytes + 8, out.size() - 8);
  return out;
}

}  // namespace

std::string WriteChangeSection(int32_t stamp, const ChangeList& home,
                               const ChangeList& org) {
  // A key takes at most 8 bytes, a value at most its record's length.
  const size_t bound = 1 + 8 * (home.size() + org.size()) +
                       home.RecordBytes() + org.RecordBytes();
  return ChangeSectionOf(stamp, bound, [&](const auto& consume) {
    WriteChangeStream(home, org, consume);
  });
}

std::string WriteChangeSectionFromStream(int32_t stamp,
                                         std::string_view stream) {
  return ChangeSectionOf(stamp, stream.size(), [&](const auto& consume) {
    consume(stream);
  });
}

namespace {

bool EndsAField(char c) {
  const auto b = static_cast<uint8_t>(c);
  return (b >= 0x01 && b <= 0x08) || b == 0x1E || b == kRecordEnd;
}

// Appends what a section holds for `record`: the record without its
// leading tag 1, which the next load puts back. A record that does not
// begin with tag 1 (a change entry from elsewhere) is written so that it
// shows the same fields once the tag is put in front of it: field 1 (the
// one after its first tag 1, if any) first, then the rest from its first
// field end on; the bytes before that first field end belong to no field.
void AppendSectionText(std::string_view record, std::string* out) {
  if (!record.empty() && record.front() == '\x01') {
    out->append(record.substr(1));
    return;
  }
  std::string rest(record);
  const size_t tag = rest.find('\x01');
  if (tag != std::string::npos) {
    size_t end = tag + 1;
    while (end < rest.size() && !EndsAField(rest[end])) ++end;
    out->append(rest, tag + 1, end - tag - 1);
    rest.erase(tag, end - tag);
  }
  size_t first_end = 0;
  while (first_end < rest.size() && !EndsAField(rest[first_end])) ++first_end;
  out->append(rest, first_end, std::string::npos);
}

}  // namespace

CompressedSection CompressTableSection(const Table& table) {
  size_t records = 0;
  CompressedSection section;
  {
    const std::string text = StripRecordHeads(table, &records);
    section = CompressText(text);
  }  // the text goes before the caller goes on
  section.records = records;
  return section;
}

std::string StripRecordHeads(const Table& table, size_t* record_count) {
  std::string text;
  ReserveLarge(&text, table.used);
  size_t count = 0;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    AppendSectionText(table.TextAt(p), &text);
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
  base->id = FileIdOf(base->bytes);
  Status status = ReadBaseFileLayout(base->bytes, &base->layout);
  if (!status.ok()) return status;
  HeaderBytes scrambled;
  std::memcpy(scrambled.data(), base->bytes.data() + base->layout.header_offset,
              kHeaderSize);
  base->header = BaseHeader::FromFile(scrambled);
  return Status::Ok();
}

Status ReadBaseFile(const std::string& path, BaseFileAccess /*access*/,
                    FileSystem& fs, BaseFile* base) {
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
    ByteBuffer stream;
    stream.ResizeUninitialized(block.stream_size);
    std::memcpy(stream.data(), file.data() + block.stream_offset,
                block.stream_size);
    section.descramble(reinterpret_cast<uint8_t*>(stream.data()),
                       stream.size());
    // Inflated whole, as the loader inflates it: the room costs no more than
    // the text of the table compressed just before.
    ByteBuffer text;
    size_t records = 0;
    if (!MakeRoomForText(stream, block.text_size, 0, &text) ||
        !InflateWholeSection(stream, text.data(), text.size())) {
      return unreadable(BaseProblem::kSectionInflates, section.table,
                        static_cast<int64_t>(block.text_size));
    }
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
