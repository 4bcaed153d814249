#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `--version` of each program prints its name and version and the licence
# the way GNU programs do, the window program without a display, and a
# notice that cannot be written is a failure.
# Usage: version_notice_test.sh VERSION PROGRAM...
set -euo pipefail
version=$1
shift

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

expected_terms="Copyright (C) 2026 Spravka developers.
Лицензия GPLv3+: GNU GPL версии 3 или новее <https://gnu.org/licenses/gpl.html>.
Это свободное ПО: вы можете изменять и распространять его.
Нет НИКАКИХ ГАРАНТИЙ в пределах действующего законодательства."

for program in "$@"; do
  name=$(basename "$program")
  # No display of any kind: the notice comes before anything would need one.
  notice=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
           timeout 20 "$program" --version) || fail "$name --version: exit $?"
  [ "$(head -n1 <<<"$notice")" = "$name $version" ] ||
    fail "$name --version begins «$(head -n1 <<<"$notice")», not «$name $version»"
  [ "$(tail -n +2 <<<"$notice")" = "$expected_terms" ] ||
    fail "$name --version gives other terms: $notice"
  if [ -w /dev/full ]; then
    ! env -u DISPLAY "$program" --version >/dev/full 2>/dev/null ||
      fail "$name --version reports success on a full disk"
  fi
  echo "$name: $(head -n1 <<<"$notice")"
done
