// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/console.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/base_messages.h"
#include "cli/base_loading.h"
#include "storage/cp1251.h"
#include "storage/file_system.h"
#include "storage/new_file.h"

namespace spravka::cli {

int Fail(std::string_view message) {
  std::fprintf(stderr, "spravka-cli: %s\n", ForTerminal(message).c_str());
  return kExitFailure;
}

int UsageError(std::string_view command, std::string_view message) {
  std::fprintf(stderr,
               "spravka-cli %.*s: %.*s\n"
               "Подробности: spravka-cli %.*s --help\n",
               static_cast<int>(command.size()), command.data(),
               static_cast<int>(message.size()), message.data(),
               static_cast<int>(command.size()), command.data());
  return kExitUsage;
}

void Warn(std::string_view message) {
  std::fprintf(stderr, "spravka-cli: предупреждение: %s\n",
               ForTerminal(message).c_str());
}

std::string ForTerminal(std::string_view message) {
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r' && i + 1 < message.size() &&
        message[i + 1] == '\n') {
      continue;
    }
    out.push_back(message[i]);
  }
  return out;
}

std::string Show(std::string_view cp1251) { return Cp1251ToUtf8(cp1251); }

bool ReadInputFile(const std::string& path, std::string* bytes) {
  const Status status = RealFileSystem().ReadFile(path, bytes);
  if (!status.ok()) {
    Fail(StatusMessage(status, BaseAction::kLoading, path).text);
  }
  return status.ok();
}

bool ReadInputStream(const std::string& path, std::string* bytes) {
  // A file through the file system (which knows the system's names); a
  // pipe, FIFO or device, which it refuses, read to the end of the stream.
  const Status status = RealFileSystem().ReadFile(path, bytes);
  if (status.code() != StatusCode::kNotRegularFile) {
    if (!status.ok()) {
      Fail(StatusMessage(status, BaseAction::kLoading, path).text);
    }
    return status.ok();
  }
  bytes->clear();
  std::FILE* in = std::fopen(path.c_str(), "rb");
  int error = in ? 0 : errno;
  if (in) {
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
      bytes->append(buffer, n);
    if (std::ferror(in)) error = errno != 0 ? errno : EIO;
    std::fclose(in);
  }
  if (error != 0) {
    Fail(StatusMessage(Status::IoError(FileOperation::kRead, path, error),
                       BaseAction::kLoading, path)
             .text);
    return false;
  }
  return true;
}

namespace {

// A UTF-8 path as the standard library takes it on every system.
std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string AlreadyThere(const std::string& path) {
  return path +
         ": файл уже есть; заменить его можно с --force (прежний "
         "останется рядом с расширением .~qz)";
}

// Why `path` may not become a new base, if it may not.
struct Refusal {
  int exit_code = 0;
  std::string message;
};
Refusal NewBaseRefusal(const std::string& path, bool force,
                       const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    std::error_code error;
    if (std::filesystem::equivalent(PathOf(path), PathOf(input), error)) {
      return {kExitFailure,
              path + ": это входной файл; новой базе нужно другое имя"};
    }
  }
  std::error_code error;
  const auto status = std::filesystem::status(PathOf(path), error);
  if (!std::filesystem::exists(status)) return {};
  if (!std::filesystem::is_regular_file(status)) {
    return {kExitFailure,
            StatusMessage(Status::OfFile(StatusCode::kNotRegularFile, path),
                          BaseAction::kWriting, path)
                .text};
  }
  if (!force) return {kExitFailure, AlreadyThere(path)};
  if (RealFileSystem().IsMarkedOpen(path)) {
    return {kExitOpenInWindow,
            StatusMessage(Status::OfFile(StatusCode::kOpenInWindow, path),
                          BaseAction::kWriting, path)
                .text};
  }
  return {};
}

}  // namespace

int CheckNewBase(const std::string& path, bool force,
                 const std::vector<std::string>& inputs) {
  const Refusal refusal = NewBaseRefusal(path, force, inputs);
  if (refusal.exit_code != 0) Fail(refusal.message);
  return refusal.exit_code;
}

int WriteNewBase(const std::string& path, std::string_view bytes, bool force,
                 const std::vector<std::string>& inputs) {
  FileSystem& fs = RealFileSystem();
  std::unique_ptr<FileLock> lock;
  Status status =
      fs.LockForWriting(path, &lock, FileSystem::LockTarget::kNewBase);
  if (!status.ok()) return FailWith(status, BaseAction::kWriting, path);
  if (const int refused = CheckNewBase(path, force, inputs)) return refused;
  const std::string target = fs.ResolveLinks(path);
  status = WriteNewFile(
      fs, target, bytes,
      force ? NewFileMode::kReplaceKeepingBackup : NewFileMode::kCreate);
  // Another program made the file while this one wrote it.
  if (status.code() == StatusCode::kIoError &&
      status.error_number() == EEXIST && status.path() == target) {
    return Fail(AlreadyThere(path));
  }
  if (!status.ok()) return FailWith(status, BaseAction::kWriting, path);
  return 0;
}

}  // namespace spravka::cli
