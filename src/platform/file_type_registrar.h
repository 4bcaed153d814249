// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_FILE_TYPE_REGISTRAR_H_
#define SPRAVKA_PLATFORM_FILE_TYPE_REGISTRAR_H_

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/file_type.h"

class QThread;

namespace spravka {

// The file type registration (`RegisterFileType`) of one run of the
// program, done aside: on a thread of its own, begun a while after it is
// asked for, when the window is up. Its file writes and the desktop's
// refresh tools (`update-mime-database` alone takes 60-100 ms) would
// otherwise hold the start. Only the first request of a run counts. The
// store is used by the registrar's thread alone from the first request
// on; the destructor waits for that thread.
class FileTypeRegistrar : public QObject {
 public:
  // `store` (not owned) outlives the registrar; none: nothing is ever
  // registered.
  explicit FileTypeRegistrar(FileTypeStore* store, int delay_ms = 1000);
  ~FileTypeRegistrar() override;

  void Request(bool folder_read_only, std::string program_folder,
               std::string executable);
  // Begins a requested registration now, if it has not begun, and waits
  // for it to end. True when it wrote or removed the association.
  bool Wait();
  // Whether a requested registration has ended.
  bool finished() const { return finished_; }

 private:
  void Begin();

  FileTypeStore* store_;
  int delay_ms_;
  std::function<void()> job_;  // the request, until it begins
  std::unique_ptr<QThread> thread_;
  std::atomic<bool> written_ = false;
  std::atomic<bool> finished_ = false;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_FILE_TYPE_REGISTRAR_H_
