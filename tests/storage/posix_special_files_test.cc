// SPDX-License-Identifier: GPL-3.0-or-later
// A base is only ever a regular file: a FIFO, device or folder under its
// name is refused at once, never waited on, and a file whose size says
// nothing is read to its end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "storage/record_store.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

TEST(SpecialFilesTest, NonRegularFilesAreRefusedWithoutBlocking) {
  const std::string dir = testing::TempDir();
  const std::string fifo = dir + "/fifo.qz";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // no writer: open would block
  for (const std::string& path : {fifo, std::string("/dev/null"), dir}) {
    SCOPED_TRACE(path);
    std::string bytes;
    Status status = RealFileSystem().ReadFile(path, &bytes);
    EXPECT_EQ(status.code(), StatusCode::kNotRegularFile);
    EXPECT_EQ(status.path(), path);
    RecordStore store;
    EXPECT_EQ(LoadBase(path, &store).code(), StatusCode::kNotRegularFile);
    std::unique_ptr<FileLock> lock;
    EXPECT_EQ(RealFileSystem().LockForWriting(path, &lock).code(),
              StatusCode::kNotRegularFile);
  }
}

TEST(SpecialFilesTest, AFileIsReadToItsEndWhateverItsStatedSize) {
  struct stat st;
  ASSERT_EQ(stat("/proc/self/status", &st), 0);
  ASSERT_EQ(st.st_size, 0);
  std::string bytes;
  ASSERT_TRUE(RealFileSystem().ReadFile("/proc/self/status", &bytes).ok());
  EXPECT_NE(bytes.find("Name:"), std::string::npos);
}

}  // namespace
}  // namespace spravka
