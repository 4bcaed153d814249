// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_RECORD_STORE_H_
#define SPRAVKA_STORAGE_RECORD_STORE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "storage/base_header.h"
#include "storage/change_list.h"
#include "storage/column_maps.h"
#include "storage/file_system.h"
#include "storage/record_table.h"
#include "storage/status.h"

namespace spravka {

// What tells one base part from another: its length, its stamp and its
// header bytes as stored. A writer behind a loaded base checks that the file
// still holds the part the base was loaded from.
struct BasePartId {
  int32_t length = 0;
  int32_t stamp = 0;
  HeaderBytes header{};
  bool operator==(const BasePartId&) const = default;
};

// Everything that loading a base produces: the in-memory header, the working
// tables and the change lists. Whoever changes a working table calls
// TableChanged(), so that a suspended search notices.
struct RecordStore {
  BaseHeader header;
  ColumnMaps maps;
  int32_t BaseStamp = 0;
  // The base part the store was loaded from; none for a store made in
  // memory.
  std::optional<BasePartId> loaded_part;
  Table HomeData;
  Table OrgData;
  ChangeList HomeChanges;
  ChangeList OrgChanges;

  Table& table(TableId id) { return id == TableId::kHome ? HomeData : OrgData; }
  const Table& table(TableId id) const {
    return id == TableId::kHome ? HomeData : OrgData;
  }
  ChangeList& changes(TableId id) {
    return id == TableId::kHome ? HomeChanges : OrgChanges;
  }
  const ChangeList& changes(TableId id) const {
    return id == TableId::kHome ? HomeChanges : OrgChanges;
  }
  int FieldCount(TableId id) const {
    return id == TableId::kHome ? header.HomeFieldCount : header.OrgFieldCount;
  }

  uint64_t generation(TableId id) const {
    return generation_[static_cast<int>(id)];
  }
  void TableChanged(TableId id) { ++generation_[static_cast<int>(id)]; }

  // Edits of a working table; each tells the table's readers that it
  // changed. Positions are those of records the table holds.
  void ReplaceRecordText(TableId id, size_t p, std::string_view text) {
    table(id).ReplaceText(p, text);
    TableChanged(id);
  }
  void RemoveRecord(TableId id, size_t p) {
    table(id).Remove(p);
    TableChanged(id);
  }
  void AppendRecord(TableId id, uint32_t number, std::string_view text) {
    table(id).Append(number, text);
    TableChanged(id);
  }
  // Sets the change entry of a record, replacing one it had.
  void SetChange(TableId id, uint32_t number, std::string_view value) {
    changes(id).Set(number, value);
  }

 private:
  // Starts from a global counter so that a store replacing another never
  // repeats a generation the search engine saw before.
  uint64_t generation_[2] = {NextStoreGeneration(), NextStoreGeneration()};
  static uint64_t NextStoreGeneration();
};

// What became of the change section.
enum class ChangeSectionStatus {
  kAbsent,        // no change section (4 bytes or fewer after the base part)
  kApplied,       // applied
  kForeignStamp,  // belongs to another build of the base part: ignored
  kDamaged,       // too short or does not decompress: ignored
};

// Reads the base file at `path` into `*store`. The checks run in this
// order: the file is read (kIoError) and its layout holds
// (kDamagedLayout); the header's tags agree and its field counts are in
// range (kDamagedHeader), its format tag is "A" (kUnsupportedFormat); the
// stamps agree and both table sections are usable (kDamagedBase). On any
// failure `*store` is left exactly as it was. `changes`, when given, says
// what became of the change section, and `header` receives the header once
// it has passed its checks: both also when the tables then fail, since the
// change section is read before them.
Status LoadBase(const std::string& path, RecordStore* store,
                FileSystem& fs = RealFileSystem(),
                ChangeSectionStatus* changes = nullptr,
                std::optional<BaseHeader>* header = nullptr);

// The same from the bytes of a whole file (for checks and tests).
Status LoadBaseFromBytes(std::string file, RecordStore* store,
                         ChangeSectionStatus* changes = nullptr,
                         std::optional<BaseHeader>* header = nullptr);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_RECORD_STORE_H_
