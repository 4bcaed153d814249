// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_BASE_LOADING_H_
#define SPRAVKA_CLI_BASE_LOADING_H_

#include <string>

#include "app/base_messages.h"
#include "storage/base_file.h"
#include "storage/base_header.h"
#include "storage/record_store.h"
#include "storage/status.h"

namespace spravka::cli {

// Reads and loads the base as the window would. When it cannot be loaded,
// prints the program's message and returns false; a change section that
// the load leaves out is reported as a warning.
bool LoadForCommand(const std::string& path, RecordStore* store);
// The same for the bytes of the base file `path`, already read.
bool LoadBytesForCommand(const std::string& path, std::string bytes,
                         RecordStore* store);

// Reads the file, its layout and its header. When it cannot be read, its
// layout does not hold or its header is damaged, prints why and returns
// false.
bool ReadBaseFileForCommand(const std::string& path, BaseFile* base);

// Prints the program's message for a failed operation on the base `path`;
// returns kExitOpenInWindow for a base a window holds open, else
// kExitFailure.
int FailWith(const Status& status, BaseAction action, const std::string& path);
// FailWith for a command that changes the base `path` and takes --force
// as leave to change it under a window: a refusal for a window says so.
int FailWithLeave(const Status& status, const std::string& path);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_BASE_LOADING_H_
