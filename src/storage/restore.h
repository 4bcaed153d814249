// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_RESTORE_H_
#define SPRAVKA_STORAGE_RESTORE_H_

#include <cstddef>
#include <string>

#include "storage/file_system.h"
#include "storage/locked_base.h"
#include "storage/status.h"

namespace spravka {

// What a restore did.
struct RestoreReport {
  size_t removed_bytes = 0;  // the change section cut off
};

// Resets the base file at `path` to its clean state: the file is cut to its
// base part (its first `BasePartLength` bytes), so every saved change is
// gone. The base part is written to a new file beside the old one (beside
// the file a symbolic link names) and takes its place in one rename, with
// the old file's permissions; a read-only file is made writable first. On
// failure the file is as it was and no temporary file is left.
// Everything is read and checked under the writers' lock (LockedBase,
// `checks`): a base without a clean state (kNoOriginState, its
// `OriginTag` empty) or with a damaged header (kDamagedHeader) is left
// alone, and so is one whose base part would not load on its own
// (kBasePartUnloadable; without a change section to cut, the loader's own
// status). On success `*report` (when given) says what was cut.
Status RestoreBasePart(const std::string& path, const WriteChecks& checks,
                       RestoreReport* report = nullptr,
                       FileSystem& fs = RealFileSystem());

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_RESTORE_H_
