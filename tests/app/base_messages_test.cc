// SPDX-License-Identifier: GPL-3.0-or-later
// The user's messages built from a Status: which box, whether the program
// ends, and the text, as one table.
#include "app/base_messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

namespace spravka {
namespace {

TEST(OptimiseEstimatesTest, FormatsAsTheQuestionShowsThem) {
  struct Case {
    size_t records, changes;
    const char* speed;
    const char* memory;
  };
  for (const Case& c :
       std::vector<Case>{{1000, 100, "  2", " 1.1"},
                         {1000, 50, " 1.6", " 1.1"},
                         {1000, 0, " 1.0", " 1.0"},
                         {10, 30, " 34", " 4.0"},
                         {22, 3, "  3", " 1.1"},  // 2.5 rounds up
                         {0, 2, " 1.0", " 1.0"}}) {
    const OptimiseEstimates e = EstimateOptimisation(c.records, c.changes);
    EXPECT_EQ(e.speed, c.speed) << c.records << "/" << c.changes;
    EXPECT_EQ(e.memory, c.memory) << c.records << "/" << c.changes;
  }
  const std::string question =
      OptimiseQuestion("Town", EstimateOptimisation(1000, 100));
  EXPECT_NE(question.find("оптимизацию базы \"Town.qz\" ?\r\n"),
            std::string::npos);
  EXPECT_NE(question.find(" возрастет в   2 раз, при работе про-\r\n грамме "
                          "понадобится в 1.1 раза меньше\r\n памяти."),
            std::string::npos);
}

TEST(StatusMessageTest, EachCodeGivesItsBoxAndText) {
  const std::string base = "/bases/Город.qz";
  struct Case {
    Status status;
    BaseAction action;
    MessageKind kind;
    bool fatal;
    std::string text;
  };
  const Case cases[] = {
      {Status::Damaged(StatusCode::kDamagedHeader), BaseAction::kLoading,
       MessageKind::kError, true, kDamagedHeaderText},
      {Status::Damaged(StatusCode::kDamagedHeader), BaseAction::kWriting,
       MessageKind::kError, false, kDamagedHeaderSaveText},
      {Status::Damaged(StatusCode::kUnsupportedFormat), BaseAction::kLoading,
       MessageKind::kError, true,
       std::string(kUnsupportedFormatText) + kSiteAddress},
      {Status::Damaged(StatusCode::kDamagedBase), BaseAction::kLoading,
       MessageKind::kInformation, true, kDamagedBaseText},
      {Status::Problem(StatusCode::kDamagedLayout,
                       BaseProblem::kShorterThanHeader),
       BaseAction::kLoading, MessageKind::kError, false,
       "Ошибка чтения файла /bases/Город.qz: файл короче заголовка базы"},
      {Status::Problem(StatusCode::kRebuiltUnreadable,
                       BaseProblem::kRecordCount, ProblemTable::kOrg, 5, 6),
       BaseAction::kWriting, MessageKind::kError, false,
       "Перестроенная база не читается (таблица телефонов организаций: "
       "записей 5 вместо 6); файлы не изменены."},
      {Status::Unexpected("Недостаточно памяти"), BaseAction::kWriting,
       MessageKind::kError, false, "Недостаточно памяти"},
      {Status::OfFile(StatusCode::kOpenInWindow, base), BaseAction::kWriting,
       MessageKind::kError, false,
       "База /bases/Город.qz открыта в окне программы.\r\nНичего не "
       "изменено: закройте её в окне и повторите."},
      {Status::Damaged(StatusCode::kNoOriginState), BaseAction::kWriting,
       MessageKind::kError, false,
       "У базы /bases/Город.qz нет исходного состояния (OriginTag пуст), её "
       "изменения не отбрасываются."},
  };
  for (const Case& c : cases) {
    const BaseMessage message = StatusMessage(c.status, c.action, base);
    EXPECT_EQ(message.kind, c.kind) << c.text;
    EXPECT_EQ(message.fatal, c.fatal) << c.text;
    EXPECT_EQ(message.text, c.text);
  }
}

// Write errors name the base the user knows, never the temporary file the
// writer made beside it, and say why in Russian for the usual causes.
TEST(StatusMessageTest, FileErrorsNameTheBaseAndSayWhyInRussian) {
  const std::string base = "/bases/Город.qz";
  const std::string temporary = "/bases/Город.qz.tmp79814";
  const auto io = [](FileOperation operation, const std::string& path,
                     int error) {
    return Status::IoError(operation, path, error);
  };
  using Op = FileOperation;
  struct Case {
    Status status;
    std::string text;
  };
  const Case cases[] = {
      {io(Op::kWrite, temporary, EACCES),
       "Не удалось записать файл /bases/Город.qz: нет прав на запись в папку "
       "/bases"},
      {io(Op::kRename, temporary, EPERM),
       "Не удалось записать файл /bases/Город.qz: нет прав на запись в папку "
       "/bases"},
      {io(Op::kWrite, base, EACCES),
       "Не удалось записать файл /bases/Город.qz: нет прав на запись"},
      {io(Op::kRead, base, EACCES),
       "Не удалось прочитать файл /bases/Город.qz: нет прав на чтение"},
      {io(Op::kWrite, temporary, ENOSPC),
       "Не удалось записать файл /bases/Город.qz: на диске нет места"},
#ifdef EDQUOT  // a disk quota; Windows has none
      {io(Op::kWrite, temporary, EDQUOT),
       "Не удалось записать файл /bases/Город.qz: на диске нет места, "
       "отведённого пользователю"},
#endif
      {io(Op::kWrite, temporary, EROFS),
       "Не удалось записать файл /bases/Город.qz: диск доступен только для "
       "чтения"},
      {io(Op::kRename, temporary, EBUSY),
       "Не удалось записать файл /bases/Город.qz: файл занят другой "
       "программой"},
      {io(Op::kWrite, base, ETXTBSY),
       "Не удалось записать файл /bases/Город.qz: файл занят другой "
       "программой"},
      {io(Op::kWrite, temporary, ENOENT),
       "Не удалось записать файл /bases/Город.qz: папка /bases не найдена"},
      {io(Op::kRead, base, ENOENT),
       "Не удалось прочитать файл /bases/Город.qz: файл не найден"},
      {io(Op::kRead, base, ENOTDIR),
       "Не удалось прочитать файл /bases/Город.qz: файл не найден"},
      {io(Op::kWrite, temporary, ENAMETOOLONG),
       "Не удалось записать файл /bases/Город.qz: слишком длинное имя файла"},
      {io(Op::kRemove, temporary, EIO),
       "Не удалось записать файл /bases/Город.qz: ошибка ввода-вывода: диск "
       "неисправен или отключён"},
      {io(Op::kRename, temporary, EFBIG),
       "Не удалось записать файл /bases/Город.qz: файл больше, чем позволяют "
       "диск или ограничения системы"},
      {io(Op::kRead, base, ELOOP),
       "Не удалось прочитать файл /bases/Город.qz: символические ссылки ведут "
       "по кругу или их слишком много"},
      // The backup's or the lock file's own trouble names that file.
      {io(Op::kRename, "/bases/Город.~qz", ENAMETOOLONG),
       "Не удалось записать файл /bases/Город.~qz: слишком длинное имя файла"},
      {io(Op::kRename, "/bases/Город.~qz", EISDIR),
       "Не удалось записать файл /bases/Город.~qz: это папка, а не файл"},
      {io(Op::kWrite, "/bases/.Город.qz.lock", EACCES),
       "Не удалось записать файл /bases/.Город.qz.lock: нет прав на запись"},
      {io(Op::kWrite, temporary, 4095),
       "Не удалось записать файл /bases/Город.qz: ошибка системы номер 4095"},
      {Status::IoError(Op::kWrite, temporary, std::string("Сбой устройства")),
       "Не удалось записать файл /bases/Город.qz: Сбой устройства"},
      {io(Op::kListFolder, "/bases", ENOENT),
       "Не удалось прочитать папку /bases/Город.qz: папка не найдена"},
  };
  for (const Case& c : cases) {
    const BaseMessage message =
        StatusMessage(c.status, BaseAction::kWriting, base);
    EXPECT_EQ(message.text, c.text);
    EXPECT_EQ(message.kind, MessageKind::kError);
    EXPECT_FALSE(message.fatal);
    EXPECT_EQ(message.text.find(".tmp"), std::string::npos) << message.text;
  }
  // A base named without a folder: the current one.
  EXPECT_EQ(StatusMessage(io(Op::kWrite, "Город.qz.tmp1", EACCES),
                          BaseAction::kWriting, "Город.qz")
                .text,
            "Не удалось записать файл Город.qz: нет прав на запись в текущую "
            "папку");
  // A base the optimiser could not put back says where it now lies.
  EXPECT_EQ(
      StatusMessage(
          io(Op::kRename, temporary, EBUSY).WithBaseMovedTo("/bases/Город.~qz"),
          BaseAction::kWriting, base)
          .text,
      "Не удалось записать файл /bases/Город.qz: файл занят другой "
      "программой\r\nБаза теперь в файле /bases/Город.~qz");
}

// Every error number the file operations of the writers can meet (those
// open, read, write, fsync, rename, link, unlink, chmod, stat and fcntl
// return) has a Russian text of its own: never the system's text, which is
// English on many systems, and never only a number.
TEST(StatusMessageTest, EveryErrorTheWritersMeetIsSaidInRussian) {
  std::vector<int> met = {
      EACCES, EPERM,  ENOENT,  ENOTDIR,   EISDIR,    ENAMETOOLONG, EROFS,
      ENOSPC, EFBIG,  EIO,     EEXIST,    ENOTEMPTY, EBUSY,        EXDEV,
      EMLINK, EMFILE, ENFILE,  ENOMEM,    EINTR,     EINVAL,       EAGAIN,
      ENOLCK, ENXIO,  ENODEV,  EBADF,     EDEADLK,
#ifndef _WIN32
      ELOOP,  EDQUOT, ETXTBSY, EOVERFLOW, ESTALE,    ETIMEDOUT,    ENOTSUP,
#endif
  };
  const std::vector<int> with_text = ErrorNumbersWithText();
  met.insert(met.end(), with_text.begin(), with_text.end());
  const std::string base = "/базы/Город.qz";
  constexpr std::string_view kLatin =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (const int error : met) {
    for (const FileOperation operation :
         {FileOperation::kRead, FileOperation::kWrite, FileOperation::kRename,
          FileOperation::kRemove, FileOperation::kListFolder}) {
      const std::string reason =
          FileErrorReason(Status::IoError(operation, base, error), base);
      EXPECT_FALSE(reason.empty()) << error;
      EXPECT_EQ(reason.find_first_of(kLatin), std::string::npos)
          << error << ": " << reason;
      EXPECT_EQ(reason.find("номер"), std::string::npos)
          << error << ": " << reason;
    }
  }
}

TEST(CarryMessagesTest, TheReportCountsWhatWasCarriedAndListsTheRest) {
  CarryReport report;
  report.edited = 2;
  report.added = 1;
  // "Иванов" in Windows-1251; empty fields are left out.
  report.added_as_new = {{TableId::kHome, EditKind::kEdited,
                          "\x01"
                          "111111\x02\xC8\xE2\xE0\xED\xEE\xE2\x03\x04"
                          "5\x1F"}};
  report.not_carried = {{TableId::kOrg, EditKind::kDeleted,
                         "\x01"
                         "22\x02"
                         "Bank\x1F",
                         NotCarriedReason::kRecordGone},
                        {TableId::kHome, EditKind::kAdded, "\x01\x02\x1F",
                         NotCarriedReason::kFieldsDiffer}};
  EXPECT_EQ(CarryReportText(report, "/b/town.qz"),
            "Несохранённые изменения окна перенесены в базу /b/town.qz в её "
            "новом виде:\r\n"
            "   изменено записей: 2\r\n"
            "   добавлено записей: 1\r\n"
            "Изменённые в окне записи, которых в базе в прежнем виде уже нет, "
            "добавлены как новые: 1\r\n"
            "   квартирные: 111111, Иванов, 5\r\n"
            "Не перенесено изменений: 2\r\n"
            "   организации: 22, Bank (удаление: записи в базе уже нет)\r\n"
            "   квартирные: (пустая запись) (добавление: у таблицы в базе "
            "теперь другие поля)");
  EXPECT_EQ(CarriedSaveQuestion(report, "/b/town.qz"),
            CarryReportText(report, "/b/town.qz") +
                "\r\n\r\nСохранить изменения базы?");

  // A long list shows its first records and how many more there are.
  report.not_carried.clear();
  for (int i = 0; i < 12; ++i) {
    report.not_carried.push_back({TableId::kOrg, EditKind::kDeleted,
                                  "\x01"
                                  "n" +
                                      std::to_string(i) + "\x1F",
                                  NotCarriedReason::kRecordGone});
  }
  const std::string text = CarryReportText(report, "/b/town.qz");
  EXPECT_NE(text.find("организации: n9 "), std::string::npos);
  EXPECT_EQ(text.find("организации: n10 "), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 16), "\r\n   и ещё 2");
}

}  // namespace
}  // namespace spravka
