// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/base_prefetch.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "app/town_names.h"
#include "util/paths.h"
#include "util/thrown_error.h"

namespace spravka {

BasePrefetch::BasePrefetch(std::string path, FileSystem& fs)
    : path_(std::move(path)) {
  if (path_.empty()) return;
  try {
    thread_ = std::thread([this, &fs] {
      try {
        status_ = LoadBase(path_, &store_, fs, &changes_);
      } catch (...) {
        status_ = Status::Unexpected(ThrownErrorText());
      }
    });
  } catch (const std::system_error&) {
    path_.clear();  // no thread: the first load reads the file itself
  }
}

BasePrefetch::~BasePrefetch() {
  if (thread_.joinable()) thread_.join();
}

bool BasePrefetch::Take(const std::string& path, RecordStore* store,
                        ChangeSectionStatus* changes) {
  if (thread_.joinable()) thread_.join();
  const bool taken = !path_.empty() && path == path_ && status_.ok();
  if (taken) {
    *store = std::move(store_);
    *changes = changes_;
  }
  path_.clear();
  store_ = RecordStore();
  return taken;
}

std::string LikelyStartUpBase(const std::string& working_folder,
                              const std::vector<std::string>& args,
                              std::string (*last_base)()) {
  if (args.size() == 1) {
    std::string named = args[0];
    if (!named.empty() && named.front() == '"') named.erase(0, 1);
    if (!named.empty() && named.back() == '"') named.pop_back();
    if (HasQzExtension(named)) {
      return AbsolutePathFrom(working_folder, LongPathName(named));
    }
  }
  const std::string last = last_base();
  return last.empty() ? std::string()
                      : AbsolutePathFrom(working_folder, last + ".qz");
}

bool LoadsAtOnce(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  const std::filesystem::path file = PathFromUtf8(path);
  if (!std::filesystem::is_regular_file(file, error)) return false;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  return !error && size < kQuickLoadBytes;
}

}  // namespace spravka
