#ifndef SPRAVKA_STORAGE_STATUS_H_
#define SPRAVKA_STORAGE_STATUS_H_

#include <string>
#include <utility>

namespace spravka {

// The result of a file operation. The message is UTF-8 and ready to show.
class Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  explicit Status(std::string message)
      : failed_(true), message_(std::move(message)) {}
  bool failed_ = false;
  std::string message_;
};

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_STATUS_H_
