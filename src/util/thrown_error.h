// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UTIL_THROWN_ERROR_H_
#define SPRAVKA_UTIL_THROWN_ERROR_H_

#include <string>

namespace spravka {

// The text the user is shown for the error being handled; call it only
// inside a catch block. Memory running out has a text of its own.
std::string ThrownErrorText();

}  // namespace spravka

#endif  // SPRAVKA_UTIL_THROWN_ERROR_H_
