// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/text_fold.h"

#include <gtest/gtest.h>

#include "search_test_util.h"

namespace spravka {
namespace {

using testing::W;

TEST(LowerCyrillicTest, FoldsOnlyRussianCapitals) {
  EXPECT_EQ(LowerCyrillic(W("ПЕТРОВ Ё")), W("петров Ё"));
  EXPECT_EQ(LowerCyrillic("ABC"), "ABC");
  EXPECT_EQ(LowerCyrillic(W("АЯая-12")), W("аяая-12"));
}

TEST(FixKeyboardLayoutTest, Examples) {
  const struct {
    const char* typed;
    const char* fixed;
  } cases[] = {
      {"Bdfyjd", "Иванов"},
      {"ghbdtn,", "приветб"},  // with a Latin letter "," is a key too
      {"іван", "?ван"},        // Ukrainian letters become wildcards
      {"dіа", "віа"},          // ... but not behind the first Latin letter
      {"12/3", "12/3"},
      {"ул.Мира", "ул.Мира"},          // no Latin letter: punctuation stays
      {"{}[]:\";'<>", "{}[]:\";'<>"},  // no Latin letter, no change
      {"a{}[]:\";'<>", "фХЪхъЖЭжэБЮ"},
      {"QWERTYUIOPASDFGHJKLZXCVBNM", "ЙЦУКЕНГШЩЗФЫВАПРОЛДЯЧСМИТЬ"},
      {"qwertyuiopasdfghjklzxcvbnm", "йцукенгшщзфывапролдячсмить"},
      {"ҐґІіЇїЄє", "????????"},
      {"`~ 12 ?", "`~ 12 ?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixKeyboardLayout(W(c.typed)), W(c.fixed)) << c.typed;
  }
}

}  // namespace
}  // namespace spravka
