// SPDX-License-Identifier: GPL-3.0-or-later
// Holds a base as another program would while a command runs: the writers'
// lock ("writer") or a window's open mark ("window"), through the program's
// own file system. The command-line checks run the commands under it.
// Usage: hold_base writer|window BASE COMMAND [ARGUMENT...]
// Exits with the command's exit code (127 when it could not be run).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: hold_base writer|window BASE COMMAND [ARGUMENT...]\n");
    return 2;
  }
  const std::string what = argv[1];
  spravka::FileSystem& fs = spravka::RealFileSystem();
  std::unique_ptr<spravka::FileLock> held;
  if (what == "writer") {
    if (!fs.LockForWriting(argv[2], &held,
                           spravka::FileSystem::LockTarget::kNewBase)
             .ok() ||
        !held) {
      std::fprintf(stderr, "hold_base: cannot lock %s\n", argv[2]);
      return 2;
    }
  } else if (what == "window") {
    bool elsewhere = false;
    held = fs.MarkOpen(argv[2], &elsewhere);
    if (!held) {
      std::fprintf(stderr, "hold_base: cannot mark %s\n", argv[2]);
      return 2;
    }
  } else {
    std::fprintf(stderr, "hold_base: writer or window, not %s\n", argv[1]);
    return 2;
  }
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[3], argv + 3);
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return 127;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}
