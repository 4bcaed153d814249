// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/file_identity.h"

#include <gtest/gtest.h>

#include <string>

namespace spravka {
namespace {

// The published XXH64 values (seed 0), through every tail the hash has:
// short input, whole 32-byte stripes, 8-, 4- and 1-byte remainders.
TEST(FileIdentityTest, Hash64IsXxHash64) {
  struct Case {
    std::string bytes;
    uint64_t hash;
  };
  const Case cases[] = {
      {"", 0xEF46DB3751D8E999ull},
      {"a", 0xD24EC4F1A98C6E5Bull},
      {"abc", 0x44BC2CF5AD770999ull},
      {"Nobody inspects the spammish repetition, so they say.",
       0x24359C2D6C838CB7ull},
      {std::string(1000, '\0'), 0x0E2B1EF27944075Aull},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hash64(c.bytes), c.hash) << c.bytes.size();
  }
}

// A file differs from another by its length or by any single byte.
TEST(FileIdentityTest, EveryByteCounts) {
  std::string file(4096, 'x');
  const BaseFileId id = FileIdOf(file);
  EXPECT_EQ(FileIdOf(file), id);
  for (size_t i = 0; i < file.size(); ++i) {
    file[i] ^= 1;
    EXPECT_NE(FileIdOf(file), id) << i;
    file[i] ^= 1;
  }
  EXPECT_NE(FileIdOf(file + 'x'), id);
}

}  // namespace
}  // namespace spravka
