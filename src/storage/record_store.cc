// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/record_store.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/side_by_side.h"
#include "storage/zlib_codec.h"

namespace spravka {

uint64_t RecordStore::NextStoreGeneration() {
  // Stores are made on more than one thread (a base prefetched at start-up).
  static std::atomic<uint64_t> next = 0;
  return next += 1000000;
}

void RecordStore::NoteBefore(TableId id, uint32_t number,
                             std::string_view then) {
  // Add keeps the first value: what the record was before its first edit.
  texts_then_[static_cast<int>(id)].Add(number, then);
}

void RecordStore::NoteAfter(TableId id, uint32_t number, std::string_view now) {
  ChangeList& then = texts_then_[static_cast<int>(id)];
  if (then.Find(number) == now) then.Erase(number);
}

void RecordStore::ReplaceRecordText(TableId id, size_t p,
                                    std::string_view text) {
  Table& t = table(id);
  const uint32_t number = t.NumberAt(p);
  NoteBefore(id, number, t.TextAt(p));
  t.ReplaceText(p, text);
  NoteAfter(id, number, text);
  TableChanged(id);
}

void RecordStore::RemoveRecord(TableId id, size_t p) {
  Table& t = table(id);
  const uint32_t number = t.NumberAt(p);
  NoteBefore(id, number, t.TextAt(p));
  t.Remove(p);
  NoteAfter(id, number, ChangeList::kDeletion);
  TableChanged(id);
}

void RecordStore::AppendRecord(TableId id, uint32_t number,
                               std::string_view text) {
  NoteBefore(id, number, ChangeList::kDeletion);
  table(id).Append(number, text);
  NoteAfter(id, number, text);
  TableChanged(id);
}

void RecordStore::RewriteRecords(TableId id,
                                 std::span<const Rewrite> rewrites) {
  if (rewrites.empty()) return;
  Table& t = table(id);
  size_t used = t.used;
  for (const Rewrite& r : rewrites) {
    used -= t.LengthAt(r.position);
    if (r.text) used += r.text->size() + kRecordHeadSize;
  }
  Table rewritten;
  rewritten.bytes.ResizeUninitialized(used + 1 + kDefaultTableGrowth);
  rewritten.bytes[0] = 0;
  std::memset(rewritten.at(used + 1), 0, kDefaultTableGrowth);
  size_t from = 1;  // the first byte of `t` not yet taken
  size_t to = 1;
  const auto copy = [&](size_t end) {
    std::memcpy(rewritten.at(to), t.at(from), end - from);
    to += end - from;
  };
  for (const Rewrite& r : rewrites) {
    copy(r.position);
    const uint32_t number = t.NumberAt(r.position);
    const std::string_view then = t.TextAt(r.position);
    NoteBefore(id, number, then);
    if (r.text) {
      const size_t length = r.text->size() + kRecordHeadSize;
      WriteRecordHead(rewritten.at(to), number, length);
      std::memcpy(rewritten.at(to + kRecordHeadSize), r.text->data(),
                  r.text->size());
      to += length;
    }
    NoteAfter(id, number, r.text.value_or(ChangeList::kDeletion));
    from = r.position + t.LengthAt(r.position);
  }
  copy(t.used + 1);
  rewritten.used = used;
  t = std::move(rewritten);
  TableChanged(id);
}

std::vector<RecordStore::UnsavedEdit> RecordStore::UnsavedEdits(
    TableId id) const {
  std::vector<UnsavedEdit> edits;
  const Table& t = table(id);
  size_t p = 1;
  // Both run in ascending number order.
  for (const ChangeEntry& entry : texts_then_[static_cast<int>(id)]) {
    while (p < t.used && t.NumberAt(p) < entry.number) p += t.LengthAt(p);
    UnsavedEdit edit{entry.number, std::nullopt, std::nullopt};
    if (!entry.IsDeletion()) edit.then = entry.value;
    if (p < t.used && t.NumberAt(p) == entry.number) edit.now = t.TextAt(p);
    edits.push_back(edit);
  }
  return edits;
}

namespace {

// Rewrites a table text lying at bytes[reserve .. reserve+size) as working
// records from position 1 on, folding in the change list. The written part
// runs ahead of the unread text and the table grows when it catches up.
class TableMerger {
 public:
  TableMerger(Table* table, size_t reserve, size_t size)
      : t_(*table), r_(reserve), rest_(size) {}

  bool Merge(const ChangeList& changes) {
    for (const ChangeEntry& change : changes) {
      const int64_t target = change.number;
      if (rest_ > 0) {
        while (j_ < target && rest_ > 0) {
          if (!CopyBaseRecord()) return false;
        }
        if (j_ == target && rest_ > 0) SkipBaseRecord();
      }
      if (!change.IsDeletion()) WriteRecord(change.number, change.value);
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
  // the unread text. The bytes it adds are written before they are read.
  void RoomAhead(size_t length) {
    if (used_ + length < r_) return;
    const size_t step = std::max(kDefaultTableGrowth, std::max(rest_, length));
    t_.bytes.ResizeUninitialized(t_.bytes.size() + step);
    std::memmove(t_.at(r_ + step), t_.at(r_), rest_);
    r_ += step;
  }

  bool CopyBaseRecord() {
    const size_t end = EndOfRecord();
    const size_t text = end - r_ + 1;
    const size_t length = text + kRecordGrowth;
    if (length > kMaxRecordLength || j_ > kMaxRecordNumber) return false;
    RoomAhead(length);
    uint8_t* head = t_.at(used_ + 1);
    WriteRecordHead(head, static_cast<uint32_t>(j_), length);
    head[kRecordHeadSize] = 1;  // the tag of column 1
    std::memmove(head + kRecordGrowth, t_.at(r_), text);
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

  void WriteRecord(uint32_t number, std::string_view value) {
    const size_t length = value.size() + kRecordHeadSize;
    if (rest_ > 0) {
      RoomAhead(length);
    } else if (used_ + length > t_.bytes.size() - 1) {
      // Records past the base ones (added by the user) can be millions:
      // the room grows by half at a time, so that the table moves rarely.
      const size_t size = used_ + 1 + std::max(kDefaultTableGrowth, length);
      if (size > t_.bytes.capacity()) {
        t_.bytes.Reserve(
            std::max(size, t_.bytes.capacity() + t_.bytes.capacity() / 2));
      }
      t_.bytes.ResizeUninitialized(size);
    }
    uint8_t* head = t_.at(used_ + 1);
    WriteRecordHead(head, number, length);
    std::memcpy(head + kRecordHeadSize, value.data(), value.size());
    used_ += length;
  }

  Table& t_;
  size_t r_;       // position of the first unread text byte
  size_t rest_;    // unread text bytes
  int64_t j_ = 1;  // number of the next base record
  size_t used_ = 0;
};

// Reads one table section into `table`, merged with `changes`: descrambles
// the stream in place in `file`, inflates it behind the reserve into memory
// that only the inflating commits, and merges. False when the section is
// unusable.
bool LoadTable(std::string& file, const SectionBlock& block,
               int32_t table_growth, void (*descramble)(uint8_t*, size_t),
               const ChangeList& changes, Table* table) {
  char* stream = file.data() + block.stream_offset;
  descramble(reinterpret_cast<uint8_t*>(stream), block.stream_size);

  const size_t size = block.text_size;
  const size_t reserve =
      TableReserve(table_growth, size, changes.RecordBytes());
  const std::string_view compressed(stream, block.stream_size);
  // A text far longer than its stream is read a piece at a time first: one
  // that holds no table is refused before its length is taken.
  if (static_cast<int64_t>(size) >
          kSuspectInflateRatio * static_cast<int64_t>(block.stream_size) +
              kInflateSlack &&
      !SectionStreamKeepsRecordRules(compressed, [&changes](size_t record) {
        return record <= ChangeList::kMaxNumber &&
               changes.Contains(static_cast<uint32_t>(record));
      })) {
    return false;
  }
  Table loaded;
  if (!MakeRoomForText(compressed, size, reserve, &loaded.bytes)) return false;
  loaded.bytes[0] = 0;
  char* text = loaded.bytes.data() + reserve;
  if (!InflateSection(compressed, text, size)) {
    return false;
  }
  if (size > 0 && text[size - 1] != static_cast<char>(kRecordEnd)) {
    return false;  // the last record has no end
  }
  if (!TableMerger(&loaded, reserve, size).Merge(changes)) return false;
  loaded.bytes.resize(loaded.used + 1 + kDefaultTableGrowth);
  *table = std::move(loaded);
  return true;
}

// Both tables, each inflated and merged as soon as its stream is ready: the
// organisations on a thread of their own while this one does the
// residential table. False when either section is unusable.
bool LoadTables(std::string& file, const SectionBlock& home,
                const SectionBlock& org, int32_t table_growth,
                RecordStore* store) {
  bool home_sound = false;
  bool org_sound = false;
  const auto load_home = [&] {
    home_sound = LoadTable(file, home, table_growth, ScrambleHomeStream,
                           store->HomeChanges, &store->HomeData);
  };
  const auto load_org = [&] {
    org_sound = LoadTable(file, org, table_growth, ScrambleOrgStream,
                          store->OrgChanges, &store->OrgData);
  };
  if (std::min(home.text_size, org.text_size) < kParallelTextBytes) {
    load_home();
    if (home_sound) load_org();
  } else {
    RunSideBySide(load_home, load_org);
  }
  return home_sound && org_sound;
}

// The first buffer of the change stream: the size hint, but no larger than
// the compressed stream (the hint is only a hint) or one piece.
constexpr size_t kMinChangePiece = 4096;
constexpr size_t kMaxChangePiece = size_t{1} << 20;

size_t ChangePieceSize(int64_t hint, size_t stream_size) {
  const size_t cap = std::clamp(stream_size, kMinChangePiece, kMaxChangePiece);
  return std::clamp<size_t>(hint > 0 ? static_cast<size_t>(hint) : 0,
                            kMinChangePiece, cap);
}

// Unmasks the change stream in place in `file` and parses it as it
// inflates.
ChangeSectionStatus ReadChangeSection(std::string& file,
                                      const BaseFileLayout& layout,
                                      ChangeList* home, ChangeList* org) {
  if (!layout.has_change_section) return ChangeSectionStatus::kAbsent;
  auto* section =
      reinterpret_cast<uint8_t*>(file.data()) + layout.BasePartLength;
  const size_t section_size = file.size() - layout.BasePartLength;
  if (ReadInt32(section) != layout.BaseStamp) {
    return ChangeSectionStatus::kForeignStamp;
  }
  if (section_size <= 8) return ChangeSectionStatus::kDamaged;
  const int64_t hint = ReadInt32(section + 4);
  const size_t stream_size = section_size - 8;
  MaskChangeStream(section + 8, stream_size);
  ChangeStreamParser parser(home, org);
  const bool whole = InflatePieces(
      std::string_view(reinterpret_cast<char*>(section + 8), stream_size),
      ChangePieceSize(hint, stream_size),
      [&parser](std::string_view piece) { parser.Feed(piece); });
  parser.Finish();
  return whole ? ChangeSectionStatus::kApplied : ChangeSectionStatus::kDamaged;
}

}  // namespace

Status LoadBaseFromBytes(std::string file, RecordStore* store,
                         ChangeSectionStatus* changes,
                         std::optional<BaseHeader>* header) {
  BaseFile base;
  Status status = ParseBaseFile(std::move(file), &base);
  if (!status.ok()) return status;
  status = CheckHeader(base.header);
  if (!status.ok()) return status;
  if (header) *header = base.header;
  RecordStore loaded;
  loaded.header = base.header;
  const BaseHeader& h = loaded.header;
  const BaseFileLayout& layout = base.layout;
  loaded.BaseStamp = layout.BaseStamp;
  loaded.loaded_file = base.id;
  loaded.maps = ColumnMaps::FromHeader(h);

  const ChangeSectionStatus section = ReadChangeSection(
      base.bytes, layout, &loaded.HomeChanges, &loaded.OrgChanges);
  if (section != ChangeSectionStatus::kApplied) {
    loaded.HomeChanges.clear();
    loaded.OrgChanges.clear();
  }
  if (changes) *changes = section;
  // The change section is read: when it outweighs the base part, it is not
  // held while the tables load (the copy is of the smaller part).
  const auto base_part = static_cast<size_t>(layout.BasePartLength);
  if (base.bytes.size() - base_part > base_part) {
    base.bytes.resize(base_part);
    base.bytes.shrink_to_fit();
  }

  size_t offset = layout.header_offset + kHeaderSize;
  const size_t section_end = layout.BasePartLength - kTrailerSize;
  SectionBlock home_block;
  SectionBlock org_block;
  const bool sound =
      ReadInt32(reinterpret_cast<const uint8_t*>(base.bytes.data()) + offset) ==
          layout.BaseStamp &&
      (offset += 4,
       ReadSectionBlock(base.bytes, &offset, section_end, &home_block)) &&
      ReadSectionBlock(base.bytes, &offset, section_end, &org_block) &&
      LoadTables(base.bytes, home_block, org_block, h.TableGrowth, &loaded);
  if (!sound) return Status::Damaged(StatusCode::kDamagedBase);
  loaded.header.TableGrowth = static_cast<int32_t>(kDefaultTableGrowth);
  *store = std::move(loaded);
  return Status::Ok();
}

Status LoadBase(const std::string& path, RecordStore* store, FileSystem& fs,
                ChangeSectionStatus* changes,
                std::optional<BaseHeader>* header) {
  std::string file;
  Status status = fs.ReadFile(path, &file);
  if (!status.ok()) return status;
  return LoadBaseFromBytes(std::move(file), store, changes, header);
}

}  // namespace spravka
