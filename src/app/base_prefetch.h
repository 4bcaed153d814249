// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_BASE_PREFETCH_H_
#define SPRAVKA_APP_BASE_PREFETCH_H_

#include <string>
#include <thread>
#include <vector>

#include "storage/file_system.h"
#include "storage/record_store.h"
#include "storage/status.h"

namespace spravka {

// A base loaded on a thread of its own while the program starts its
// window, for the first load to take instead of loading the file again.
// The prefetch thread alone touches its store until Take() joins it; after
// that the store belongs to whoever called Take().
class BasePrefetch {
 public:
  // Starts loading the base file at `path` through `fs`; an empty path
  // starts nothing.
  explicit BasePrefetch(std::string path, FileSystem& fs = RealFileSystem());
  BasePrefetch(const BasePrefetch&) = delete;
  BasePrefetch& operator=(const BasePrefetch&) = delete;
  ~BasePrefetch();

  // The first call decides: when the prefetch loaded exactly `path`
  // without a failure, the loaded base moves into `*store` and `*changes`
  // and the result is true. Otherwise (another path, a failed load, a
  // later call) nothing changes and the caller loads the base itself, with
  // its messages as ever.
  bool Take(const std::string& path, RecordStore* store,
            ChangeSectionStatus* changes);

 private:
  std::string path_;
  RecordStore store_;
  ChangeSectionStatus changes_ = ChangeSectionStatus::kAbsent;
  Status status_;
  std::thread thread_;
};

// The base file a start-up most likely opens, as an absolute path: the
// one ".qz" file named on the command line, else the base used last (from
// `last_base`, called only then); empty when there is neither.
std::string LikelyStartUpBase(const std::string& working_folder,
                              const std::vector<std::string>& args,
                              std::string (*last_base)());

}  // namespace spravka

#endif  // SPRAVKA_APP_BASE_PREFETCH_H_
