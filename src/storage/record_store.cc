#include "storage/record_store.h"

#include <algorithm>
#include <cstring>

#include "storage/base_file.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/zlib_codec.h"

namespace spravka {

uint64_t RecordStore::NextStoreGeneration() {
  static uint64_t next = 0;
  return next += 1000000;
}

namespace {

// A reserve in front of the decompressed text larger than this is not taken
// from the file: merging grows the table by itself when it needs to.
constexpr int64_t kMaxReserve = int64_t{1} << 28;
// zlib cannot expand a stream by more than about 1032 times.
constexpr int64_t kMaxInflateRatio = 1100;

// Rewrites a table text lying at bytes[reserve .. reserve+size) as working
// records from position 1 on, folding in the change list. The written part
// runs ahead of the unread text and the table grows when it catches up.
class TableMerger {
 public:
  TableMerger(Table* table, size_t reserve, size_t size)
      : t_(*table), r_(reserve), rest_(size) {}

  bool Merge(const ChangeList& changes) {
    for (const auto& [key, data] : changes) {
      const int64_t target = KeyToNumber(key);
      if (rest_ > 0) {
        while (j_ < target && rest_ > 0) {
          if (!CopyBaseRecord()) return false;
        }
        if (j_ == target && rest_ > 0) SkipBaseRecord();
      }
      if (!data.IsDeletion()) WriteRecord(static_cast<uint32_t>(target), data.value);
    }
    while (rest_ > 0) {
      if (!CopyBaseRecord()) return false;
    }
    t_.used = used_;
    return true;
  }

 private:
  size_t EndOfRecord() const {
    const void* end = std::memchr(t_.at(r_), kRecordEnd, rest_);
    return static_cast<const uint8_t*>(end) - t_.at(0);
  }

  // Makes room so that `length` more bytes can be written without reaching
  // the unread text.
  void RoomAhead(size_t length) {
    if (used_ + length < r_) return;
    const size_t step = std::max(kDefaultTableGrowth, std::max(rest_, length));
    t_.bytes.resize(t_.bytes.size() + step);
    std::memmove(t_.at(r_ + step), t_.at(r_), rest_);
    r_ += step;
  }

  bool CopyBaseRecord() {
    const size_t end = EndOfRecord();
    const size_t text = end - r_ + 1;
    const size_t length = text + kRecordHeadSize + 1;
    if (length > kMaxRecordLength || j_ > kMaxRecordNumber) return false;
    RoomAhead(length);
    uint8_t* head = t_.at(used_ + 1);
    WriteRecordHead(head, static_cast<uint32_t>(j_), length);
    head[kRecordHeadSize] = 1;  // the tag of column 1
    std::memmove(head + kRecordHeadSize + 1, t_.at(r_), text);
    used_ += length;
    r_ += text;
    rest_ -= text;
    ++j_;
    return true;
  }

  void SkipBaseRecord() {
    const size_t text = EndOfRecord() - r_ + 1;
    r_ += text;
    rest_ -= text;
    ++j_;
  }

  void WriteRecord(uint32_t number, const std::string& value) {
    const size_t length = value.size() + kRecordHeadSize;
    if (rest_ > 0) {
      RoomAhead(length);
    } else if (used_ + length > t_.bytes.size() - 1) {
      t_.bytes.resize(used_ + 1 + std::max(kDefaultTableGrowth, length));
    }
    uint8_t* head = t_.at(used_ + 1);
    WriteRecordHead(head, number, length);
    std::memcpy(head + kRecordHeadSize, value.data(), value.size());
    used_ += length;
  }

  Table& t_;
  size_t r_;      // position of the first unread text byte
  size_t rest_;   // unread text bytes
  int64_t j_ = 1; // number of the next base record
  size_t used_ = 0;
};

// Reads one table section at `*offset` (advanced past it) into `table`,
// merged with `changes`. False when the section is unusable.
bool LoadTable(std::string& file, size_t* offset, size_t section_end,
               int32_t table_growth, void (*descramble)(uint8_t*, size_t),
               const ChangeList& changes, Table* table) {
  if (*offset + 8 > section_end) return false;
  auto* bytes = reinterpret_cast<uint8_t*>(file.data());
  const int64_t text_size = ReadInt32(bytes + *offset);
  const int64_t stream_size = ReadInt32(bytes + *offset + 4);
  *offset += 8;
  if (text_size < 0 || stream_size < 0 ||
      stream_size > static_cast<int64_t>(section_end - *offset) ||
      text_size > stream_size * kMaxInflateRatio + 64) {
    return false;
  }
  uint8_t* stream = bytes + *offset;
  descramble(stream, static_cast<size_t>(stream_size));
  *offset += static_cast<size_t>(stream_size);

  const size_t reserve = static_cast<size_t>(
      std::clamp<int64_t>(table_growth, 1, kMaxReserve));
  const size_t size = static_cast<size_t>(text_size);
  Table loaded;
  loaded.bytes.assign(reserve + size + 2, '\0');
  if (!InflateExact(std::string_view(reinterpret_cast<char*>(stream), stream_size),
                    loaded.bytes.data() + reserve, size)) {
    return false;
  }
  if (size > 0 && loaded.bytes[reserve + size - 1] != static_cast<char>(kRecordEnd)) {
    return false;  // the last record has no end
  }
  if (!TableMerger(&loaded, reserve, size).Merge(changes)) return false;
  loaded.bytes.resize(loaded.used + 1 + kDefaultTableGrowth);
  *table = std::move(loaded);
  return true;
}

ChangeSectionStatus ReadChangeSection(const std::string& file,
                                      const BaseFileLayout& layout,
                                      ChangeList* home, ChangeList* org) {
  if (!layout.has_change_section) return ChangeSectionStatus::kAbsent;
  const auto* section =
      reinterpret_cast<const uint8_t*>(file.data()) + layout.BasePartLength;
  const size_t section_size = file.size() - layout.BasePartLength;
  if (ReadInt32(section) != layout.BaseStamp) {
    return ChangeSectionStatus::kForeignStamp;
  }
  if (section_size <= 8) return ChangeSectionStatus::kDamaged;
  const int64_t hint = ReadInt32(section + 4);
  std::string stream(reinterpret_cast<const char*>(section + 8), section_size - 8);
  MaskChangeStream(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  std::string text;
  if (!InflateGrowing(stream, hint > 0 ? static_cast<size_t>(hint) : 0, &text)) {
    return ChangeSectionStatus::kDamaged;
  }
  ParseChangeStream(text, home, org);
  return ChangeSectionStatus::kApplied;
}

}  // namespace

LoadReport LoadBaseFromBytes(std::string file, RecordStore* store) {
  LoadReport report;
  BaseFileLayout layout;
  if (!ReadBaseFileLayout(file, &layout, &report.error_text)) {
    report.status = LoadStatus::kIoError;
    return report;
  }
  HeaderBytes header_bytes;
  std::memcpy(header_bytes.data(), file.data() + layout.header_offset, kHeaderSize);
  RecordStore loaded;
  loaded.header = BaseHeader::FromFile(header_bytes);
  const BaseHeader& h = loaded.header;
  if (h.CheckTag != h.FormatTag) {
    report.status = LoadStatus::kDamagedHeader;
    return report;
  }
  if (h.FormatTag != kFormatLetter) {
    report.status = LoadStatus::kUnsupportedFormat;
    return report;
  }
  if (!h.FieldCountsValid()) {
    report.status = LoadStatus::kDamagedHeader;
    return report;
  }
  loaded.BaseStamp = layout.BaseStamp;
  loaded.maps = ColumnMaps::FromHeader(h);

  report.changes = ReadChangeSection(file, layout, &loaded.HomeChanges,
                                     &loaded.OrgChanges);
  if (report.changes != ChangeSectionStatus::kApplied) {
    loaded.HomeChanges.clear();
    loaded.OrgChanges.clear();
  }

  size_t offset = layout.header_offset + kHeaderSize;
  const size_t section_end = layout.BasePartLength - kTrailerSize;
  const bool sound =
      ReadInt32(reinterpret_cast<const uint8_t*>(file.data()) + offset) ==
          layout.BaseStamp &&
      (offset += 4,
       LoadTable(file, &offset, section_end, h.TableGrowth, ScrambleHomeStream,
                 loaded.HomeChanges, &loaded.HomeData)) &&
      LoadTable(file, &offset, section_end, h.TableGrowth, ScrambleOrgStream,
                loaded.OrgChanges, &loaded.OrgData);
  if (!sound) {
    report.status = LoadStatus::kDamagedBase;
    return report;
  }
  loaded.header.TableGrowth = static_cast<int32_t>(kDefaultTableGrowth);
  *store = std::move(loaded);
  return report;
}

LoadReport LoadBase(const std::string& path, RecordStore* store, FileSystem& fs) {
  std::string file;
  const Status read = fs.ReadFile(path, &file);
  if (!read.ok()) {
    LoadReport report;
    report.status = LoadStatus::kIoError;
    report.error_text = read.message();
    return report;
  }
  LoadReport report = LoadBaseFromBytes(std::move(file), store);
  if (report.status == LoadStatus::kIoError) {
    report.error_text = "Ошибка чтения файла " + path + ": " + report.error_text;
  }
  return report;
}

}  // namespace spravka
