// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/changed_base.h"

#include <algorithm>
#include <utility>

#include "app/base_messages.h"
#include "editing/carry_edits.h"
#include "storage/save.h"
#include "util/thrown_error.h"

namespace spravka {
namespace {

// Edits that the new base cannot take at all, as against deletions of
// records it no longer holds.
bool LosesEdits(const CarryReport& report) {
  return std::any_of(report.not_carried.begin(), report.not_carried.end(),
                     [](const ReportedRecord& record) {
                       return record.reason != NotCarriedReason::kRecordGone;
                     });
}

// Runs `work` through `runner`, an error thrown becoming the status.
template <typename Work>
Status RunReported(WorkRunner& runner, Work work) {
  Status status;
  try {
    runner.Run([&] { status = work(); });
  } catch (...) {
    status = Status::Unexpected(ThrownErrorText());
  }
  return status;
}

}  // namespace

CarryResult OfferToCarryEdits(const std::string& path, const std::string& file,
                              const RecordStore& window, FileSystem& fs,
                              MessageBoxes& boxes, WorkRunner& runner) {
  CarryResult result;
  if (!boxes.Ask(CarryOfferQuestion(file))) return result;

  RecordStore fresh;
  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  CarryReport report;
  Status status =
      RunReported(runner, [&] { return LoadBase(path, &fresh, fs, &changes); });
  if (status.ok()) {
    try {
      report = CarryEdits(window, &fresh);
    } catch (...) {
      status = Status::Unexpected(ThrownErrorText());
    }
  }
  if (!status.ok()) {
    const BaseMessage message = CarryLoadFailedMessage(status, file);
    boxes.Show(message.kind, message.text);
    return result;
  }
  const std::string note = ChangeSectionMessage(changes, file);
  if (!note.empty()) boxes.Show(MessageKind::kInformation, note);

  if (LosesEdits(report) && !boxes.Ask(CarryLossQuestion(report, file))) {
    return result;
  }
  result.outcome = CarryOutcome::kCarriedAndSaved;
  if (report.carried() == 0) {
    // Nothing to save; the report was in the question when edits are lost.
    if (!LosesEdits(report)) {
      boxes.Show(MessageKind::kInformation, CarryReportText(report, file));
    }
  } else if (!boxes.Ask(LosesEdits(report)
                            ? std::string(kSaveChangesQuestion)
                            : CarriedSaveQuestion(report, file))) {
    result.outcome = CarryOutcome::kCarried;
  } else {
    BaseFileId written;
    status = RunReported(
        runner, [&] { return SaveChanges(path, fresh, fs, &written); });
    if (status.ok()) {
      fresh.EditsSaved();
      fresh.loaded_file = written;  // the next save expects the file written
    } else {
      const BaseMessage message =
          StatusMessage(status, BaseAction::kWriting, file);
      boxes.Show(message.kind, message.text);
      result.outcome = CarryOutcome::kCarried;
    }
  }
  result.store = std::move(fresh);
  return result;
}

}  // namespace spravka
