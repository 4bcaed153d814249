// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_POSIX_FILE_SUPPORT_H_
#define SPRAVKA_STORAGE_POSIX_FILE_SUPPORT_H_

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"
#include "storage/status.h"

namespace spravka {

// FileSystem::LockFile on POSIX: an exclusive open-file-description lock
// on the writers' byte of the base's lock file (made when missing and
// `make_lock_file` says so). Polls every few milliseconds until `wait` has
// passed. A base that is a pipe or device is refused (kNotRegularFile)
// without opening it.
Status PosixLockForWriting(const std::string& path,
                           std::chrono::milliseconds wait, bool make_lock_file,
                           std::unique_ptr<FileLock>* lock);

// FileSystem::MarkOpen on POSIX: a shared open-file-description lock on the
// mark byte of the base's lock file; another window's mark shows as a
// conflict with an exclusive probe. None (and nothing elsewhere) when the
// base is missing or no lock file can be had.
std::unique_ptr<FileLock> PosixMarkOpen(const std::string& path,
                                        bool* open_elsewhere);

// FileSystem::IsMarkedOpen on POSIX.
bool PosixIsMarkedOpen(const std::string& path);

// FileSystem::ReadFile on POSIX: opens without blocking (a FIFO would wait
// for a writer forever), refuses anything but a regular file
// (kNotRegularFile), and reads to the end, however long the file has grown
// since its size was taken.
Status PosixReadRegularFile(const std::string& path, std::string* contents);

// FileSystem::ListFolder on POSIX.
Status PosixListFolder(const std::string& folder,
                       std::vector<std::string>* names);

// Flushes the folder that holds `path` to the disk, so that a rename into
// it outlives a power loss. A file system that cannot sync folders is no
// failure.
Status PosixSyncFolderOf(const std::string& path);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_POSIX_FILE_SUPPORT_H_
