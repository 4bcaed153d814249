#include "storage/byte_buffer.h"

#include <gtest/gtest.h>

#include <string>

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
