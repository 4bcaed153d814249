// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_BASE_PREFETCH_H_
#define SPRAVKA_APP_BASE_PREFETCH_H_

#include <cstdint>
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

// A base file smaller than this loads in a few milliseconds here (the
// 16 MB demo town of 1,000,000 records in about 100 ms): too soon for a
// splash window to be seen.
inline constexpr uint64_t kQuickLoadBytes = uint64_t{1} << 20;

// Whether the load of the base file at `path` is over too soon for a splash
// window to be seen: a regular file smaller than kQuickLoadBytes. False
// when it is not known (no path, no such file: what loads then is found
// later).
bool LoadsAtOnce(const std::string& path);

}  // namespace spravka

#endif  // SPRAVKA_APP_BASE_PREFETCH_H_
