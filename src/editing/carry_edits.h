// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_EDITING_CARRY_EDITS_H_
#define SPRAVKA_EDITING_CARRY_EDITS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "storage/record_store.h"

namespace spravka {

// What a window's edit did to a record.
enum class EditKind { kEdited, kDeleted, kAdded };

// Why an edit was not carried.
enum class NotCarriedReason {
  kRecordGone,    // a deletion: the new base no longer holds the record
  kFieldsDiffer,  // the table has other fields in the new base
  kNoNumber,      // the table's last record is not whole, or numbers ran out
};

struct ReportedRecord {
  TableId table;
  EditKind kind;
  // The record as the window shows it; for a deletion, as it was loaded.
  std::string text;
  // Why, for a record that was not carried.
  NotCarriedReason reason = NotCarriedReason::kRecordGone;
  bool operator==(const ReportedRecord&) const = default;
};

// What carrying a window's edits into a newly loaded base did. Lists run
// residential table first, each table in the window's record order.
struct CarryReport {
  // Carried as made: records found by their text and replaced, found and
  // deleted, and records added.
  size_t edited = 0;
  size_t deleted = 0;
  size_t added = 0;
  // Edited records whose text the new base no longer holds: their new
  // texts were added as new records.
  std::vector<ReportedRecord> added_as_new;
  // Edits that were not carried.
  std::vector<ReportedRecord> not_carried;

  size_t carried() const {
    return edited + deleted + added + added_as_new.size();
  }
  bool operator==(const CarryReport&) const = default;
};

// Carries the unsaved edits of `window` (RecordStore::UnsavedEdits) into
// `*fresh`, a store just loaded from the base file that another program
// changed since `window` was loaded (optimised and so renumbered, reset,
// saved with other changes, or replaced).
//
// A record is found by its whole text as the window had it before the
// edit (a text without the leading tag 1 counts as one with it). The edits
// of a table are taken in the window's record order, and each takes the
// first record of the new table, in table order, with its text that no
// earlier edit took: so k edits of records with one text take the first k
// such records, and any beyond those the new table holds count as gone.
// - An edited record found gets its new text; one not found is added.
// - A deleted record found is deleted; one not found is dropped.
// - An added record is added.
// Records are added behind the table's last one in the window's order,
// numbered on from it. A table whose fields (kinds and count) differ in
// the new base carries nothing. Each carried record gets its change entry
// in `*fresh`, and becomes one of its unsaved edits.
CarryReport CarryEdits(const RecordStore& window, RecordStore* fresh);

}  // namespace spravka

#endif  // SPRAVKA_EDITING_CARRY_EDITS_H_
