// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_NEW_FILE_H_
#define SPRAVKA_STORAGE_NEW_FILE_H_

#include <string>
#include <string_view>

#include "storage/file_system.h"
#include "storage/status.h"

namespace spravka {

// Putting a complete new file in place of a base: with the previous file
// kept as its backup, or under a name no file has. The callers hold the
// writers' lock of the base.

// The backup name: the path with ".qz" replaced by ".~qz" (appended when the
// name does not end with ".qz" in any letter case).
std::string BackupName(const std::string& path);

// Gives the file at `path` the name `backup` too (a hard link, or a copy
// where links are not to be had), replacing any file of that name in one
// rename: the file keeps its own name throughout.
Status KeepAsBackup(FileSystem& fs, const std::string& path,
                    const std::string& backup);

// Puts `written`, a complete temporary file beside `path`, in place of the
// file `path` (links resolved), which becomes `backup`; the backup is
// replaced only now, and the base's name never lacks a file. A read-only
// file in the way is made writable first. A failure before the last rename
// leaves `path` as it was (and a backup made only for this write goes with
// it).
Status PutInPlaceKeepingBackup(FileSystem& fs, TemporaryFile& written,
                               const std::string& path,
                               const std::string& backup);

// Writes `bytes` as the file `path` (links resolved): complete and on the
// disk in a temporary file beside it first. kCreate then gives it the name
// only while no file has it: a file that appeared meanwhile stays, and the
// status is kIoError with EEXIST on `path`. kReplaceKeepingBackup puts it
// in place of a file that is there, kept as its backup
// (PutInPlaceKeepingBackup), or under the free name as kCreate does. On
// failure no temporary file is left and whatever was there stays.
enum class NewFileMode { kCreate, kReplaceKeepingBackup };
Status WriteNewFile(FileSystem& fs, const std::string& path,
                    std::string_view bytes, NewFileMode mode);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_NEW_FILE_H_
