#ifndef SPRAVKA_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_
#define SPRAVKA_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_

#include <string>

#include "storage/file_system.h"

namespace spravka::testing {

// The real file system, except that writes stop after a budget of bytes (as
// on a full disk: the part that fit stays on the disk) and chosen
// operations fail.
class FaultyFileSystem : public FileSystem {
 public:
  long long write_budget = -1;  // bytes that may still be written; -1 = any
  int failing_rename = 0;  // which rename fails (1 = the first); 0 = none
  int renames = 0;

  Status ReadFile(const std::string& path, std::string* contents) override {
    return RealFileSystem().ReadFile(path, contents);
  }
  Status WriteFile(const std::string& path, std::string_view data) override {
    if (write_budget >= 0 && static_cast<long long>(data.size()) > write_budget) {
      RealFileSystem().WriteFile(path, data.substr(0, write_budget));
      write_budget = 0;
      return Status::Error("Disk full");
    }
    if (write_budget >= 0) write_budget -= static_cast<long long>(data.size());
    return RealFileSystem().WriteFile(path, data);
  }
  Status WriteAt(const std::string& path, uint64_t offset,
                 std::string_view data) override {
    if (write_budget >= 0 && static_cast<long long>(data.size()) > write_budget) {
      return Status::Error("Disk full");
    }
    return RealFileSystem().WriteAt(path, offset, data);
  }
  Status Rename(const std::string& from, const std::string& to) override {
    if (++renames == failing_rename) return Status::Error("Access denied");
    return RealFileSystem().Rename(from, to);
  }
  Status Remove(const std::string& path) override {
    return RealFileSystem().Remove(path);
  }
  bool Exists(const std::string& path) override {
    return RealFileSystem().Exists(path);
  }
  std::string ResolveLinks(const std::string& path) override {
    return RealFileSystem().ResolveLinks(path);
  }
  Status MakeWritable(const std::string& path) override {
    return RealFileSystem().MakeWritable(path);
  }
  Status CopyPermissions(const std::string& from, const std::string& to) override {
    return RealFileSystem().CopyPermissions(from, to);
  }
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_FAULTY_FILE_SYSTEM_H_
