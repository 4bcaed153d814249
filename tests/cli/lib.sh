# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the command-line checks: the program under test ($1), a scratch
# folder that goes away afterwards, and helpers that fail with a reason.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# True when the program is a Windows build run through its emulator, which
# sees a POSIX symbolic link as the file it names.
emulated() {
  [[ $cli == *-emulated ]]
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# run WANT ARGS...: runs spravka-cli, expecting exit code WANT; its output
# is left in ./out and ./err.
run() {
  local want=$1
  shift
  local got=0
  "$cli" "$@" >out 2>err || got=$?
  [ "$got" -eq "$want" ] ||
    fail "spravka-cli $*: exit $got, want $want; stderr: $(cat err)"
}

# expect_in FILE TEXT: FILE holds TEXT.
expect_in() {
  grep -qF -- "$2" "$1" || fail "$1 lacks «$2»: $(cat "$1")"
}
