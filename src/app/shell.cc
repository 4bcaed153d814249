// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell.h"

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

std::string NoBaseMessage() {
  return std::string(
             "Для работы программы\r\nсоздайте базу пользователя.\r\n"
             "или загрузите готовые с сайта\r\n") +
         kSiteAddress;
}

Shell::Shell(FileChecks* files, SettingsStore* settings_store,
             MessageBoxes* boxes, NearestColour nearest, FileSystem* fs)
    : settings(settings_store),
      stripes(std::move(nearest)),
      files_(files),
      boxes_(boxes),
      fs_(fs != nullptr ? fs : &RealFileSystem()) {}

std::string Shell::PathOf(const std::string& name) const {
  return AbsolutePathFrom(WorkingFolder, name);
}

bool Shell::Probe(const std::string& folder) {
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

void Shell::Start(const std::string& working_folder,
                  const std::string& program_path,
                  const std::vector<std::string>& args) {
  WorkingFolder = working_folder;
  ProgramFolder = FolderPart(program_path);
  FolderReadOnly = !Probe(WorkingFolder);
  PreviousBase.clear();
  CurrentBase = settings.LastBase();
  std::vector<std::string> names;
  const Status listed = files_->ListBaseFiles(WorkingFolder, &names);
  if (!listed.ok()) {
    boxes_->Show(
        MessageKind::kError,
        StatusMessage(listed, BaseAction::kLoading, WorkingFolder).text);
  }
  towns = BuildTownList(names);
  ApplyCommandLine(args);
  selected = towns.Find(BaseToTownName(CurrentBase));
  if (selected < 0) {
    selected = towns.empty() ? -1 : 0;
    CurrentBase = towns.empty() ? "" : TownToBaseName(towns[0]);
  }
}

std::string Shell::BaseOfFile(std::string s) {
  if (!s.empty() && s.front() == '"') s.erase(0, 1);
  if (!s.empty() && s.back() == '"') s.pop_back();
  if (!HasQzExtension(s)) return {};
  s = LongPathName(s);
  std::string folder = FolderPart(s);
  if (folder.empty() || files_->SameFolder(WorkingFolder, PathOf(folder))) {
    s = FileNamePart(s);
  } else {
    // Outside the working folder the base keeps its full path.
    s = JoinPath(PathOf(folder), FileNamePart(s));
  }
  return s.substr(0, s.size() - 3);
}

void Shell::ApplyCommandLine(const std::vector<std::string>& args) {
  if (args.size() != 1) return;
  const std::string base = BaseOfFile(args[0]);
  if (base.empty()) return;
  CurrentBase = base;
  const std::string entry = BaseToTownName(base);
  if (towns.Find(entry) < 0) towns.Add(entry);
}

bool Shell::TakeDroppedFile(const std::string& path) {
  const std::string base = BaseOfFile(path);
  if (base.empty()) return false;
  const std::string entry = BaseToTownName(base);
  if (towns.Find(entry) < 0) towns.Add(entry);
  selected = towns.Find(entry);
  return true;
}

bool Shell::CreateNewBase(const NewBaseParams& params,
                          const std::optional<std::string>& base_template) {
  CreatedBase made;
  Status status;
  try {
    runner_->Run([&] {
      status = CreateBase(params, base_template, WorkingFolder, *fs_, &made);
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
        NewBasePath(WorkingFolder, Cp1251ToUtf8(NewBaseName(params.name)));
    boxes_->Show(MessageKind::kError,
                 StatusMessage(status, BaseAction::kWriting, file).text);
    return false;
  }
  if (!made.created) return false;
  CurrentBase = made.name;
  const std::string entry = BaseToTownName(made.name);
  if (towns.Find(entry) < 0) towns.Add(entry);
  return true;
}

LoadOutcome Shell::LoadReported() {
  try {
    return LoadBase();
  } catch (...) {
    boxes_->Show(MessageKind::kError, ThrownErrorText());
    return LoadOutcome::kFailed;
  }
}

LoadOutcome Shell::LoadAfterClose() {
  const std::string failed = CurrentBase;
  LoadOutcome outcome = LoadReported();
  if (outcome == LoadOutcome::kFailed) outcome = LoadInsteadOf(failed);
  if (outcome == LoadOutcome::kFailed) return NoBaseAtAll();
  return outcome;
}

LoadOutcome Shell::LoadAtStart() {
  const std::string failed = CurrentBase;
  LoadOutcome outcome = LoadReported();
  if (outcome == LoadOutcome::kFailed) outcome = LoadInsteadOf(failed);
  // No town loads: a new base is the one way on.
  if (outcome == LoadOutcome::kFailed && offer_new_base && offer_new_base()) {
    SelectCurrentEntry();
    outcome = LoadReported();
  }
  if (outcome == LoadOutcome::kFailed) return NoBaseAtAll();
  return outcome;
}

LoadOutcome Shell::LoadInsteadOf(const std::string& failed) {
  for (const std::string& base : FallbackBases(failed)) {
    CurrentBase = base;
    SelectCurrentEntry();
    const LoadOutcome outcome = LoadReported();
    if (outcome != LoadOutcome::kFailed) return outcome;
  }
  return LoadOutcome::kFailed;
}

LoadOutcome Shell::NoBaseAtAll() {
  boxes_->Show(MessageKind::kError, NoBaseMessage());
  return LoadOutcome::kFatal;
}

std::vector<std::string> Shell::FallbackBases(const std::string& failed) const {
  std::vector<std::string> bases;
  const auto add = [&](const std::string& base) {
    if (base.empty() || base == failed ||
        std::find(bases.begin(), bases.end(), base) != bases.end() ||
        !files_->FindBaseFile(PathOf(base)).has_value()) {
      return;
    }
    bases.push_back(base);
  };
  add(PreviousBase);
  for (const std::string& entry : towns.entries()) add(TownToBaseName(entry));
  return bases;
}

bool Shell::BaseExists(const std::string& name) {
  return !name.empty() && files_->FindBaseFile(PathOf(name)).has_value();
}

int Shell::SelectCurrentEntry() {
  int i = towns.Find(BaseToTownName(CurrentBase));
  if (i >= 0) selected = i;
  return i;
}

bool Shell::MissingBaseStep() {
  if (BaseExists(CurrentBase)) return true;
  if (offer_new_base) offer_new_base();
  if (!BaseExists(CurrentBase)) CurrentBase = PreviousBase;
  // Without a base to go back to, the first town whose file is there.
  if (!BaseExists(CurrentBase)) {
    for (const std::string& entry : towns.entries()) {
      std::string name = TownToBaseName(entry);
      if (BaseExists(name)) {
        CurrentBase = name;
        break;
      }
    }
  }
  if (towns.empty() || !BaseExists(CurrentBase)) {
    NoBaseAtAll();
    return false;
  }
  SelectCurrentEntry();
  return true;
}

LoadOutcome Shell::LoadBase() {
  if (!MissingBaseStep()) return LoadOutcome::kFatal;
  std::string found = *files_->FindBaseFile(PathOf(CurrentBase));
  // The file by its real name; a base of the working folder by name alone.
  std::string file_name =
      JoinPath(FolderPart(CurrentBase), FileNamePart(found));

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
  if (status.ok()) store = std::move(loaded);
  if (!status.ok()) {
    const BaseMessage message =
        StatusMessage(status, BaseAction::kLoading, PathOf(file_name));
    boxes_->Show(message.kind, message.text);
    if (message.fatal) return LoadOutcome::kFatal;
    // The store was not touched: it still belongs to the base loaded before.
    if (base_loaded) {
      CurrentBase = loaded_base;
      SelectCurrentEntry();
    }
    return LoadOutcome::kFailed;
  }
  BaseFileName = file_name;
  std::string note = ChangeSectionMessage(changes, BaseFileName);
  if (!note.empty()) boxes_->Show(MessageKind::kInformation, note);

  BaseFolder = FolderPart(BaseFileName);
  BaseReadOnly =
      !Probe(BaseFolder.empty() ? WorkingFolder : PathOf(BaseFolder));
  base_loaded = true;
  loaded_base = CurrentBase;
  return LoadOutcome::kLoaded;
}

bool Shell::ReadDisplaySettings(Rgb button_face) {
  bool universal = settings.UniversalMode();
  stripes.StripesOn = false;
  stripes.SetStripeContrast(button_face, settings.Contrast());
  if (stripes.Offered()) stripes.StripesOn = settings.StripesOn();
  return universal;
}

bool Shell::StoreSettingsAndAsk(bool universal_mode, bool unsaved_changes) {
  settings.SetUniversalMode(universal_mode);
  if (stripes.Offered()) {
    settings.SetStripesOn(stripes.StripesOn);
    settings.SetContrast(stripes.ContrastLevel());
  }
  settings.SetLastBase(CurrentBase);
  return unsaved_changes && boxes_->Ask("Сохранить изменения базы?");
}

bool Shell::SaveChanges() {
  Status status;
  try {
    runner_->Run([&] {
      status = spravka::SaveChanges(PathOf(BaseFileName), store, *fs_);
    });
  } catch (...) {
    // Compression or memory failing: the same outcome as a failed write.
    status = Status::Unexpected(ThrownErrorText());
  }
  if (!status.ok()) ReportFailure(status);
  return status.ok();
}

bool Shell::SaveColumnWidths(const std::array<int32_t, kHomeKinds>& home,
                             const std::array<int32_t, kOrgKinds>& org) {
  Status status;
  try {
    status = spravka::SaveColumnWidths(PathOf(BaseFileName), home, org, &store,
                                       *fs_);
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  if (!status.ok()) ReportFailure(status);
  return status.ok();
}

Status Shell::Optimise(const std::array<int32_t, kHomeKinds>& home,
                       const std::array<int32_t, kOrgKinds>& org,
                       const std::function<void()>& home_written,
                       OptimiseReport* report) {
  try {
    Status status;
    runner_->Run([&] {
      status = OptimiseBase(
          PathOf(BaseFileName), store, home, org, NewBaseStamp(), report, *fs_,
          [&] { runner_->OnWindowThread(home_written); });
    });
    return status;
  } catch (...) {
    return Status::Unexpected(ThrownErrorText());
  }
}

bool Shell::RestoreBase() {
  Status status;
  try {
    runner_->Run(
        [&] { status = RestoreBasePart(PathOf(BaseFileName), *fs_); });
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  if (!status.ok()) ReportFailure(status);
  return status.ok();
}

void Shell::ReportFailure(const Status& status) {
  const BaseMessage message =
      StatusMessage(status, BaseAction::kWriting, PathOf(BaseFileName));
  boxes_->Show(message.kind, message.text);
}

void Shell::SwitchTo(const std::string& entry, int index) {
  PreviousBase = CurrentBase;
  CurrentBase = TownToBaseName(entry);
  selected = index;
}

void Shell::BackToLoadedBase() {
  if (base_loaded) CurrentBase = loaded_base;
  SelectCurrentEntry();
}

}  // namespace spravka
