// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/file_work_gate.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/work_runner.h"

namespace spravka {
namespace {

using R = WorkRequest;
using A = GateAnswer;

TEST(FileWorkGateTest, WhatBecomesOfEachRequest) {
  struct Case {
    R request;
    bool working;
    bool close_held;
    A answer;
  };
  const Case cases[] = {
      // Nothing runs: everything begins.
      {R::kClose, false, false, A::kBegin},
      {R::kSwitch, false, false, A::kBegin},
      {R::kDrop, false, false, A::kBegin},
      {R::kCommand, false, false, A::kBegin},
      {R::kEdit, false, false, A::kBegin},
      // Work runs.
      {R::kClose, true, false, A::kHold},
      {R::kClose, true, true, A::kHold},
      {R::kSwitch, true, false, A::kHold},
      {R::kDrop, true, false, A::kHold},
      {R::kSwitch, true, true, A::kIgnore},  // the window is going
      {R::kDrop, true, true, A::kIgnore},
      {R::kCommand, true, false, A::kRefuse},
      {R::kCommand, true, true, A::kRefuse},
      {R::kEdit, true, false, A::kIgnore},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideWorkRequest(c.request, c.working, c.close_held), c.answer)
        << static_cast<int>(c.request) << " working " << c.working
        << " close held " << c.close_held;
  }
}

// What is held comes out once, after the outermost scope, whose end tells
// the window; a later switch replaces an earlier one, and a close leaves no
// switch behind.
TEST(FileWorkGateTest, HeldWorkComesOutOnceTheLastScopeHasEnded) {
  struct Case {
    const char* name;
    std::vector<std::pair<R, std::string>> asked;
    bool close;
    std::optional<R> switch_request;
    std::string target;
  };
  const Case cases[] = {
      {"drop", {{R::kDrop, "/b/Town.qz"}}, false, R::kDrop, "/b/Town.qz"},
      {"switch then drop",
       {{R::kSwitch, " Alpha"}, {R::kDrop, "/b/Town.qz"}},
       false,
       R::kDrop,
       "/b/Town.qz"},
      {"drop then switch",
       {{R::kDrop, "/b/Town.qz"}, {R::kSwitch, " Alpha"}},
       false,
       R::kSwitch,
       " Alpha"},
      {"close", {{R::kClose, ""}, {R::kClose, ""}}, true, std::nullopt, ""},
      {"drop then close",
       {{R::kDrop, "/b/Town.qz"}, {R::kClose, ""}},
       true,
       std::nullopt,
       ""},
      {"close then switch",
       {{R::kClose, ""}, {R::kSwitch, " Alpha"}},
       true,
       std::nullopt,
       ""},
      {"command and edit hold nothing",
       {{R::kCommand, ""}, {R::kEdit, ""}},
       false,
       std::nullopt,
       ""},
  };
  for (const Case& c : cases) {
    FileWorkGate gate;
    int told = 0;
    gate.OnHeld([&] { ++told; });
    {
      FileWorkGate::Work outer = gate.Begin();
      {
        FileWorkGate::Work inner = gate.Begin();  // a command's own switch
        for (const auto& [request, target] : c.asked) gate.Ask(request, target);
        EXPECT_FALSE(gate.TakeHeld()) << c.name;
      }
      EXPECT_TRUE(gate.working()) << c.name;
      EXPECT_EQ(told, 0) << c.name;
    }
    EXPECT_FALSE(gate.working()) << c.name;
    const bool held = c.close || c.switch_request;
    EXPECT_EQ(told, held ? 1 : 0) << c.name;
    std::optional<HeldWork> work = gate.TakeHeld();
    ASSERT_EQ(work.has_value(), held) << c.name;
    if (!work) continue;
    EXPECT_EQ(work->close, c.close) << c.name;
    EXPECT_EQ(work->switch_request, c.switch_request) << c.name;
    EXPECT_EQ(work->target, c.target) << c.name;
    EXPECT_FALSE(gate.TakeHeld()) << c.name << ": taken once";
  }
}

TEST(FileWorkGateTest, AScopeEndsAlsoWhenItsWorkThrows) {
  FileWorkGate gate;
  int told = 0;
  gate.OnHeld([&] {
    ++told;
    throw std::runtime_error("the window could not be told");
  });
  try {
    FileWorkGate::Work work = gate.Begin();
    EXPECT_EQ(gate.Ask(R::kClose), A::kHold);
    throw std::runtime_error("the work failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(gate.working());
  EXPECT_EQ(told, 1);
  EXPECT_EQ(gate.Ask(R::kCommand), A::kBegin);
  EXPECT_TRUE(gate.TakeHeld()->close);
}

// One job at a time, also when the first one throws: a second job asked
// for while one runs never runs, and the runner is free again afterwards.
TEST(WorkRunnerTest, ASecondJobIsRefusedAndTheRunnerIsFreedOnEveryWayOut) {
  WorkRunner runner;
  bool second_ran = false;
  std::string refusal;
  runner.Run([&] {
    EXPECT_TRUE(runner.running());
    try {
      runner.Run([&] { second_ran = true; });
    } catch (const WorkRefused& e) {
      refusal = e.what();
    }
  });
  EXPECT_FALSE(second_ran);
  EXPECT_EQ(refusal, kWorkRunningText);
  EXPECT_FALSE(runner.running());
  EXPECT_THROW(runner.Run([] { throw std::runtime_error("disk gone"); }),
               std::runtime_error);
  EXPECT_FALSE(runner.running());
  bool ran = false;
  runner.Run([&] { ran = true; });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace spravka
