// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_RECORD_STORE_H_
#define SPRAVKA_STORAGE_RECORD_STORE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/base_header.h"
#include "storage/change_list.h"
#include "storage/column_maps.h"
#include "storage/file_identity.h"
#include "storage/file_system.h"
#include "storage/record_table.h"
#include "storage/status.h"

namespace spravka {

// Everything that loading a base produces: the in-memory header, the working
// tables and the change lists. Whoever changes a working table calls
// TableChanged(), so that a suspended search notices.
struct RecordStore {
  BaseHeader header;
  ColumnMaps maps;
  int32_t BaseStamp = 0;
  // The file the store was loaded from, as it was then, or as this program
  // wrote it since (whoever writes it successfully sets it to what it
  // wrote); none for a store made in memory.
  std::optional<BaseFileId> loaded_file;
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
  // changed, and the store learns from it what the table held before (see
  // UnsavedEdits). Positions are those of records the table holds.
  void ReplaceRecordText(TableId id, size_t p, std::string_view text);
  void RemoveRecord(TableId id, size_t p);
  // `number` lies above every number the table holds.
  void AppendRecord(TableId id, uint32_t number, std::string_view text);
  // Several replacements and removals in one pass over the table, into a
  // copy that then replaces it (each record moves once, where edits one by
  // one would move the rest of the table each time): positions as the
  // table holds them before, ascending, each once; a rewrite without a
  // text removes its record.
  struct Rewrite {
    size_t position;
    std::optional<std::string_view> text;
  };
  void RewriteRecords(TableId id, std::span<const Rewrite> rewrites);
  // Sets the change entry of a record, replacing one it had.
  void SetChange(TableId id, uint32_t number, std::string_view value) {
    changes(id).Set(number, value);
  }

  // The records of a table that differ from the table as loaded or as
  // last saved (EditsSaved), in number order: an edit back to the text a
  // record had then, or a record added and deleted again, is none. The
  // views hold until the store changes.
  struct UnsavedEdit {
    uint32_t number = 0;
    std::optional<std::string_view> then;  // none: added since
    std::optional<std::string_view> now;   // none: deleted since
  };
  std::vector<UnsavedEdit> UnsavedEdits(TableId id) const;
  bool HasUnsavedEdits() const {
    return !texts_then_[0].empty() || !texts_then_[1].empty();
  }
  // A save wrote the tables as they are: later edits are told from them.
  void EditsSaved() {
    texts_then_[0].clear();
    texts_then_[1].clear();
  }

 private:
  // Before an edit of record `number` changes it: what it was (its text,
  // or kDeletion when the table did not hold it), kept from the first edit
  // on. After the edit: `now` (likewise) equal to that forgets it.
  void NoteBefore(TableId id, uint32_t number, std::string_view then);
  void NoteAfter(TableId id, uint32_t number, std::string_view now);

  // Starts from a global counter so that a store replacing another never
  // repeats a generation the search engine saw before.
  uint64_t generation_[2] = {NextStoreGeneration(), NextStoreGeneration()};
  static uint64_t NextStoreGeneration();
  // Per table, for every record edited since the tables were loaded or
  // saved: its text then, or kDeletion when the table did not hold it (no
  // working record's text is the lone terminator). What it costs: a bit
  // per number up to the highest edited one, and the text then of each
  // edited record the table held.
  ChangeList texts_then_[2];
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
