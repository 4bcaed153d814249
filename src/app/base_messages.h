// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_BASE_MESSAGES_H_
#define SPRAVKA_APP_BASE_MESSAGES_H_

#include <string>
#include <vector>

#include "editing/carry_edits.h"
#include "storage/record_store.h"
#include "storage/status.h"

namespace spravka {

// The program's messages about a base (UTF-8; line breaks as "\r\n").
inline constexpr char kSiteAddress[] = "http://spravka.example.org";
inline constexpr char kDamagedHeaderText[] =
    "Поврежден заголовок.\r\nРабота не возможна.";
inline constexpr char kDamagedHeaderSaveText[] =
    "Поврежден заголовок.\r\nСохранение не возможно.";
inline constexpr char kUnsupportedFormatText[] =
    "Неподдерживаемый формат базы.\r\nНовая весия программы на: \r\n";
inline constexpr char kDamagedBaseText[] =
    "Невозможно загрузить базу\r\nПрограмма повреждена!";

// The question before a base is reset to its clean state; `base` is
// the current base.
inline std::string RestoreQuestion(const std::string& base) {
  return "Вы Действительно хотите восстановить\r\n  исходное систояние базы "
         "\"" +
         base +
         ".qz\" ?\r\n (все изменения базы пользователем \r\n"
         "  после оптимизации будут анулированы)";
}

// The two figures of the confirmation: how much faster the base will load
// and how much less memory it will take, as the question shows them ("  2",
// " 1.1"). `records` counts both tables, `changes` both change lists.
struct OptimiseEstimates {
  std::string speed;
  std::string memory;
};
OptimiseEstimates EstimateOptimisation(size_t records, size_t changes);

// The whole question text (UTF-8). `base_name` is the current base.
std::string OptimiseQuestion(const std::string& base_name,
                             const OptimiseEstimates& estimates);

// What optimisation reports when it is done.
inline std::string OptimisedMessage(size_t home_records, size_t org_records) {
  return "База Оптимизирована.\r\n" + std::to_string(home_records) +
         " квартирных телефонов и\r\n" + std::to_string(org_records) +
         " телефонов организаций.";
}

// The kind of box a message goes in.
enum class MessageKind { kWarning, kError, kInformation, kConfirmation };

struct BaseMessage {
  MessageKind kind;
  std::string text;
  bool fatal;       // the program ends after it
  bool names_file;  // the text names the file itself
};

// What the user was doing when a failure came back: a damaged header ends
// the program when a base loads, and only stops a write.
enum class BaseAction { kLoading, kWriting };

// The one place where the user's message for a failed operation is built
// from its Status, for the window and the CLI alike. `file` is the file
// the user knows: the base (its full path, or as the user named it), never
// a temporary file or backup beside it.
BaseMessage StatusMessage(const Status& status, BaseAction action,
                          const std::string& file);

// Why a file operation failed, for the message about `file`: Russian for
// every error number the program's file operations can meet (and its
// number for one it cannot), never the system's own text for an error
// number. A failure on another file than `file` (a temporary file beside
// it) is put down to its folder. The message about a failure on the
// base's backup or lock file names that file instead of the base.
std::string FileErrorReason(const Status& status, const std::string& file);

// The error numbers FileErrorReason has a text of its own for, besides the
// permission and missing-file ones.
std::vector<int> ErrorNumbersWithText();

// What does not hold in a base file (kDamagedLayout, kRebuiltUnreadable).
std::string BaseProblemText(const Status& status);

// What a window says when the base it opens is open in another window.
inline std::string OpenElsewhereMessage(const std::string& file) {
  return "База " + file +
         " уже открыта в другом окне.\r\n"
         "Здесь она открыта только для чтения.";
}

// What a window says when something would write a base it only reads.
inline std::string ReadOnlyBaseMessage(const std::string& file) {
  return "База " + file +
         " открыта только для чтения.\r\nИзменения в неё не записываются.";
}

// The message about the change section after a successful load, if any.
inline std::string ChangeSectionMessage(ChangeSectionStatus status,
                                        const std::string& file_name) {
  switch (status) {
    case ChangeSectionStatus::kForeignStamp:
      return "Файл - " + file_name +
             " -Несоответствие версии.\r\nРаботает исходный вариант базы.";
    case ChangeSectionStatus::kDamaged:
      return "Файл - " + file_name +
             " поврежден.\r\nРаботает исходный вариант базы.";
    default:
      return "";
  }
}

// When a save is refused because another program changed the base `file`
// after it was loaded: the offer to load it again and carry the window's
// unsaved edits into it. No keeps the window as it is.
std::string CarryOfferQuestion(const std::string& file);

// The new base did not load: why (as a load reports it, never fatal
// here), and that the window kept its base and its edits.
BaseMessage CarryLoadFailedMessage(const Status& status,
                                   const std::string& file);

// What carrying the edits into `file` did: counts of what was carried as
// made, and the records added as new or not carried (the first few of
// each, then how many more), with what became of them.
std::string CarryReportText(const CarryReport& report, const std::string& file);

// Whether to save the unsaved changes.
inline constexpr char kSaveChangesQuestion[] = "Сохранить изменения базы?";

// The report followed by the question whether to save (when something
// was carried).
std::string CarriedSaveQuestion(const CarryReport& report,
                                const std::string& file);

// The report followed by the question whether to take the new base
// although the edits it could not take are lost. No keeps the window as
// it is.
std::string CarryLossQuestion(const CarryReport& report,
                              const std::string& file);

// The record lists of the report show at most this many records each.
inline constexpr size_t kReportedRecordsShown = 10;

}  // namespace spravka

#endif  // SPRAVKA_APP_BASE_MESSAGES_H_
