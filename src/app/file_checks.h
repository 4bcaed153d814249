// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_FILE_CHECKS_H_
#define SPRAVKA_APP_FILE_CHECKS_H_

#include <optional>
#include <string>
#include <vector>

#include "storage/status.h"

namespace spravka {

// The outcome of a write probe in a folder.
struct ProbeResult {
  bool writable = false;
  // Fails when the probe file was made but could not be closed or removed:
  // worth telling, though the folder is writable.
  Status cleanup;
};

// The questions the shell asks the file system about folders: which bases
// a folder holds, a base's file by its real name, whether two folders are
// one, whether a folder can be written. Paths are absolute. Tests
// substitute their own answers (a read-only folder, for one).
//
// Why this is not storage's `FileSystem`: that one reads and replaces the
// bytes of one base file, every step returning a `Status`, and its fakes
// fail those steps one by one; these are the shell's yes-or-no questions
// about names and folders, which no writer asks and whose fakes answer
// differently (a folder that is read-only, a probe that fails).
class FileChecks {
 public:
  virtual ~FileChecks() = default;

  // The names (not paths) of the files in `folder` whose names end in
  // ".qz" in any letter case. A scan that fails part way is a failure
  // (kListFolder), with the names read until then.
  virtual Status ListBaseFiles(const std::string& folder,
                               std::vector<std::string>* names) = 0;

  // The path of the base file `base` + ".qz" by its real name: the exact
  // name when it exists, else the one file of that name with ".qz" in
  // another case, else the one file whose name matches without regard to
  // letter case. None when there is no such file, or more than one.
  virtual std::optional<std::string> FindBaseFile(const std::string& base) = 0;

  // Whether two folders are the same folder on disk.
  virtual bool SameFolder(const std::string& a, const std::string& b) = 0;

  // Creates a probe file in `folder` and removes it again. The probe never
  // truncates or removes a file that was there before.
  virtual ProbeResult ProbeWrite(const std::string& folder) = 0;
};

// The real file system.
class RealFileChecks : public FileChecks {
 public:
  Status ListBaseFiles(const std::string& folder,
                       std::vector<std::string>* names) override;
  std::optional<std::string> FindBaseFile(const std::string& base) override;
  bool SameFolder(const std::string& a, const std::string& b) override;
  ProbeResult ProbeWrite(const std::string& folder) override;
};

// The probe file's name, "$$$.$$$".
inline constexpr char kProbeFileName[] = "$$$.$$$";

}  // namespace spravka

#endif  // SPRAVKA_APP_FILE_CHECKS_H_
