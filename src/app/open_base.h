// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_OPEN_BASE_H_
#define SPRAVKA_APP_OPEN_BASE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/base_prefetch.h"
#include "app/file_work_gate.h"
#include "app/message_boxes.h"
#include "app/work_runner.h"
#include "storage/file_system.h"
#include "storage/optimiser.h"
#include "storage/record_store.h"

namespace spravka {

// What a load of the open base came to.
struct BaseLoad {
  Status status;
  // What became of the change section, and the base's header once it has
  // passed its checks: also when the tables then do not load.
  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  std::optional<BaseHeader> header;
};

// The open base: the record store the window shows and the file work reads,
// the identity of its file, the mark that tells other windows it is open
// here, whether it may be written, whether it has unsaved changes, and the
// writers that put it into its file.
//
// Who uses the store when: the window's thread reads it at any time. A job
// on the runner's thread reads it (a save, an optimisation) while the
// window's thread waits for the job in the runner's event loop; a load's
// job fills a store of its own, which replaces this one on the window's
// thread once the job has ended. The store is changed only on the window's
// thread, through StoreForEdit, which hands it out only while no file work
// runs: every writer and load runs inside a scope of the window's file-work
// gate.
class OpenBase {
 public:
  // `boxes` shows the writers' failures; `gate` is the window's.
  OpenBase(FileSystem* fs, MessageBoxes* boxes, FileWorkGate* gate);

  // Where the file work of loads, saves, optimisation and restore runs
  // (here, when none is given). It must outlive the open base.
  void RunFileWorkWith(WorkRunner* runner) { runner_ = runner; }
  // The next load takes its base from `prefetch` when that loaded the same
  // file (it must live until then).
  void TakeNextLoadFrom(BasePrefetch* prefetch) { prefetch_ = prefetch; }

  bool loaded() const { return loaded_; }
  // The store, to read.
  const RecordStore& store() const { return store_; }
  // The store, to change it (an edit, an addition, a deletion, a paste):
  // none when no base is loaded, the base is read-only, or file work runs
  // (its job may be reading the store). The change is then not made.
  RecordStore* StoreForEdit();
  // The base as it was named when it was loaded, its file (relative to the
  // working folder for a base there) and the file's absolute path.
  const std::string& base_name() const { return base_name_; }
  const std::string& file_name() const { return file_name_; }
  const std::string& path() const { return path_; }
  // Nothing may write the base: its folder cannot be written, or another
  // window has it open.
  bool read_only() const { return read_only_; }

  // Whether the store holds changes that are not in the base file. Every
  // edit marks them; a successful save, a restore and leaving the base end
  // them. `on_change` runs whenever the answer changes.
  bool modified() const { return modified_; }
  void MarkModified() { SetModified(true); }
  void MarkSaved() { SetModified(false); }
  void OnModifiedChange(std::function<void()> on_change) {
    on_modified_change_ = std::move(on_change);
  }

  // Loads the file at `path` (`file_name`, of the base `base`) in place of
  // the open base. A failure leaves everything as it was; on success the
  // store and the names are the new base's, and MarkOpen decides whether it
  // may be written.
  BaseLoad Load(const std::string& base, const std::string& file_name,
                const std::string& path);
  // After a load: marks the base open in this window. It may be written
  // when `folder_writable` and no other window has it open; true when
  // another window has.
  bool MarkOpen(bool folder_writable);

  // The writers. Each reports its failure, returned or thrown, and returns
  // whether it succeeded; with no base loaded there is nothing to do. A
  // read-only base is not written: that is reported as a failure.
  // Writes the change lists; success ends the unsaved changes.
  bool SaveChanges();
  // The grids' widths (header pixels) go into the header of the file and of
  // the store.
  bool SaveColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                        const std::array<int32_t, kOrgKinds>& org);
  // The file keeps only its base part; success gives up the unsaved changes.
  bool Restore();
  // Optimisation's file work; `home_written` runs half-way, on this thread.
  // A failure, returned or thrown, is returned, not reported: the caller
  // hides its splash window first and then calls ReportFailure.
  Status Optimise(const std::array<int32_t, kHomeKinds>& home,
                  const std::array<int32_t, kOrgKinds>& org,
                  const std::function<void()>& home_written,
                  OptimiseReport* report);
  // Shows the message for a failed write of the open base.
  void ReportFailure(const Status& status);

 private:
  void SetModified(bool modified);
  // The refusal of a writer on a read-only base.
  Status ReadOnlyRefusal() const;

  FileSystem* fs_;
  MessageBoxes* boxes_;
  FileWorkGate* gate_;
  // Tells another window that opens the base that this one has it.
  std::unique_ptr<FileLock> open_mark_;

  RecordStore store_;
  bool loaded_ = false;
  std::string base_name_;
  std::string file_name_;
  std::string path_;
  bool read_only_ = true;
  bool modified_ = false;
  std::function<void()> on_modified_change_;
  BasePrefetch* prefetch_ = nullptr;
  WorkRunner here_;
  WorkRunner* runner_ = &here_;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_OPEN_BASE_H_
