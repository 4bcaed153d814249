// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_OPTIMISER_H_
#define SPRAVKA_STORAGE_OPTIMISER_H_

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "storage/base_header.h"
#include "storage/file_system.h"
#include "storage/locked_base.h"
#include "storage/new_file.h"
#include "storage/record_store.h"
#include "storage/status.h"

namespace spravka {

constexpr char kUserOriginTag[] = "Kodrin_Uni";

// A stamp in 0..kMaxBaseStamp drawn from the clock.
int32_t NewBaseStamp();

// What an optimisation rebuilt.
struct OptimiseReport {
  size_t home_records = 0;  // Nh
  size_t org_records = 0;   // No
  std::string backup;       // where the previous file was kept
};

// Rebuilds the base part of `path` from the working tables of `store`: the
// header as stored in the file with the given column widths, the origin tag
// "Kodrin_Uni" when it had none, a reserve for the next load, and `stamp`.
// The new file is complete before anything is replaced; then the old file
// becomes the ".~qz" backup and the new one takes its place. On failure the
// file, the backup and `store` stay as they were; when a rename cannot be
// undone, the status says where the base now lies. kDamagedHeader when the
// file's header tags differ. On success `*report` (when given) counts the
// records, and `store` is not reloaded: the caller loads the base again.
// `home_written`, when given, runs once the residential section is built.
// The writers' lock is held throughout (LockedBase); nothing is written
// when the file is no longer the one `store` was loaded from
// (kBaseChanged).
Status OptimiseBase(const std::string& path, const RecordStore& store,
                    const std::array<int32_t, kHomeKinds>& home_widths,
                    const std::array<int32_t, kOrgKinds>& org_widths,
                    int32_t stamp, OptimiseReport* report,
                    FileSystem& fs = RealFileSystem(),
                    const std::function<void()>& home_written = {});

// The same for a base its caller has opened, and loaded `store` from
// (LockedBase::file()), under the lock it still holds; the file's bytes
// are let go here, before the sections are built.
Status OptimiseLockedBase(LockedBase& base, const RecordStore& store,
                          const std::array<int32_t, kHomeKinds>& home_widths,
                          const std::array<int32_t, kOrgKinds>& org_widths,
                          int32_t stamp, OptimiseReport* report,
                          const std::function<void()>& home_written = {});

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_OPTIMISER_H_
