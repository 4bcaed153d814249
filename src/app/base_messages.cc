// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/base_messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/cp1251.h"
#include "util/paths.h"

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

// The folder `file` lies in, as a reason names it.
std::string InFolder(const std::string& file) {
  const std::string folder = FolderPart(file);
  return folder.empty() ? "в текущую папку" : "в папку " + folder;
}

std::string FolderMissing(const std::string& file) {
  const std::string folder = FolderPart(file);
  return folder.empty() ? "текущая папка не найдена"
                        : "папка " + folder + " не найдена";
}

// Rounds numerator/denominator * scale to the nearest integer, halves up,
// in exact integer arithmetic.
uint64_t RoundedRatio(uint64_t numerator, uint64_t denominator,
                      uint64_t scale) {
  return (2 * numerator * scale + denominator) / (2 * denominator);
}

std::string RightAligned(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string OneDecimal(uint64_t tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// A record as a report lists it: its table, then its fields that are not
// empty, joined by commas.
std::string RecordLine(const ReportedRecord& record) {
  std::string fields;
  size_t start = 0;
  const std::string& text = record.text;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x20) {
      continue;
    }
    if (i > start) {
      if (!fields.empty()) fields += ", ";
      fields += Cp1251ToUtf8(std::string_view(text).substr(start, i - start));
    }
    start = i + 1;
  }
  if (fields.empty()) fields = "(пустая запись)";
  return (record.table == TableId::kHome ? "квартирные: " : "организации: ") +
         fields;
}

std::string NotCarriedLine(const ReportedRecord& record) {
  const char* what = record.kind == EditKind::kEdited    ? "изменение"
                     : record.kind == EditKind::kDeleted ? "удаление"
                                                         : "добавление";
  const char* why = "";
  switch (record.reason) {
    case NotCarriedReason::kRecordGone:
      why = "записи в базе уже нет";
      break;
    case NotCarriedReason::kFieldsDiffer:
      why = "у таблицы в базе теперь другие поля";
      break;
    case NotCarriedReason::kNoNumber:
      why = "в таблице нет номера для новой записи";
      break;
  }
  return RecordLine(record) + " (" + what + ": " + why + ")";
}

// Up to kReportedRecordsShown lines, each on its own indented line, then
// how many more there are.
template <typename Line>
std::string RecordLines(const std::vector<ReportedRecord>& records, Line line) {
  std::string text;
  const size_t shown = std::min(records.size(), kReportedRecordsShown);
  for (size_t i = 0; i < shown; ++i) text += "\r\n   " + line(records[i]);
  if (records.size() > shown) {
    text += "\r\n   и ещё " + std::to_string(records.size() - shown);
  }
  return text;
}

}  // namespace

std::string CarryOfferQuestion(const std::string& file) {
  return "База " + file +
         " изменена другой программой после загрузки,\r\n"
         "и несохранённые изменения в неё не записаны.\r\n"
         "Загрузить базу заново и перенести в неё несохранённые "
         "изменения окна?\r\n"
         "(Нет - изменения останутся в окне несохранёнными.)";
}

BaseMessage CarryLoadFailedMessage(const Status& status,
                                   const std::string& file) {
  BaseMessage message = StatusMessage(status, BaseAction::kLoading, file);
  message.fatal = false;
  if (!message.names_file) message.text += "\r\nБаза: " + file;
  message.text +=
      "\r\nБаза не загружена заново; несохранённые изменения остались в "
      "окне.";
  message.names_file = true;
  return message;
}

std::string CarryReportText(const CarryReport& report,
                            const std::string& file) {
  if (report.carried() == 0 && report.not_carried.empty()) {
    return "База " + file +
           " загружена в новом виде.\r\nНесохранённых изменений, которые "
           "отличали бы окно от базы, не было.";
  }
  std::string text;
  if (report.carried() == 0) {
    text = "В базу " + file +
           " в её новом виде не перенесено ни одно изменение окна.";
  } else {
    text = "Несохранённые изменения окна перенесены в базу " + file +
           " в её новом виде:";
    if (report.edited > 0) {
      text += "\r\n   изменено записей: " + std::to_string(report.edited);
    }
    if (report.deleted > 0) {
      text += "\r\n   удалено записей: " + std::to_string(report.deleted);
    }
    if (report.added > 0) {
      text += "\r\n   добавлено записей: " + std::to_string(report.added);
    }
  }
  if (!report.added_as_new.empty()) {
    text +=
        "\r\nИзменённые в окне записи, которых в базе в прежнем виде "
        "уже нет, добавлены как новые: " +
        std::to_string(report.added_as_new.size()) +
        RecordLines(report.added_as_new, RecordLine);
  }
  if (!report.not_carried.empty()) {
    text += "\r\nНе перенесено изменений: " +
            std::to_string(report.not_carried.size()) +
            RecordLines(report.not_carried, NotCarriedLine);
  }
  return text;
}

std::string CarriedSaveQuestion(const CarryReport& report,
                                const std::string& file) {
  return CarryReportText(report, file) + "\r\n\r\n" + kSaveChangesQuestion;
}

std::string CarryLossQuestion(const CarryReport& report,
                              const std::string& file) {
  return CarryReportText(report, file) +
         "\r\n\r\nЕсли взять базу в новом виде, не перенесённые изменения "
         "будут потеряны.\r\nВзять её?\r\n"
         "(Нет - окно останется с прежней базой и всеми несохранёнными "
         "изменениями.)";
}

// The load-time estimate counts each change entry as this many records.
constexpr uint64_t kChangeLoadWeight = 11;

OptimiseEstimates EstimateOptimisation(size_t records, size_t changes) {
  // With no records there is nothing to speed up: both figures are 1.
  const uint64_t n = std::max<uint64_t>(records, 1);
  const uint64_t c = records == 0 ? 0 : changes;
  const uint64_t speed_numerator = n + kChangeLoadWeight * c;
  OptimiseEstimates estimates;
  if (speed_numerator >= 2 * n) {
    estimates.speed =
        RightAligned(std::to_string(RoundedRatio(speed_numerator, n, 1)), 3);
  } else {
    estimates.speed =
        RightAligned(OneDecimal(RoundedRatio(speed_numerator, n, 10)), 4);
  }
  estimates.memory = RightAligned(OneDecimal(RoundedRatio(n + c, n, 10)), 4);
  return estimates;
}

std::string OptimiseQuestion(const std::string& base_name,
                             const OptimiseEstimates& estimates) {
  return "Вы Действительно хотите выполнить\r\n  оптимизацию базы \"" +
         base_name +
         ".qz\" ?\r\n (все изменения базы пользователем \r\n"
         "  после оптимизации будут зафиксированы)\r\n"
         " По грубой оценке скорость загрузки базы\r\n возрастет в " +
         estimates.speed + " раз, при работе про-\r\n грамме понадобится в" +
         estimates.memory + " раза меньше\r\n памяти.";
}

namespace {

// The Russian text of each error number a file operation of the program
// can meet, where it says the same whatever the operation; permissions and
// missing files say more and are told apart below. Never the system's own
// text, which is in English on many systems.
struct ErrorText {
  int error;
  const char* text;
};
constexpr ErrorText kErrorTexts[] = {
    {ENOSPC, "на диске нет места"},
#ifdef EDQUOT
    {EDQUOT, "на диске нет места, отведённого пользователю"},
#endif
    {EROFS, "диск доступен только для чтения"},
    {EBUSY, "файл занят другой программой"},
#ifdef ETXTBSY
    {ETXTBSY, "файл занят другой программой"},
#endif
    {EAGAIN, "файл заблокирован другой программой"},
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
    {EWOULDBLOCK, "файл заблокирован другой программой"},
#endif
    {ENAMETOOLONG, "слишком длинное имя файла"},
    {EISDIR, "это папка, а не файл"},
    {ENOTEMPTY, "это папка, а не файл"},
    {EEXIST, "файл уже есть"},
    {EFBIG, "файл больше, чем позволяют диск или ограничения системы"},
#ifdef EOVERFLOW
    {EOVERFLOW, "файл слишком велик"},
#endif
#ifdef ELOOP
    {ELOOP, "символические ссылки ведут по кругу или их слишком много"},
#endif
    {EMLINK, "у файла слишком много ссылок"},
    {EXDEV, "файлы лежат на разных дисках"},
    {EIO, "ошибка ввода-вывода: диск неисправен или отключён"},
    {ENXIO, "устройство недоступно"},
    {ENODEV, "устройство недоступно"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "открыто слишком много файлов"},
    {ENOMEM, "не хватает памяти"},
    {ENOLCK, "система не даёт заблокировать файл"},
    {EINTR, "операция прервана"},
    {EINVAL, "диск или система не позволяют эту операцию"},
    {ENOSYS, "система не умеет выполнить эту операцию"},
#ifdef ENOTSUP
    {ENOTSUP, "диск не поддерживает эту операцию"},
#endif
#if defined(EOPNOTSUPP) && (!defined(ENOTSUP) || EOPNOTSUPP != ENOTSUP)
    {EOPNOTSUPP, "диск не поддерживает эту операцию"},
#endif
#ifdef ESTALE
    {ESTALE, "файл на сетевом диске больше недоступен"},
#endif
#ifdef ETIMEDOUT
    {ETIMEDOUT, "диск не ответил вовремя"},
#endif
#ifdef ENOTCONN
    {ENOTCONN, "нет связи с сетевым диском"},
#endif
#ifdef ENETDOWN
    {ENETDOWN, "нет связи с сетевым диском"},
#endif
#ifdef ENETUNREACH
    {ENETUNREACH, "нет связи с сетевым диском"},
#endif
#ifdef EHOSTUNREACH
    {EHOSTUNREACH, "нет связи с сетевым диском"},
#endif
#ifdef ECONNRESET
    {ECONNRESET, "нет связи с сетевым диском"},
#endif
#ifdef ECONNABORTED
    {ECONNABORTED, "нет связи с сетевым диском"},
#endif
    {EBADF, "файл не открыт (ошибка программы)"},
    {EFAULT, "неверный адрес в памяти (ошибка программы)"},
    {EDEADLK, "блокировка файла привела бы к взаимному ожиданию"},
    {ESPIPE, "это канал, а не файл"},
    {EPIPE, "канал закрыт читающей стороной"},
};

}  // namespace

std::vector<int> ErrorNumbersWithText() {
  std::vector<int> numbers;
  for (const ErrorText& entry : kErrorTexts) numbers.push_back(entry.error);
  return numbers;
}

std::string FileErrorReason(const Status& status, const std::string& file) {
  const int error = status.error_number();
  if (error == 0) return status.system_text();
  const bool listing = status.operation() == FileOperation::kListFolder;
  const bool reading = listing || status.operation() == FileOperation::kRead;
  // A writer makes its new file beside the base and renames it into
  // place: a failure on any file but the named one is the folder's.
  const bool beside = status.path() != file;
  switch (error) {
    case EACCES:
    case EPERM:
      if (reading) return "нет прав на чтение";
      return beside ? "нет прав на запись " + InFolder(file)
                    : "нет прав на запись";
    case ENOENT:
    case ENOTDIR:
      if (listing) return "папка не найдена";
      if (reading && !beside) return "файл не найден";
      return FolderMissing(file);
    default:
      break;
  }
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.error == error) return entry.text;
  }
  return "ошибка системы номер " + std::to_string(error);
}

namespace {

// Whether a failed operation's file is one the user may see beside the
// base, and so the one the message names: the backup, or the lock file.
// (Temporary files are the writer's own business: their failures are put
// down to the base and its folder.)
bool IsBackupOrLockFile(const std::string& path) {
  const std::string name = FileNamePart(path);
  return name.ends_with(".~qz") ||
         (name.starts_with(".") && name.ends_with(".lock"));
}

}  // namespace

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
      // The file the user knows, never a temporary file beside it.
      std::string text;
      switch (status.operation()) {
        case FileOperation::kListFolder:
          text = "Не удалось прочитать папку ";
          break;
        case FileOperation::kRead:
          text = "Не удалось прочитать файл ";
          break;
        case FileOperation::kWrite:
        case FileOperation::kRename:
        case FileOperation::kRemove:
          text = "Не удалось записать файл ";
          break;
      }
      const std::string& about =
          IsBackupOrLockFile(status.path()) ? status.path() : file;
      text += about + ": " + FileErrorReason(status, about);
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
    case StatusCode::kBaseLocked:
      return {MessageKind::kError,
              "База " + file +
                  " сейчас записывается другой программой.\r\n"
                  "Ничего не изменено; повторите позже.",
              false, true};
    case StatusCode::kBaseChanged:
      return {MessageKind::kError,
              "База " + file +
                  " изменена другой программой после загрузки.\r\n"
                  "Ничего не записано; несохранённые изменения остались "
                  "в окне.",
              false, true};
    case StatusCode::kBasePartUnloadable:
      return {MessageKind::kError,
              "Исходное состояние базы " + file +
                  " не загружается без раздела изменений.\r\n"
                  "База не изменена.",
              false, true};
    case StatusCode::kOpenInWindow:
      return {MessageKind::kError,
              "База " + file +
                  " открыта в окне программы.\r\n"
                  "Ничего не изменено: закройте её в окне и повторите.",
              false, true};
    case StatusCode::kNoOriginState:
      return {MessageKind::kError,
              "У базы " + file +
                  " нет исходного состояния (OriginTag пуст), её изменения "
                  "не отбрасываются.",
              false, true};
    case StatusCode::kNotRegularFile:
      return {MessageKind::kError,
              file +
                  " - не обычный файл (канал, устройство или папка).\r\n"
                  "Базой может быть только обычный файл.",
              false, true};
  }
  return {MessageKind::kInformation, "", false, false};
}

}  // namespace spravka
