# SPDX-License-Identifier: GPL-3.0-or-later
# In a console window the Russian help and messages read as Russian: the
# program runs on a terminal (Wine's console shows it there in UTF-8).
source "$(dirname "$0")/lib.sh" "$1"

# on_console ARGS...: the program's console text in ./screen, the screen
# control sequences taken out (a cursor moved right stands for a blank).
on_console() {
  local command
  printf -v command '%q ' "$cli" "$@"
  LC_ALL=C.UTF-8 script -qec "$command" /dev/null >raw 2>&1 || true
  sed -E 's/\x1b\[[0-9]*C/ /g; s/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\r//g' raw >screen
}

on_console --help
expect_in screen "Использование: spravka-cli КОМАНДА [ПАРАМЕТРЫ]"
expect_in screen "подробности о команде."
on_console info "Нет такого.qz"
expect_in screen "Нет такого.qz"
expect_in screen "не найден"
