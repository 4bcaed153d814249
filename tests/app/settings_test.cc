// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <gtest/gtest.h>

#include <map>

#include "support/session_fakes.h"

namespace spravka {
namespace {

using MapStore = testing::MapSettingsStore;

TEST(SettingsTest, IntegersConvertOrFallBack) {
  struct Case {
    std::optional<std::string> text;
    int value;
  };
  const Case cases[] = {
      {std::nullopt, 7},
      {"", 7},
      {"12", 12},
      {"-4", -4},
      {"+5", 5},
      {" 8", 8},
      {"8 ", 7},
      {"1e3", 7},
      {"abc", 7},
      {"+-1", 7},
      {"2147483647", 2147483647},
      {"2147483648", 7},
      {"-2147483648", -2147483647 - 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSettingInt(c.text, 7), c.value)
        << c.text.value_or("<absent>");
  }
  EXPECT_TRUE(ParseSettingBool("2", false));
  EXPECT_FALSE(ParseSettingBool("0", true));
  EXPECT_TRUE(ParseSettingBool("x", true));
  EXPECT_FALSE(ParseSettingBool(std::nullopt, false));
}

TEST(SettingsTest, DefaultsAndStoredForms) {
  MapStore store;
  Settings settings(&store);
  EXPECT_EQ(settings.LastBase(), "");
  EXPECT_TRUE(settings.UniversalMode());
  EXPECT_EQ(settings.Contrast(), 3);
  EXPECT_TRUE(settings.StripesOn());
  EXPECT_TRUE(settings.YoSearch());
  EXPECT_TRUE(settings.SimilarSearch());

  settings.SetLastBase("/bases/Город");
  settings.SetUniversalMode(false);
  settings.SetContrast(-11);
  settings.SetStripesOn(true);
  settings.SetYoSearch(false);
  settings.SetSimilarSearch(false);
  EXPECT_EQ(store.values,
            (std::map<std::string, std::string>{{"LastBase", "/bases/Город"},
                                                {"USearch", "0"},
                                                {"Contrast", "-11"},
                                                {"Zebra", "1"},
                                                {"YoSearch", "0"},
                                                {"SimilarSearch", "0"}}));
  EXPECT_EQ(settings.LastBase(), "/bases/Город");
  EXPECT_FALSE(settings.UniversalMode());
  EXPECT_EQ(settings.Contrast(), -11);
  EXPECT_FALSE(settings.YoSearch());
  EXPECT_FALSE(settings.SimilarSearch());
}

}  // namespace
}  // namespace spravka
