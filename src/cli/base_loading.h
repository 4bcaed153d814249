#ifndef SPRAVKA_CLI_BASE_LOADING_H_
#define SPRAVKA_CLI_BASE_LOADING_H_

#include <string>

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

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_BASE_LOADING_H_
