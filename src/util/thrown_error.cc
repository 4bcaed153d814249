// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/thrown_error.h"

#include <exception>
#include <new>

namespace spravka {

std::string ThrownErrorText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "Недостаточно памяти";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Неизвестная ошибка";
  }
}

}  // namespace spravka
