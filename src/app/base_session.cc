// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/base_session.h"

#include "app/base_messages.h"
#include "storage/cp1251.h"
#include "util/paths.h"
#include "util/thrown_error.h"

namespace spravka {

std::string NoBaseMessage() {
  return std::string(
             "Для работы программы\r\nсоздайте базу пользователя.\r\n"
             "или загрузите готовые с сайта\r\n") +
         kSiteAddress;
}

BaseSession::BaseSession(FileChecks* files, SettingsStore* settings_store,
                         MessageBoxes* boxes, NearestColour nearest,
                         FileSystem* fs)
    : boxes_(boxes),
      fs_(fs != nullptr ? fs : &RealFileSystem()),
      settings_(settings_store),
      stripes_(std::move(nearest)),
      navigation_(files, boxes),
      base_(fs_, boxes, &gate_) {}

void BaseSession::RunFileWorkWith(WorkRunner* runner) {
  runner_ = runner;
  base_.RunFileWorkWith(runner);
}

void BaseSession::Start(const std::string& working_folder,
                        const std::string& program_path,
                        const std::vector<std::string>& args) {
  navigation_.Start(working_folder, program_path, args, settings_.LastBase());
}

bool BaseSession::CreateNewBase(
    const NewBaseParams& params,
    const std::optional<std::string>& base_template) {
  const std::string& folder = navigation_.working_folder();
  CreatedBase made;
  Status status;
  FileWorkGate::Work work = gate_.Begin();
  try {
    runner_->Run([&] {
      status = CreateBase(params, base_template, folder, *fs_, &made);
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
        NewBasePath(folder, Cp1251ToUtf8(NewBaseName(params.name)));
    boxes_->Show(MessageKind::kError,
                 StatusMessage(status, BaseAction::kWriting, file).text);
    return false;
  }
  if (!made.created) return false;
  navigation_.TakeNewBase(made.name);
  return true;
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
  const std::optional<std::string> failed = navigation_.current_base();
  LoadOutcome outcome = LoadReported();
  if (outcome == LoadOutcome::kFailed) outcome = LoadInsteadOf(failed);
  if (outcome == LoadOutcome::kFailed) return NoBaseAtAll();
  return outcome;
}

LoadOutcome BaseSession::LoadAtStart() {
  const std::optional<std::string> failed = navigation_.current_base();
  LoadOutcome outcome = LoadReported();
  if (outcome == LoadOutcome::kFailed) outcome = LoadInsteadOf(failed);
  // No town loads: a new base is the one way on.
  if (outcome == LoadOutcome::kFailed && offer_new_base_ && offer_new_base_()) {
    navigation_.SelectCurrentEntry();
    outcome = LoadReported();
  }
  if (outcome == LoadOutcome::kFailed) return NoBaseAtAll();
  return outcome;
}

LoadOutcome BaseSession::LoadInsteadOf(
    const std::optional<std::string>& failed) {
  for (const std::string& base : navigation_.FallbackBases(failed)) {
    navigation_.GoTo(base);
    const LoadOutcome outcome = LoadReported();
    if (outcome != LoadOutcome::kFailed) return outcome;
  }
  return LoadOutcome::kFailed;
}

LoadOutcome BaseSession::NoBaseAtAll() {
  boxes_->Show(MessageKind::kError, NoBaseMessage());
  return LoadOutcome::kFatal;
}

bool BaseSession::MissingBaseStep() {
  if (navigation_.BaseExists(navigation_.current_base())) return true;
  if (offer_new_base_) offer_new_base_();
  if (!navigation_.FallBackToExistingBase()) {
    NoBaseAtAll();
    return false;
  }
  return true;
}

LoadOutcome BaseSession::LoadBase() {
  if (!MissingBaseStep()) return LoadOutcome::kFatal;
  const std::string current = *navigation_.current_base();
  const std::string file_name = *navigation_.CurrentBaseFile();
  const std::string path = navigation_.PathOf(file_name);
  const BaseLoad load = base_.Load(current, file_name, path);
  // In the order of loading: the base's titles, the message about its change
  // section, then the one about a base part that does not load.
  if (load.header && show_titles_) show_titles_(*load.header);
  const std::string note = ChangeSectionMessage(load.changes, file_name);
  if (!note.empty()) boxes_->Show(MessageKind::kInformation, note);
  if (!load.status.ok()) {
    const BaseMessage message =
        StatusMessage(load.status, BaseAction::kLoading, path);
    boxes_->Show(message.kind, message.text);
    if (message.fatal) return LoadOutcome::kFatal;
    // The store was not touched: it still belongs to the base loaded before.
    if (base_.loaded()) navigation_.GoTo(base_.base_name());
    return LoadOutcome::kFailed;
  }

  const std::string base_folder = FolderPart(file_name);
  const bool writable = navigation_.FolderWritable(
      base_folder.empty() ? navigation_.working_folder()
                          : navigation_.PathOf(base_folder));
  if (base_.MarkOpen(writable))
    boxes_->Show(MessageKind::kWarning, OpenElsewhereMessage(path));
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
  settings_.SetLastBase(navigation_.current_base().value_or(""));
  if (base_.modified() && boxes_->Ask("Сохранить изменения базы?") && !save()) {
    return false;
  }
  base_.MarkSaved();
  return true;
}

void BaseSession::BackToLoadedBase() {
  if (base_.loaded()) {
    navigation_.GoTo(base_.base_name());
  } else {
    navigation_.SelectCurrentEntry();
  }
}

}  // namespace spravka
