// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace spravka::cli {
namespace {

TEST(ArgumentsTest, SplitsOptionsAndWords) {
  Arguments args;
  std::string error;
  ASSERT_TRUE(args.Parse({"a.qz", "--table", "org", "--stamp=7", "--", "--x"},
                         {{"table", true}, {"stamp", true}, {"quiet", false}},
                         &error))
      << error;
  EXPECT_EQ(args.positional(), (std::vector<std::string>{"a.qz", "--x"}));
  EXPECT_EQ(args.Value("table"), "org");
  EXPECT_FALSE(args.Has("quiet"));
  int64_t stamp = 0;
  ASSERT_TRUE(args.Integer("stamp", 0, 10, -1, &stamp, &error));
  EXPECT_EQ(stamp, 7);
  int64_t absent = 0;
  ASSERT_TRUE(args.Integer("quiet", 0, 10, 5, &absent, &error));
  EXPECT_EQ(absent, 5);
}

TEST(ArgumentsTest, RefusesWhatMakesNoSense) {
  const std::vector<std::vector<std::string>> bad = {
      {"--nope"}, {"--table"}, {"--table", "a", "--table", "b"}, {"--quiet=1"}};
  for (const auto& words : bad) {
    Arguments args;
    std::string error;
    EXPECT_FALSE(args.Parse(words, {{"table", true}, {"quiet", false}}, &error))
        << words[0];
    EXPECT_FALSE(error.empty());
  }
  for (const char* text : {"", "x", "11", "-1", "5x", "+3"}) {
    EXPECT_FALSE(ParseInteger(text, 0, 10).has_value()) << text;
  }
}


TEST(ArgumentsTest, RepeatableOptionsKeepEveryValueAndOneBaseIsRequired) {
  Arguments args;
  std::string error;
  ASSERT_TRUE(args.Parse({"a.qz", "--field", "1=x", "--field=2=y"},
                         {{"field", true, /*repeats=*/true}}, &error))
      << error;
  EXPECT_EQ(args.Values("field"), (std::vector<std::string>{"1=x", "2=y"}));
  EXPECT_TRUE(args.OneBase(&error));
  Arguments none;
  ASSERT_TRUE(none.Parse({}, {}, &error));
  EXPECT_FALSE(none.OneBase(&error));
  EXPECT_EQ(error, "нужно имя одной базы");
}

}  // namespace
}  // namespace spravka::cli
