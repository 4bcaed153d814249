#ifndef SPRAVKA_APP_BASE_MESSAGES_H_
#define SPRAVKA_APP_BASE_MESSAGES_H_

#include <string>

#include "storage/record_store.h"

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
// `CurrentBase`.
inline std::string RestoreQuestion(const std::string& base) {
  return "Вы Действительно хотите восстановить\r\n  исходное систояние базы "
         "\"" +
         base +
         ".qz\" ?\r\n (все изменения базы пользователем \r\n"
         "  после оптимизации будут анулированы)";
}

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
  bool fatal;  // the program ends after it
};

// The message for a failed load; `file_name` is `BaseFileName`.
inline BaseMessage LoadFailureMessage(const LoadReport& report,
                                      const std::string& file_name) {
  switch (report.status) {
    case LoadStatus::kDamagedHeader:
      return {MessageKind::kError, kDamagedHeaderText, true};
    case LoadStatus::kUnsupportedFormat:
      return {MessageKind::kError,
              std::string(kUnsupportedFormatText) + kSiteAddress, true};
    case LoadStatus::kDamagedBase:
      return {MessageKind::kInformation, kDamagedBaseText, true};
    case LoadStatus::kIoError:
      return {MessageKind::kError, report.error_text, false};
    case LoadStatus::kOk:
      break;
  }
  return {MessageKind::kInformation, "", false};
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

}  // namespace spravka

#endif  // SPRAVKA_APP_BASE_MESSAGES_H_
