// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_STATUS_H_
#define SPRAVKA_STORAGE_STATUS_H_

#include <cstdint>
#include <string>
#include <utility>

namespace spravka {

// What went wrong. The user's message for each is built in one place,
// app/base_messages.h; this layer writes no text for the user.
enum class StatusCode {
  kOk,
  // A file operation failed: operation(), path(), and error_number() (the
  // system's errno) or, without one, system_text().
  kIoError,
  // The file's lengths do not hold together as a base's: problem().
  kDamagedLayout,
  // The header's two tags differ, or its field counts are out of range.
  kDamagedHeader,
  // The format tag is not "A".
  kUnsupportedFormat,
  // The stamps differ, or a table section is unusable.
  kDamagedBase,
  // A rebuilt base part does not read back as written: problem().
  kRebuiltUnreadable,
  // An error was thrown (memory, compression): system_text() says which.
  kUnexpected,
  // Another writer holds the base and did not let go in time: path().
  kBaseLocked,
  // The base part on the disk is no longer the one that was loaded
  // (another program optimised, reset or replaced it): nothing was written.
  kBaseChanged,
  // The path names a pipe, device, folder or other non-regular file: path().
  kNotRegularFile,
  // The base part would not load on its own once the change section is
  // cut off: nothing was written.
  kBasePartUnloadable,
  // A window holds the base at path() open, and the command was not given
  // leave to change it under the window: nothing was written.
  kOpenInWindow,
  // The base has no clean state to go back to (its OriginTag is empty):
  // nothing was written.
  kNoOriginState,
};

// The file operation of a kIoError.
enum class FileOperation { kRead, kWrite, kRename, kRemove, kListFolder };

// What in a base file does not hold (kDamagedLayout, kRebuiltUnreadable).
// The section problems name their table with problem_table().
enum class BaseProblem {
  kNone,
  kShorterThanHeader,
  kLengthPastEnd,
  kHeaderOutsideBasePart,
  kBytesAfterBasePart,
  kUnreadableHeader,
  kStampDiffers,
  kSectionLengths,
  kSectionInflates,  // figure(): the stated text length
  kSectionRecords,   // a record too long, without its end, or too many
  kRecordCount,      // figure(): records found; expected(): records written
  kBytesAfterTables,
};

// Which table a section problem is in.
enum class ProblemTable { kNone, kHome, kOrg };

// The result of an operation on a base: kOk, or a code with its detail.
class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }

  static Status IoError(FileOperation operation, std::string path,
                        int error_number) {
    Status s(StatusCode::kIoError);
    s.operation_ = operation;
    s.path_ = std::move(path);
    s.error_number_ = error_number;
    return s;
  }
  // A failure that comes with the system's text and no errno.
  static Status IoError(FileOperation operation, std::string path,
                        std::string system_text) {
    Status s(StatusCode::kIoError);
    s.operation_ = operation;
    s.path_ = std::move(path);
    s.system_text_ = std::move(system_text);
    return s;
  }
  // kDamagedHeader, kUnsupportedFormat, kDamagedBase, kBaseChanged,
  // kBasePartUnloadable, kNoOriginState.
  static Status Damaged(StatusCode code) { return Status(code); }
  // kDamagedLayout, kRebuiltUnreadable.
  static Status Problem(StatusCode code, BaseProblem problem,
                        ProblemTable table = ProblemTable::kNone,
                        int64_t figure = 0, int64_t expected = 0) {
    Status s(code);
    s.problem_ = problem;
    s.problem_table_ = table;
    s.figure_ = figure;
    s.expected_ = expected;
    return s;
  }
  // kBaseLocked, kNotRegularFile, kOpenInWindow: about the file at `path`.
  static Status OfFile(StatusCode code, std::string path) {
    Status s(code);
    s.path_ = std::move(path);
    return s;
  }
  static Status Unexpected(std::string text) {
    Status s(StatusCode::kUnexpected);
    s.system_text_ = std::move(text);
    return s;
  }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }

  FileOperation operation() const { return operation_; }
  // The file (or folder) the failed operation was on; for a rename, the
  // file renamed. It may be a temporary file beside the one the user named.
  const std::string& path() const { return path_; }
  int error_number() const { return error_number_; }
  const std::string& system_text() const { return system_text_; }

  BaseProblem problem() const { return problem_; }
  ProblemTable problem_table() const { return problem_table_; }
  int64_t figure() const { return figure_; }
  int64_t expected() const { return expected_; }

  // Set when the failure left the base under another name: the path it
  // has now.
  const std::string& base_moved_to() const { return base_moved_to_; }
  Status WithBaseMovedTo(std::string path) && {
    base_moved_to_ = std::move(path);
    return std::move(*this);
  }

 private:
  explicit Status(StatusCode code) : code_(code) {}

  StatusCode code_ = StatusCode::kOk;
  FileOperation operation_ = FileOperation::kRead;
  std::string path_;
  int error_number_ = 0;
  std::string system_text_;
  BaseProblem problem_ = BaseProblem::kNone;
  ProblemTable problem_table_ = ProblemTable::kNone;
  int64_t figure_ = 0;
  int64_t expected_ = 0;
  std::string base_moved_to_;
};

// Says that a failure is of no consequence where it is ignored (a
// temporary file that could not be removed, a backup left over); the
// comment beside the call says why.
inline void IgnoreError(const Status& /*status*/) {}

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_STATUS_H_
