// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/base_loading.h"

#include <cstdio>
#include <utility>

#include "cli/console.h"

namespace spravka::cli {
namespace {

bool Report(const std::string& path, const Status& status,
            ChangeSectionStatus changes) {
  if (!status.ok()) {
    FailWith(status, BaseAction::kLoading, path);
    return false;
  }
  const std::string note = ChangeSectionMessage(changes, path);
  if (!note.empty()) Warn(note);
  return true;
}

}  // namespace

int FailWith(const Status& status, BaseAction action, const std::string& path) {
  const BaseMessage message = StatusMessage(status, action, path);
  Fail(message.names_file ? message.text : path + ": " + message.text);
  return status.code() == StatusCode::kOpenInWindow ? kExitOpenInWindow
                                                    : kExitFailure;
}

int FailWithLeave(const Status& status, const std::string& path) {
  const int code = FailWith(status, BaseAction::kWriting, path);
  if (status.code() == StatusCode::kOpenInWindow) {
    std::fputs("Не закрывая окна: та же команда с --force.\n", stderr);
  }
  return code;
}

bool LoadForCommand(const std::string& path, RecordStore* store) {
  ChangeSectionStatus section = ChangeSectionStatus::kAbsent;
  const Status status = LoadBase(path, store, RealFileSystem(), &section);
  return Report(path, status, section);
}

bool LoadBytesForCommand(const std::string& path, std::string bytes,
                         RecordStore* store) {
  ChangeSectionStatus section = ChangeSectionStatus::kAbsent;
  const Status status = LoadBaseFromBytes(std::move(bytes), store, &section);
  return Report(path, status, section);
}

bool ReadBaseFileForCommand(const std::string& path, BaseFile* base) {
  Status status =
      ReadBaseFile(path, BaseFileAccess::kRead, RealFileSystem(), base);
  if (status.ok() && !base->header.TagsAgree()) {
    status = Status::Damaged(StatusCode::kDamagedHeader);
  }
  if (!status.ok()) {
    FailWith(status, BaseAction::kLoading, path);
    return false;
  }
  return true;
}

}  // namespace spravka::cli
