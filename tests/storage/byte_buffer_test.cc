// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/byte_buffer.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/record_table.h"

namespace spravka {
namespace {

TEST(ByteBufferTest, GrowsKeepingItsBytesAndCopiesDeeply) {
  ByteBuffer buffer(3, 'x');
  buffer.resize(6);  // new bytes are zero, as with std::string
  EXPECT_EQ(std::string_view(buffer), std::string_view("xxx\0\0\0", 6));
  buffer.ResizeUninitialized(64 << 20);  // large: the bytes before stay
  EXPECT_EQ(std::string_view(buffer).substr(0, 6),
            std::string_view("xxx\0\0\0", 6));
  buffer[(64 << 20) - 1] = 'y';
  buffer.resize(2);
  EXPECT_EQ(std::string_view(buffer), "xx");

  ByteBuffer copy = buffer;
  copy[0] = 'c';
  EXPECT_EQ(std::string_view(buffer), "xx");
  EXPECT_EQ(std::string_view(copy), "cx");
  ByteBuffer moved = std::move(copy);
  EXPECT_EQ(std::string_view(moved), "cx");
  EXPECT_TRUE(copy.empty());
  copy = moved;
  EXPECT_EQ(std::string_view(copy), "cx");

  ByteBuffer empty;
  empty.ResizeUninitialized(0);
  EXPECT_NE(empty.data(), nullptr);  // a place to inflate nothing into
  EXPECT_EQ(empty.size(), 0u);
}

}  // namespace
}  // namespace spravka

namespace spravka {
namespace {

// A table that grows by small steps many times (a long paste) moves its
// bytes only a few times: the room behind it grows by half at a time.
TEST(ByteBufferTest, ManySmallGrowthsMoveTheTableRarely) {
  Table table;
  const std::string record = "\x01" + std::string(200, 'a') + "\x1F";
  int reallocations = 0;
  size_t capacity = table.bytes.capacity();
  for (uint32_t n = 1; n <= 20000; ++n) {
    table.Append(n, record);
    if (table.bytes.capacity() != capacity) ++reallocations;
    capacity = table.bytes.capacity();
  }
  EXPECT_EQ(table.CountRecords(), 20000u);
  // 4 MB in steps of 100000 bytes would be 41 of them.
  EXPECT_LT(reallocations, 15);
  EXPECT_LE(table.bytes.size(), table.used + 1 + kDefaultTableGrowth);
}

}  // namespace
}  // namespace spravka
