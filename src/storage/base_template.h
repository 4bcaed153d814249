// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_BASE_TEMPLATE_H_
#define SPRAVKA_STORAGE_BASE_TEMPLATE_H_

#include <string>

namespace spravka {

// The built-in template of a new base (831 bytes): one placeholder record
// per table, deleted by the change section. Bytes 4..739 are a header
// slot that the creator of a base overwrites.
const std::string& BaseTemplate();

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_BASE_TEMPLATE_H_
