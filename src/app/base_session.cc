// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/base_session.h"

#include <algorithm>
#include <utility>

#include "app/base_messages.h"
#include "app/town_names.h"
#include "storage/cp1251.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "util/paths.h"
#include "util/thrown_error.h"

namespace spravka {
namespace {

// A base name; none for an empty one, which names no base.
std::optional<std::string> NameOrNone(std::string name) {
  if (name.empty()) return std::nullopt;
  return name;
}

}  // namespace

std::string NoBaseMessage() {
  return std::string(
             "Для работы программы\r\nсоздайте базу пользователя.\r\n"
             "или загрузите готовые с сайта\r\n") +
         kSiteAddress;
}

BaseSession::BaseSession(FileChecks* files, SettingsStore* settings_store,
                         MessageBoxes* boxes, NearestColour nearest,
                         FileSystem* fs)
    : files_(files),
      boxes_(boxes),
      fs_(fs != nullptr ? fs : &RealFileSystem()),
      settings_(settings_store),
      stripes_(std::move(nearest)) {}

std::string BaseSession::PathOf(const std::string& name) const {
  return AbsolutePathFrom(working_folder_, name);
}

void BaseSession::SetModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  if (on_modified_change_) on_modified_change_();
}

bool BaseSession::Probe(const std::string& folder) {
  ProbeResult probe = files_->ProbeWrite(folder);
  // The probe file could be made but not removed: worth telling, but the
  // folder is writable and the work goes on.
  if (!probe.cleanup.ok()) {
    boxes_->Show(
        MessageKind::kError,
        StatusMessage(probe.cleanup, BaseAction::kWriting, probe.cleanup.path())
            .text);
  }
  return probe.writable;
}

void BaseSession::Start(const std::string& working_folder,
                        const std::string& program_path,
                        const std::vector<std::string>& args) {
  working_folder_ = working_folder;
  program_folder_ = FolderPart(program_path);
  folder_read_only_ = !Probe(working_folder_);
  previous_base_.reset();
  current_base_ = NameOrNone(settings_.LastBase());
  std::vector<std::string> names;
  const Status listed = files_->ListBaseFiles(working_folder_, &names);
  if (!listed.ok()) {
    boxes_->Show(
        MessageKind::kError,
        StatusMessage(listed, BaseAction::kLoading, working_folder_).text);
  }
  towns_ = BuildTownList(names);
  ApplyCommandLine(args);
  selected_ = current_base_ ? towns_.Find(BaseToTownName(*current_base_)) : -1;
  if (selected_ < 0) {
    selected_ = towns_.empty() ? -1 : 0;
    current_base_ = towns_.empty() ? std::nullopt
                                   : NameOrNone(TownToBaseName(towns_[0]));
  }
}

std::optional<std::string> BaseSession::BaseOfFile(std::string s) {
  if (!s.empty() && s.front() == '"') s.erase(0, 1);
  if (!s.empty() && s.back() == '"') s.pop_back();
  if (!HasQzExtension(s)) return std::nullopt;
  s = LongPathName(s);
  std::string folder = FolderPart(s);
  if (folder.empty() || files_->SameFolder(working_folder_, PathOf(folder))) {
    s = FileNamePart(s);
  } else {
    // Outside the working folder the base keeps its full path.
    s = JoinPath(PathOf(folder), FileNamePart(s));
  }
  return NameOrNone(s.substr(0, s.size() - 3));
}

void BaseSession::ApplyCommandLine(const std::vector<std::string>& args) {
  if (args.size() != 1) return;
  const std::optional<std::string> base = BaseOfFile(args[0]);
  if (!base) return;
  current_base_ = base;
  const std::string entry = BaseToTownName(*base);
  if (towns_.Find(entry) < 0) towns_.Add(entry);
}

bool BaseSession::TakeDroppedFile(const std::string& path) {
  const std::optional<std::string> base = BaseOfFile(path);
  if (!base) return false;
  const std::string entry = BaseToTownName(*base);
  if (towns_.Find(entry) < 0) towns_.Add(entry);
  selected_ = towns_.Find(entry);
  return true;
}

bool BaseSession::CreateNewBase(
    const NewBaseParams& params,
    const std::optional<std::string>& base_template) {
  CreatedBase made;
  Status status;
  try {
    runner_->Run([&] {
      status = CreateBase(params, base_template, working_folder_, *fs_, &made);
    });
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  if (made.refusal) {
    boxes_->Show(MessageKind::kError, *made.refusal);
    return false;
  }
  if (!status.ok()) {
    const std::string file =
        NewBasePath(working_folder_, Cp1251ToUtf8(NewBaseName(params.name)));
    boxes_->Show(MessageKind::kError,
                 StatusMessage(status, BaseAction::kWriting, file).text);
    return false;
  }
  if (!made.created) return false;
  TakeNewBase(made.name);
  return true;
}

void BaseSession::TakeNewBase(const std::string& name) {
  current_base_ = NameOrNone(name);
  const std::string entry = BaseToTownName(name);
  if (towns_.Find(entry) < 0) towns_.Add(entry);
}

LoadOutcome BaseSession::LoadReported() {
  try {
    return LoadBase();
  } catch (...) {
    boxes_->Show(MessageKind::kError, ThrownErrorText());
    return LoadOutcome::kFailed;
  }
}

LoadOutcome BaseSession::LoadAfterClose() {
  const std::optional<std::string> failed = current_base_;
  LoadOutcome outcome = LoadReported();
  if (outcome == LoadOutcome::kFailed) outcome = LoadInsteadOf(failed);
  if (outcome == LoadOutcome::kFailed) return NoBaseAtAll();
  return outcome;
}

LoadOutcome BaseSession::LoadAtStart() {
  const std::optional<std::string> failed = current_base_;
  LoadOutcome outcome = LoadReported();
  if (outcome == LoadOutcome::kFailed) outcome = LoadInsteadOf(failed);
  // No town loads: a new base is the one way on.
  if (outcome == LoadOutcome::kFailed && offer_new_base_ &&
      offer_new_base_()) {
    SelectCurrentEntry();
    outcome = LoadReported();
  }
  if (outcome == LoadOutcome::kFailed) return NoBaseAtAll();
  return outcome;
}

LoadOutcome BaseSession::LoadInsteadOf(
    const std::optional<std::string>& failed) {
  for (const std::string& base : FallbackBases(failed)) {
    current_base_ = base;
    SelectCurrentEntry();
    const LoadOutcome outcome = LoadReported();
    if (outcome != LoadOutcome::kFailed) return outcome;
  }
  return LoadOutcome::kFailed;
}

LoadOutcome BaseSession::NoBaseAtAll() {
  boxes_->Show(MessageKind::kError, NoBaseMessage());
  return LoadOutcome::kFatal;
}

std::vector<std::string> BaseSession::FallbackBases(
    const std::optional<std::string>& failed) const {
  std::vector<std::string> bases;
  const auto add = [&](const std::optional<std::string>& base) {
    if (!base || base == failed ||
        std::find(bases.begin(), bases.end(), *base) != bases.end() ||
        !BaseExists(base)) {
      return;
    }
    bases.push_back(*base);
  };
  add(previous_base_);
  for (const std::string& entry : towns_.entries())
    add(NameOrNone(TownToBaseName(entry)));
  return bases;
}

bool BaseSession::BaseExists(const std::optional<std::string>& name) const {
  return name && files_->FindBaseFile(PathOf(*name)).has_value();
}

bool BaseSession::IsCurrentEntry(const std::string& entry) const {
  return current_base_ && BaseToTownName(*current_base_) == entry;
}

int BaseSession::SelectCurrentEntry() {
  if (!current_base_) return -1;
  int i = towns_.Find(BaseToTownName(*current_base_));
  if (i >= 0) selected_ = i;
  return i;
}

bool BaseSession::MissingBaseStep() {
  if (BaseExists(current_base_)) return true;
  if (offer_new_base_) offer_new_base_();
  if (!BaseExists(current_base_)) current_base_ = previous_base_;
  // Without a base to go back to, the first town whose file is there.
  if (!BaseExists(current_base_)) {
    for (const std::string& entry : towns_.entries()) {
      std::optional<std::string> name = NameOrNone(TownToBaseName(entry));
      if (BaseExists(name)) {
        current_base_ = name;
        break;
      }
    }
  }
  if (towns_.empty() || !BaseExists(current_base_)) {
    NoBaseAtAll();
    return false;
  }
  SelectCurrentEntry();
  return true;
}

LoadOutcome BaseSession::LoadBase() {
  if (!MissingBaseStep()) return LoadOutcome::kFatal;
  const std::string& current = *current_base_;
  std::string found = *files_->FindBaseFile(PathOf(current));
  // The file by its real name; a base of the working folder by name alone.
  std::string file_name = JoinPath(FolderPart(current), FileNamePart(found));

  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  // The first load takes the base prefetched at start-up when it is this
  // one; any other way it loads the file itself. The runner's thread fills
  // a store of its own; this thread takes it once the job has ended.
  BasePrefetch* prefetch = std::exchange(prefetch_, nullptr);
  const std::string path = PathOf(file_name);
  RecordStore loaded;
  Status status;
  runner_->Run([&] {
    if (prefetch == nullptr || !prefetch->Take(path, &loaded, &changes)) {
      status = spravka::LoadBase(path, &loaded, *fs_, &changes);
    }
  });
  if (status.ok()) store_ = std::move(loaded);
  if (!status.ok()) {
    const BaseMessage message =
        StatusMessage(status, BaseAction::kLoading, PathOf(file_name));
    boxes_->Show(message.kind, message.text);
    if (message.fatal) return LoadOutcome::kFatal;
    // The store was not touched: it still belongs to the base loaded before.
    if (base_loaded_) {
      current_base_ = loaded_base_;
      SelectCurrentEntry();
    }
    return LoadOutcome::kFailed;
  }
  base_file_name_ = file_name;
  std::string note = ChangeSectionMessage(changes, base_file_name_);
  if (!note.empty()) boxes_->Show(MessageKind::kInformation, note);

  const std::string base_folder = FolderPart(base_file_name_);
  base_read_only_ =
      !Probe(base_folder.empty() ? working_folder_ : PathOf(base_folder));
  // Two windows editing one base would overwrite each other's changes: the
  // second one only reads it.
  bool open_elsewhere = false;
  open_mark_.reset();  // this window's own mark is no other window's
  open_mark_ = fs_->MarkOpen(PathOf(base_file_name_), &open_elsewhere);
  if (open_elsewhere) {
    boxes_->Show(MessageKind::kWarning,
                 OpenElsewhereMessage(PathOf(base_file_name_)));
    base_read_only_ = true;
  }
  base_loaded_ = true;
  loaded_base_ = current;
  return LoadOutcome::kLoaded;
}

bool BaseSession::ReadDisplaySettings(Rgb button_face) {
  bool universal = settings_.UniversalMode();
  stripes_.SetStripesOn(false);
  stripes_.SetStripeContrast(button_face, settings_.Contrast());
  if (stripes_.offered()) stripes_.SetStripesOn(settings_.StripesOn());
  return universal;
}

bool BaseSession::Leave(bool universal_mode,
                        const std::function<bool()>& save) {
  settings_.SetUniversalMode(universal_mode);
  if (stripes_.offered()) {
    settings_.SetStripesOn(stripes_.stripes_on());
    settings_.SetContrast(stripes_.contrast_level());
  }
  settings_.SetLastBase(current_base_.value_or(""));
  if (modified_ && boxes_->Ask("Сохранить изменения базы?") && !save()) {
    return false;
  }
  MarkSaved();
  return true;
}

bool BaseSession::SaveChanges() {
  if (base_loaded_) {
    Status status;
    BaseFileId written;
    try {
      runner_->Run([&] {
        status = spravka::SaveChanges(PathOf(base_file_name_), store_, *fs_,
                                      &written);
      });
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

bool BaseSession::SaveColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                                   const std::array<int32_t, kOrgKinds>& org) {
  if (!base_loaded_) return true;
  Status status;
  try {
    status = spravka::SaveColumnWidths(PathOf(base_file_name_), home, org,
                                       &store_, *fs_);
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  if (!status.ok()) ReportFailure(status);
  return status.ok();
}

Status BaseSession::Optimise(const std::array<int32_t, kHomeKinds>& home,
                             const std::array<int32_t, kOrgKinds>& org,
                             const std::function<void()>& home_written,
                             OptimiseReport* report) {
  try {
    Status status;
    runner_->Run([&] {
      status = OptimiseBase(
          PathOf(base_file_name_), store_, home, org, NewBaseStamp(), report,
          *fs_, [&] { runner_->OnWindowThread(home_written); });
    });
    return status;
  } catch (...) {
    return Status::Unexpected(ThrownErrorText());
  }
}

bool BaseSession::RestoreBase() {
  Status status;
  try {
    runner_->Run([&] {
      status = RestoreBasePart(PathOf(base_file_name_),
                               WriteChecks::Expecting(store_.loaded_file),
                               nullptr, *fs_);
    });
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

void BaseSession::ReportFailure(const Status& status) {
  const BaseMessage message =
      StatusMessage(status, BaseAction::kWriting, PathOf(base_file_name_));
  boxes_->Show(message.kind, message.text);
}

void BaseSession::SwitchTo(const std::string& entry, int index) {
  previous_base_ = current_base_;
  current_base_ = NameOrNone(TownToBaseName(entry));
  selected_ = index;
}

void BaseSession::BackToLoadedBase() {
  if (base_loaded_) current_base_ = loaded_base_;
  SelectCurrentEntry();
}

}  // namespace spravka
