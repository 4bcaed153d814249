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

// FileSystem::LockForWriting on POSIX: an exclusive flock() on the file
// itself, taken again when the name came to mean another file while it
// waited (a writer replaced the base by a rename). Polls every few
// milliseconds until `wait` has passed. A pipe or device is refused
// (kNotRegularFile) without blocking on it.
Status PosixLockForWriting(const std::string& path,
                           std::chrono::milliseconds wait,
                           std::unique_ptr<FileLock>* lock);

// FileSystem::MarkOpen on POSIX: a shared open-file-description lock on a
// byte far beyond any base's end, which a writer's flock() does not meet;
// another window's mark shows as a conflict with an exclusive probe. None
// (and nothing elsewhere) when the file cannot be opened.
std::unique_ptr<FileLock> PosixMarkOpen(const std::string& path,
                                        bool* open_elsewhere);

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
