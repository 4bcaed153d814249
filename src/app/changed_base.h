// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_CHANGED_BASE_H_
#define SPRAVKA_APP_CHANGED_BASE_H_

#include <optional>
#include <string>

#include "app/message_boxes.h"
#include "app/work_runner.h"
#include "storage/file_system.h"
#include "storage/record_store.h"

namespace spravka {

// What the window does after OfferToCarryEdits.
enum class CarryOutcome {
  // Nothing changed: the window keeps its store and its unsaved changes
  // (the offer was declined, or the base did not load, which was shown).
  kKept,
  // The result's store (the base loaded again, the edits carried into it)
  // takes the place of the window's; it has unsaved changes.
  kCarried,
  // The same, saved, or with nothing carried to save: no unsaved changes.
  kCarriedAndSaved,
};

struct CarryResult {
  CarryOutcome outcome = CarryOutcome::kKept;
  std::optional<RecordStore> store;  // none when kKept
};

// After a save of the edits in `window` to the base file `path` was
// refused because another program changed the file (kBaseChanged): offers
// to load the base again and carry the window's unsaved edits into it
// (CarryEdits); on Yes loads it, carries them, shows what was carried and
// what was not, and when something was, asks whether to save and saves on
// Yes. When edits would be lost (a table with other fields now), it first
// asks whether to take the new base at all. The load and the save run
// through `runner`; every failure is shown in `boxes`, naming the base as
// `file`. `window` is only read: whatever the outcome it stays as it was,
// for the caller to replace by the result's store.
CarryResult OfferToCarryEdits(const std::string& path, const std::string& file,
                              const RecordStore& window, FileSystem& fs,
                              MessageBoxes& boxes, WorkRunner& runner);

}  // namespace spravka

#endif  // SPRAVKA_APP_CHANGED_BASE_H_
