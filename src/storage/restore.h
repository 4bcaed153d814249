// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_RESTORE_H_
#define SPRAVKA_STORAGE_RESTORE_H_

#include <string>

#include "storage/file_system.h"
#include "storage/status.h"

namespace spravka {

// Resets the base file at `path` to its clean state: the file is cut to its
// base part (its first `BasePartLength` bytes), so every saved change is
// gone. The base part is written to a new file beside the old one (beside
// the file a symbolic link names) and takes its place in one rename, with
// the old file's permissions; a read-only file is made writable first. On
// failure the file is as it was and no temporary file is left. The
// writers' lock is held throughout (kBaseLocked). A base part that would
// not load on its own is not written (kBasePartUnloadable). Whether the
// base may be reset (its `OriginTag`) is the caller's question.
Status RestoreBasePart(const std::string& path,
                       FileSystem& fs = RealFileSystem());

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_RESTORE_H_
