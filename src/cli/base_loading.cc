#include "cli/base_loading.h"

#include <utility>

#include "app/base_messages.h"
#include "cli/console.h"

namespace spravka::cli {
namespace {

bool Report(const std::string& path, const LoadReport& report) {
  if (report.status != LoadStatus::kOk) {
    const BaseMessage message = LoadFailureMessage(report, path);
    // An input/output error names the file itself.
    Fail(report.status == LoadStatus::kIoError ? message.text
                                               : path + ": " + message.text);
    return false;
  }
  const std::string changes = ChangeSectionMessage(report.changes, path);
  if (!changes.empty()) Warn(changes);
  return true;
}

}  // namespace

bool LoadForCommand(const std::string& path, std::string file,
                    RecordStore* store) {
  return Report(path, LoadBaseFromBytes(std::move(file), store));
}

bool LoadForCommand(const std::string& path, RecordStore* store) {
  return Report(path, LoadBase(path, store));
}

}  // namespace spravka::cli
