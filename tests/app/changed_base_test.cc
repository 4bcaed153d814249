// SPDX-License-Identifier: GPL-3.0-or-later
// A window's unsaved edits after another program changed its base: the
// offer, the load, the carry, the report and the save, each answer and
// each failure, against real files.
#include "app/changed_base.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/base_messages.h"
#include "storage/optimiser.h"
#include "storage/restore.h"
#include "storage/save.h"
#include "support/base_builder.h"
#include "support/faulty_file_system.h"
#include "support/session_fakes.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::RecordText;

constexpr TableId kHome = TableId::kHome;

const Fields kIvanov = {"111111", "Ivanov"};
const Fields kPetrov = {"222222", "Petrov"};
const Fields kSidorov = {"333333", "Sidorov"};
const Fields kSidorovSaved = {"333333", "Sidorov, saved"};
const Fields kIvanovNew = {"111111", "Ivanov, new"};
const Fields kIvanovOther = {"111111", "Ivanov, other"};
const Fields kNovikov = {"444444", "Novikov"};
const Fields kOrlov = {"555555", "Orlov"};

std::vector<Fields> HomeRecords(const RecordStore& store) {
  return testing::TableRecords(store.HomeData, 2);
}

// What another program did to the base while the window had it.
enum class Change { kOptimised, kReset, kSavedElsewhere, kReplaced };

class ChangedBaseTest : public ::testing::Test {
 protected:
  // The base: three records, the third changed by a saved edit. The
  // window loads it, edits the first record, deletes the second and adds
  // one.
  void SetUp() override {
    path_ = testing::TempDir() + "/town.qz";
    ChangeList saved;
    saved.Set(3, RecordText(kSidorovSaved));
    // Tagged, so that the base can be reset.
    testing::WriteBytes(path_, testing::WithOriginTag(testing::MakeBaseFile(
                                   {kIvanov, kPetrov, kSidorov}, {{"1", "o"}},
                                   31, &saved)));
    ASSERT_TRUE(LoadBase(path_, &window_).ok());
    window_.ReplaceRecordText(kHome, 1, RecordText(kIvanovNew));
    window_.SetChange(kHome, 1, RecordText(kIvanovNew));
    window_.RemoveRecord(kHome, 1 + window_.HomeData.LengthAt(1));
    window_.SetChange(kHome, 2, ChangeList::kDeletion);
    window_.AppendRecord(kHome, 4, RecordText(kNovikov));
    window_.SetChange(kHome, 4, RecordText(kNovikov));
  }

  void ChangeOnDisk(Change change) {
    RecordStore other;
    ASSERT_TRUE(LoadBase(path_, &other).ok());
    switch (change) {
      case Change::kOptimised:
        ASSERT_TRUE(OptimiseBase(path_, other, other.header.HomeColWidths,
                                 other.header.OrgColWidths, 99, nullptr)
                        .ok());
        break;
      case Change::kReset:
        ASSERT_TRUE(RestoreBasePart(path_, WriteChecks::ForCommand(false)).ok());
        break;
      case Change::kSavedElsewhere:
        other.ReplaceRecordText(kHome, 1, RecordText(kIvanovOther));
        other.SetChange(kHome, 1, RecordText(kIvanovOther));
        ASSERT_TRUE(SaveChanges(path_, other).ok());
        break;
      case Change::kReplaced:
        testing::WriteBytes(
            path_, testing::MakeBaseFile({kPetrov, kOrlov}, {{"1", "o"}}, 77));
        break;
    }
  }

  CarryResult Offer(FileSystem& fs = RealFileSystem()) {
    return OfferToCarryEdits(path_, "town.qz", window_, fs, boxes_, runner_);
  }

  std::vector<Fields> OnDisk() {
    RecordStore reloaded;
    EXPECT_TRUE(LoadBase(path_, &reloaded).ok());
    return HomeRecords(reloaded);
  }

  std::vector<MessageKind> Kinds() const {
    std::vector<MessageKind> kinds;
    for (const auto& box : boxes_.shown) kinds.push_back(box.kind);
    return kinds;
  }

  std::string path_;
  RecordStore window_;
  testing::RecordingBoxes boxes_;
  WorkRunner runner_;
};

TEST_F(ChangedBaseTest, EditsAreCarriedIntoEveryKindOfChangeAndSaved) {
  struct Case {
    Change change;
    std::vector<Fields> saved;
  };
  const Case cases[] = {
      // Renumbered: every edit finds its record.
      {Change::kOptimised, {kIvanovNew, kSidorovSaved, kNovikov}},
      // The saved edit is gone with the reset; the window's are carried.
      {Change::kReset, {kIvanovNew, kSidorov, kNovikov}},
      // The other window changed the record edited here: added as new.
      {Change::kSavedElsewhere,
       {kIvanovOther, kSidorovSaved, kIvanovNew, kNovikov}},
      // Another base: only what is found by its text is replaced.
      {Change::kReplaced, {kOrlov, kIvanovNew, kNovikov}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.change));
    SetUp();
    boxes_.shown.clear();
    ChangeOnDisk(c.change);
    // The refusal that leads here, where the base part was rebuilt.
    if (c.change == Change::kOptimised || c.change == Change::kReplaced) {
      EXPECT_EQ(SaveChanges(path_, window_).code(), StatusCode::kBaseChanged);
    }
    const std::vector<Fields> shown = HomeRecords(window_);
    boxes_.answers = {true, true};
    CarryResult result = Offer();
    EXPECT_EQ(result.outcome, CarryOutcome::kCarriedAndSaved);
    ASSERT_TRUE(result.store.has_value());
    EXPECT_EQ(HomeRecords(*result.store), c.saved);
    EXPECT_FALSE(result.store->HasUnsavedEdits());
    EXPECT_EQ(OnDisk(), c.saved);
    EXPECT_EQ(HomeRecords(window_), shown);  // only read
    EXPECT_EQ(Kinds(), (std::vector{MessageKind::kConfirmation,
                                    MessageKind::kConfirmation}));
    EXPECT_EQ(boxes_.unexpected_questions, 0);
    // Saved, the store takes later edits and saves them like any other.
    EXPECT_TRUE(SaveChanges(path_, *result.store).ok());
  }
}

TEST_F(ChangedBaseTest, EachAnswerAndFailureLeavesTheWindowWhatItSays) {
  const std::string optimised = [&] {
    ChangeOnDisk(Change::kOptimised);
    return testing::ReadBytes(path_);
  }();
  struct Case {
    const char* name;
    std::vector<bool> answers;
    bool damaged = false;      // the file no longer loads
    bool read_throws = false;  // reading it throws
    bool writes_fail = false;  // the save fails
    CarryOutcome outcome;
    std::vector<MessageKind> boxes;
    const char* last_text = "";  // in the last box
  };
  const std::vector<Case> cases = {
      {"declined",
       {false},
       false,
       false,
       false,
       CarryOutcome::kKept,
       {MessageKind::kConfirmation}},
      {"not saved",
       {true, false},
       false,
       false,
       false,
       CarryOutcome::kCarried,
       {MessageKind::kConfirmation, MessageKind::kConfirmation},
       "изменено записей: 1"},
      {"damaged",
       {true},
       true,
       false,
       false,
       CarryOutcome::kKept,
       {MessageKind::kConfirmation, MessageKind::kError},
       "остались в окне"},
      {"read throws",
       {true},
       false,
       true,
       false,
       CarryOutcome::kKept,
       {MessageKind::kConfirmation, MessageKind::kError},
       "остались в окне"},
      {"save fails",
       {true, true},
       false,
       false,
       true,
       CarryOutcome::kCarried,
       {MessageKind::kConfirmation, MessageKind::kConfirmation,
        MessageKind::kError},
       "town.qz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteBytes(path_, c.damaged
                                   ? optimised.substr(0, optimised.size() / 2)
                                   : optimised);
    const std::string before = testing::ReadBytes(path_);
    boxes_.shown.clear();
    boxes_.unexpected_questions = 0;
    boxes_.answers.assign(c.answers.begin(), c.answers.end());
    testing::FaultyFileSystem fs;
    fs.fail_at = c.read_throws ? 1 : 0;
    fs.throws = c.read_throws;
    fs.writes_fail = c.writes_fail;
    const CarryResult result = Offer(fs);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.store.has_value(), c.outcome != CarryOutcome::kKept);
    if (result.store) {
      EXPECT_TRUE(result.store->HasUnsavedEdits());
      EXPECT_EQ(HomeRecords(*result.store),
                (std::vector{kIvanovNew, kSidorovSaved, kNovikov}));
    }
    EXPECT_EQ(testing::ReadBytes(path_), before);
    EXPECT_EQ(Kinds(), c.boxes);
    EXPECT_NE(boxes_.shown.back().text.find(c.last_text), std::string::npos)
        << boxes_.shown.back().text;
    EXPECT_EQ(boxes_.unexpected_questions, 0);
  }
}

TEST_F(ChangedBaseTest, ATableWithOtherFieldsIsTakenOnlyWhenTheUserAgrees) {
  testing::WriteBytes(
      path_, testing::MakeBaseFile({{"1", "a", "b"}}, {{"1", "o"}}, 77));
  boxes_.answers = {true, false};
  EXPECT_EQ(Offer().outcome, CarryOutcome::kKept);
  EXPECT_NE(boxes_.shown.back().text.find("будут потеряны"), std::string::npos);

  // Taken: nothing carried, nothing to save.
  boxes_.shown.clear();
  boxes_.answers = {true, true};
  const CarryResult result = Offer();
  EXPECT_EQ(result.outcome, CarryOutcome::kCarriedAndSaved);
  ASSERT_TRUE(result.store.has_value());
  EXPECT_EQ(testing::TableRecords(result.store->HomeData, 3),
            (std::vector<Fields>{{"1", "a", "b"}}));
  EXPECT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.unexpected_questions, 0);
}

TEST_F(ChangedBaseTest, WithNothingToCarryTheBaseIsTakenAndSaidSo) {
  RecordStore untouched;
  ASSERT_TRUE(LoadBase(path_, &untouched).ok());
  window_ = std::move(untouched);
  ChangeOnDisk(Change::kOptimised);
  boxes_.answers = {true};
  const CarryResult result = Offer();
  EXPECT_EQ(result.outcome, CarryOutcome::kCarriedAndSaved);
  EXPECT_EQ(Kinds(), (std::vector{MessageKind::kConfirmation,
                                  MessageKind::kInformation}));
  EXPECT_EQ(boxes_.shown.back().text,
            CarryReportText(CarryReport{}, "town.qz"));
}

}  // namespace
}  // namespace spravka
