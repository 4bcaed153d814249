// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_FIELD_KINDS_H_
#define SPRAVKA_CLI_FIELD_KINDS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/record_table.h"

namespace spravka::cli {

// The names the command line uses for the field kinds of a table, by kind.
std::string_view KindName(TableId table, int kind);
int KindCount(TableId table);

// "number,subscriber,street" (names or kind digits, any order) to the
// field bits of a header. Number and subscriber (organisation) must be
// among them, as in the new-base dialog. False with a message otherwise.
bool ParseFieldKinds(TableId table, std::string_view list, uint16_t* bits,
                     std::string* error);

// The present kinds by name, in column order: "number, subscriber, street".
std::string DescribeFieldKinds(TableId table, uint16_t bits);

// "home" or "org"; false for anything else.
bool ParseTableName(std::string_view name, TableId* table);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_FIELD_KINDS_H_
