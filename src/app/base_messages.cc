#include "app/base_messages.h"

#include <cerrno>
#include <cstring>

namespace spravka {
namespace {

std::string ProblemTableName(ProblemTable table) {
  switch (table) {
    case ProblemTable::kHome:
      return "таблица квартирных телефонов: ";
    case ProblemTable::kOrg:
      return "таблица телефонов организаций: ";
    case ProblemTable::kNone:
      break;
  }
  return "";
}

}  // namespace

std::string FileErrorReason(const Status& status, const std::string& file) {
  const int error = status.error_number();
  if (error == 0) return status.system_text();
  return std::strerror(error);
}

std::string BaseProblemText(const Status& status) {
  const std::string table = ProblemTableName(status.problem_table());
  switch (status.problem()) {
    case BaseProblem::kShorterThanHeader:
      return "файл короче заголовка базы";
    case BaseProblem::kLengthPastEnd:
      return "длина основной части базы указывает за конец файла";
    case BaseProblem::kHeaderOutsideBasePart:
      return "положение заголовка указывает за пределы основной части";
    case BaseProblem::kBytesAfterBasePart:
      return "за основной частью есть лишние байты";
    case BaseProblem::kUnreadableHeader:
      return "заголовок не читается";
    case BaseProblem::kStampDiffers:
      return "отметка сборки не та, что записана";
    case BaseProblem::kSectionLengths:
      return table + "длины раздела не согласуются";
    case BaseProblem::kSectionInflates:
      return table + "сжатый текст не даёт " + std::to_string(status.figure()) +
             " байт";
    case BaseProblem::kSectionRecords:
      return table + "запись длиннее " + std::to_string(kMaxRecordLength) +
             " байт, без конца или сверх " + std::to_string(kMaxRecordNumber) +
             " записей";
    case BaseProblem::kRecordCount:
      return table + "записей " + std::to_string(status.figure()) + " вместо " +
             std::to_string(status.expected());
    case BaseProblem::kBytesAfterTables:
      return "за таблицами есть лишние байты";
    case BaseProblem::kNone:
      break;
  }
  return "";
}

BaseMessage StatusMessage(const Status& status, BaseAction action,
                          const std::string& file) {
  const bool loading = action == BaseAction::kLoading;
  switch (status.code()) {
    case StatusCode::kOk:
      break;
    case StatusCode::kIoError: {
      std::string text;
      switch (status.operation()) {
        case FileOperation::kListFolder:
          text = "Не удалось прочитать папку ";
          break;
        case FileOperation::kRead:
          text = "Не удалось прочитать файл ";
          break;
        case FileOperation::kWrite:
          text = "Не удалось записать файл ";
          break;
        case FileOperation::kRename:
          text = "Не удалось переименовать файл ";
          break;
        case FileOperation::kRemove:
          text = "Не удалось удалить файл ";
          break;
      }
      text += status.path() + ": " + FileErrorReason(status, file);
      if (!status.base_moved_to().empty()) {
        text += "\r\nБаза теперь в файле " + status.base_moved_to();
      }
      return {MessageKind::kError, text, false, true};
    }
    case StatusCode::kDamagedLayout:
      return {MessageKind::kError,
              "Ошибка чтения файла " + file + ": " + BaseProblemText(status),
              false, true};
    case StatusCode::kDamagedHeader:
      return {MessageKind::kError,
              loading ? kDamagedHeaderText : kDamagedHeaderSaveText, loading,
              false};
    case StatusCode::kUnsupportedFormat:
      return {MessageKind::kError,
              std::string(kUnsupportedFormatText) + kSiteAddress, loading,
              false};
    case StatusCode::kDamagedBase:
      return {MessageKind::kInformation, kDamagedBaseText, loading, false};
    case StatusCode::kRebuiltUnreadable:
      return {MessageKind::kError,
              "Перестроенная база не читается (" + BaseProblemText(status) +
                  "); файлы не изменены.",
              false, false};
    case StatusCode::kUnexpected:
      return {MessageKind::kError, status.system_text(), false, false};
  }
  return {MessageKind::kInformation, "", false, false};
}

}  // namespace spravka
