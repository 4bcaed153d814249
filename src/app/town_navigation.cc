// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/town_navigation.h"

#include <algorithm>

#include "app/base_messages.h"
#include "app/town_names.h"
#include "util/paths.h"

namespace spravka {
namespace {

// A base name; none for an empty one, which names no base.
std::optional<std::string> NameOrNone(std::string name) {
  if (name.empty()) return std::nullopt;
  return name;
}

}  // namespace

TownNavigation::TownNavigation(FileChecks* files, MessageBoxes* boxes)
    : files_(files), boxes_(boxes) {}

std::string TownNavigation::PathOf(const std::string& name) const {
  return AbsolutePathFrom(working_folder_, name);
}

bool TownNavigation::FolderWritable(const std::string& folder) {
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

void TownNavigation::Start(const std::string& working_folder,
                           const std::string& program_path,
                           const std::vector<std::string>& args,
                           const std::string& last_base) {
  working_folder_ = working_folder;
  program_folder_ = FolderPart(program_path);
  folder_read_only_ = !FolderWritable(working_folder_);
  previous_base_.reset();
  current_base_ = NameOrNone(last_base);
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
    current_base_ =
        towns_.empty() ? std::nullopt : NameOrNone(TownToBaseName(towns_[0]));
  }
}

std::optional<std::string> TownNavigation::BaseOfFile(std::string s) {
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

void TownNavigation::ApplyCommandLine(const std::vector<std::string>& args) {
  if (args.size() != 1) return;
  const std::optional<std::string> base = BaseOfFile(args[0]);
  if (!base) return;
  current_base_ = base;
  const std::string entry = BaseToTownName(*base);
  if (towns_.Find(entry) < 0) towns_.Add(entry);
}

bool TownNavigation::TakeDroppedFile(const std::string& path) {
  const std::optional<std::string> base = BaseOfFile(path);
  if (!base) return false;
  const std::string entry = BaseToTownName(*base);
  if (towns_.Find(entry) < 0) towns_.Add(entry);
  selected_ = towns_.Find(entry);
  return true;
}

void TownNavigation::TakeNewBase(const std::string& name) {
  current_base_ = NameOrNone(name);
  const std::string entry = BaseToTownName(name);
  if (towns_.Find(entry) < 0) towns_.Add(entry);
}

std::vector<std::string> TownNavigation::FallbackBases(
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

bool TownNavigation::FallBackToExistingBase() {
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
  if (towns_.empty() || !BaseExists(current_base_)) return false;
  SelectCurrentEntry();
  return true;
}

bool TownNavigation::BaseExists(const std::optional<std::string>& name) const {
  return name && files_->FindBaseFile(PathOf(*name)).has_value();
}

std::optional<std::string> TownNavigation::CurrentBaseFile() const {
  if (!current_base_) return std::nullopt;
  const std::optional<std::string> found =
      files_->FindBaseFile(PathOf(*current_base_));
  if (!found) return std::nullopt;
  // The file by its real name; a base of the working folder by name alone.
  return JoinPath(FolderPart(*current_base_), FileNamePart(*found));
}

bool TownNavigation::IsCurrentEntry(const std::string& entry) const {
  return current_base_ && BaseToTownName(*current_base_) == entry;
}

int TownNavigation::SelectCurrentEntry() {
  if (!current_base_) return -1;
  int i = towns_.Find(BaseToTownName(*current_base_));
  if (i >= 0) selected_ = i;
  return i;
}

void TownNavigation::SwitchTo(const std::string& entry, int index) {
  previous_base_ = current_base_;
  current_base_ = NameOrNone(TownToBaseName(entry));
  selected_ = index;
}

void TownNavigation::GoTo(const std::string& base) {
  current_base_ = base;
  SelectCurrentEntry();
}

}  // namespace spravka
