#ifndef SPRAVKA_CLI_BASE_LOADING_H_
#define SPRAVKA_CLI_BASE_LOADING_H_

#include <string>

#include "storage/base_file.h"
#include "storage/base_header.h"
#include "storage/record_store.h"

namespace spravka::cli {

// Loads the base as the window would. When it cannot be loaded, prints the
// program's message and returns false; a change section that the load
// leaves out is reported as a warning. `file` is the whole file at `path`,
// already read.
bool LoadForCommand(const std::string& path, std::string file,
                    RecordStore* store);

// The same, reading the file first.
bool LoadForCommand(const std::string& path, RecordStore* store);

// A base file with its layout and header, for a command that looks at the
// file itself.
struct BaseFileView {
  std::string file;
  BaseFileLayout layout;
  BaseHeader header;
};

// Reads the file, its layout and its header. When it cannot be read, its
// layout does not hold or its header is damaged, prints why and returns
// false.
bool ReadBaseFileForCommand(const std::string& path, BaseFileView* view);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_BASE_LOADING_H_
