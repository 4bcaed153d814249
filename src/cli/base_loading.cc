#include "cli/base_loading.h"

#include <algorithm>
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

bool ReadBaseFileForCommand(const std::string& path, BaseFileView* view) {
  if (!ReadInputFile(path, &view->file)) return false;
  std::string error;
  if (!ReadBaseFileLayout(view->file, &view->layout, &error)) {
    Fail(path + ": " + error);
    return false;
  }
  HeaderBytes scrambled;
  std::copy_n(view->file.begin() + view->layout.header_offset, kHeaderSize,
              scrambled.begin());
  view->header = BaseHeader::FromFile(scrambled);
  if (view->header.CheckTag != view->header.FormatTag) {
    Fail(path + ": " + kDamagedHeaderText);
    return false;
  }
  return true;
}

}  // namespace spravka::cli
