// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_SAVE_H_
#define SPRAVKA_STORAGE_SAVE_H_

#include <array>
#include <cstdint>
#include <string>

#include "storage/base_header.h"
#include "storage/file_system.h"
#include "storage/record_store.h"
#include "storage/status.h"

namespace spravka {

// Writes both change lists as the change section behind the unchanged base
// part of `path`, cutting off any older, longer section. The new file is
// written beside the old one and replaces it in one rename, so a failure
// leaves the previous file as it was. A read-only file is made writable.
// Both writers hold the writers' lock (kBaseLocked) and write nothing when
// the file is no longer the one `store.loaded_file` names, base part or
// change section (kBaseChanged). On success `*written` (when given)
// identifies the file written: the caller's next write expects it.
Status SaveChanges(const std::string& path, const RecordStore& store,
                   FileSystem& fs = RealFileSystem(),
                   BaseFileId* written = nullptr);

// Stores the grid column widths (columns 1..n of each grid) in the header
// of the file and of `store`; every other header byte stays as read. Like
// saving, the file is replaced in one rename, so a failure leaves it (and
// `store`) as it was; on success `store->loaded_file` identifies the new
// file. A read-only file is made writable. kDamagedHeader when the file's
// header tags differ.
Status SaveColumnWidths(const std::string& path,
                        const std::array<int32_t, kHomeKinds>& home,
                        const std::array<int32_t, kOrgKinds>& org,
                        RecordStore* store, FileSystem& fs = RealFileSystem());

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_SAVE_H_
