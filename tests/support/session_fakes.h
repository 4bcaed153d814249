// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_SESSION_FAKES_H_
#define SPRAVKA_TESTS_SUPPORT_SESSION_FAKES_H_

#include <cerrno>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/file_checks.h"
#include "app/file_type.h"
#include "app/message_boxes.h"
#include "app/rules/stripes.h"
#include "app/settings.h"

namespace spravka::testing {

// Settings in memory instead of the user's store.
class MapSettingsStore : public SettingsStore {
 public:
  std::optional<std::string> Read(const std::string& name) override {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(const std::string& name, const std::string& value) override {
    values[name] = value;
  }
  std::map<std::string, std::string> values;
};

// Records every box; questions take their answers from a queue and fail
// the test when it runs dry (an unexpected question).
class RecordingBoxes : public MessageBoxes {
 public:
  struct Box {
    MessageKind kind;
    std::string text;
    bool operator==(const Box&) const = default;
  };
  void Show(MessageKind kind, const std::string& text) override {
    shown.push_back({kind, text});
    if (on_show) on_show();
  }
  bool Ask(const std::string& question) override {
    shown.push_back({MessageKind::kConfirmation, question});
    if (on_ask) on_ask();
    if (answers.empty()) {
      unexpected_questions++;
      return false;
    }
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<Box> shown;
  std::deque<bool> answers;
  int unexpected_questions = 0;
  std::function<void()> on_ask;   // runs while a question is up
  std::function<void()> on_show;  // runs while a message is up
};

// The real file system with a probe that can be told to fail, as on a
// read-only medium (root ignores permission bits, so chmod cannot).
class ProbeSwitchFileChecks : public RealFileChecks {
 public:
  ProbeResult ProbeWrite(const std::string& folder) override {
    probed.push_back(folder);
    if (read_only) return {};
    return RealFileChecks::ProbeWrite(folder);
  }
  // A scan of the folder that stops part way, as on a failing disk.
  Status ListBaseFiles(const std::string& folder,
                       std::vector<std::string>* names) override {
    Status status = RealFileChecks::ListBaseFiles(folder, names);
    if (scan_fails) {
      return Status::IoError(FileOperation::kListFolder, folder, EIO);
    }
    return status;
  }
  bool read_only = false;
  bool scan_fails = false;
  std::vector<std::string> probed;
};

// Keeps the association in memory; can be told to fail.
class FakeFileTypeStore : public FileTypeStore {
 public:
  std::string CommandFor(const std::string& executable) const override {
    return "run " + executable;
  }
  std::string StoredCommand() override {
    ++reads;
    if (read_throws) throw std::runtime_error("no access");
    return stored;
  }
  bool Write(const std::string& executable) override {
    writes.push_back(executable);
    if (write_fails) return false;
    stored = CommandFor(executable);
    return true;
  }
  bool ProvidedByInstallation() const override { return provided; }
  bool StoredProgramGone() override {
    ++reads;
    return gone;
  }
  bool Remove() override {
    ++removes;
    stored.clear();
    return true;
  }
  std::string stored;
  int reads = 0;
  std::vector<std::string> writes;
  int removes = 0;
  bool read_throws = false;
  bool write_fails = false;
  bool provided = false;  // by the installation
  bool gone = false;      // the stored command's program
};

inline Rgb TrueColour(Rgb c) { return c; }

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_SESSION_FAKES_H_
