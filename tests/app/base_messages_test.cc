// The user's messages built from a Status: which box, whether the program
// ends, and the text, as one table.
#include "app/base_messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace spravka {
namespace {

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
  };
  for (const Case& c : cases) {
    const BaseMessage message = StatusMessage(c.status, c.action, base);
    EXPECT_EQ(message.kind, c.kind) << c.text;
    EXPECT_EQ(message.fatal, c.fatal) << c.text;
    EXPECT_EQ(message.text, c.text);
  }
}

}  // namespace
}  // namespace spravka
