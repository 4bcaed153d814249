// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/open_base.h"

#include <utility>

#include "app/base_messages.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "util/thrown_error.h"

namespace spravka {

OpenBase::OpenBase(FileSystem* fs, MessageBoxes* boxes, FileWorkGate* gate)
    : fs_(fs != nullptr ? fs : &RealFileSystem()), boxes_(boxes), gate_(gate) {}

RecordStore* OpenBase::StoreForEdit() {
  if (!loaded_ || read_only_ || runner_->running() ||
      gate_->Ask(WorkRequest::kEdit) != GateAnswer::kBegin) {
    return nullptr;
  }
  return &store_;
}

Status OpenBase::ReadOnlyRefusal() const {
  return Status::Unexpected(ReadOnlyBaseMessage(path_));
}

void OpenBase::SetModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  if (on_modified_change_) on_modified_change_();
}

BaseLoad OpenBase::Load(const std::string& base, const std::string& file_name,
                        const std::string& path) {
  // The first load takes the base prefetched at start-up when it is this
  // one; any other way it loads the file itself. The runner's thread fills
  // a store of its own; this thread takes it once the job has ended.
  BasePrefetch* prefetch = std::exchange(prefetch_, nullptr);
  FileWorkGate::Work work = gate_->Begin();
  RecordStore loaded;
  BaseLoad load;
  runner_->Run([&] {
    if (prefetch != nullptr && prefetch->Take(path, &loaded, &load.changes)) {
      load.header = loaded.header;
    } else {
      load.status =
          spravka::LoadBase(path, &loaded, *fs_, &load.changes, &load.header);
    }
  });
  if (!load.status.ok()) return load;
  store_ = std::move(loaded);
  loaded_ = true;
  base_name_ = base;
  file_name_ = file_name;
  path_ = path;
  return load;
}

bool OpenBase::MarkOpen(bool folder_writable) {
  // Two windows editing one base would overwrite each other's changes: the
  // second one only reads it.
  bool open_elsewhere = false;
  open_mark_.reset();  // this window's own mark is no other window's
  open_mark_ = fs_->MarkOpen(path_, &open_elsewhere);
  read_only_ = !folder_writable || open_elsewhere;
  return open_elsewhere;
}

bool OpenBase::SaveChanges() {
  if (loaded_) {
    FileWorkGate::Work work = gate_->Begin();
    Status status = read_only_ ? ReadOnlyRefusal() : Status::Ok();
    BaseFileId written;
    try {
      if (status.ok()) {
        runner_->Run([&] {
          status = spravka::SaveChanges(path_, store_, *fs_, &written);
        });
      }
    } catch (...) {
      // Compression or memory failing: the same outcome as a failed write.
      status = Status::Unexpected(ThrownErrorText());
    }
    // The changes stay unsaved, to be offered again at the next close.
    if (!status.ok()) {
      ReportFailure(status);
      return false;
    }
    store_.EditsSaved();  // later edits are told from the tables as saved
    // The next write of this window expects the file it wrote.
    store_.loaded_file = written;
  }
  MarkSaved();
  return true;
}

bool OpenBase::SaveColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                                const std::array<int32_t, kOrgKinds>& org) {
  if (!loaded_) return true;
  FileWorkGate::Work work = gate_->Begin();
  Status status = read_only_ ? ReadOnlyRefusal() : Status::Ok();
  try {
    if (status.ok()) {
      status = spravka::SaveColumnWidths(path_, home, org, &store_, *fs_);
    }
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  if (!status.ok()) ReportFailure(status);
  return status.ok();
}

Status OpenBase::Optimise(const std::array<int32_t, kHomeKinds>& home,
                          const std::array<int32_t, kOrgKinds>& org,
                          const std::function<void()>& home_written,
                          OptimiseReport* report) {
  FileWorkGate::Work work = gate_->Begin();
  if (read_only_) return ReadOnlyRefusal();
  try {
    Status status;
    runner_->Run([&] {
      status =
          OptimiseBase(path_, store_, home, org, NewBaseStamp(), report, *fs_,
                       [&] { runner_->OnWindowThread(home_written); });
    });
    return status;
  } catch (...) {
    return Status::Unexpected(ThrownErrorText());
  }
}

bool OpenBase::Restore() {
  FileWorkGate::Work work = gate_->Begin();
  Status status = read_only_ ? ReadOnlyRefusal() : Status::Ok();
  try {
    if (status.ok()) {
      runner_->Run([&] {
        status = RestoreBasePart(
            path_, WriteChecks::Expecting(store_.loaded_file), nullptr, *fs_);
      });
    }
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  if (!status.ok()) {
    // The unsaved changes stay, to be saved.
    ReportFailure(status);
    return false;
  }
  MarkSaved();  // the unsaved changes are given up with the saved ones
  return true;
}

void OpenBase::ReportFailure(const Status& status) {
  const BaseMessage message =
      StatusMessage(status, BaseAction::kWriting, path_);
  boxes_->Show(message.kind, message.text);
}

}  // namespace spravka
