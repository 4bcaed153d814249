# SPDX-License-Identifier: GPL-3.0-or-later
# Writers of one base take turns, and a base open in a window is left to
# it: while another program holds the writers' lock, every writing command
# fails, says why and changes nothing; while a window holds the base open,
# they refuse with an exit code of their own unless given leave to (which
# demo and build never take: they would replace the window's base). A new
# name taken while demo waits for the lock is not replaced.
# $2: the program that holds a base (tests/cli/hold_base.cc).
source "$(dirname "$0")/lib.sh" "$1"
hold=$2

run 0 demo town.qz --home 300 --org 30 --seed 2
printf '%s\n' $'1\tА' >t.tsv
cp town.qz before.qz
commands=("optimize town.qz" "restore town.qz" "demo town.qz --force"
          "build town.qz --home t.tsv --force")
for command in "${commands[@]}"; do
  for holder in writer window; do
    got=0
    # shellcheck disable=SC2086
    "$hold" $holder town.qz "$cli" $command >out 2>err || got=$?
    if [ $holder = writer ]; then
      [ "$got" -eq 1 ] || fail "$command under a held lock: exit $got"
      expect_in err "town.qz сейчас записывается другой программой"
    else
      [ "$got" -eq 3 ] || fail "$command under a window: exit $got"
      expect_in err "town.qz открыта в окне программы"
    fi
    cmp -s town.qz before.qz || fail "$command changed a held base"
  done
done
# Leave given, optimize and restore go ahead under the window.
"$hold" window town.qz "$cli" optimize town.qz --force >out 2>err ||
  fail "optimize --force under a window: $(cat err)"
"$hold" window town.qz "$cli" restore town.qz --force >out 2>err ||
  fail "restore --force under a window: $(cat err)"
# Let go, the same commands work.
run 0 optimize town.qz
run 0 restore town.qz
run 0 demo town.qz --force --seed 3

# demo on a new name that another program fills while demo waits for the
# lock: the file that came first stays.
"$hold" writer new.qz sleep 1 &
holder=$!
sleep 0.2
got=0
"$cli" demo new.qz --home 10 --org 1 >out 2>err &
demo=$!
sleep 0.3
cp before.qz new.qz
wait "$demo" || got=$?
wait "$holder"
[ "$got" -eq 1 ] || fail "demo on a name taken meanwhile: exit $got"
expect_in err "new.qz: файл уже есть"
cmp -s new.qz before.qz || fail "demo replaced a file that came first"

# restore counts what it cuts under the lock: a change section another
# program adds while restore waits is the one it reports and cuts.
cp before.qz town.qz
"$hold" writer town.qz sleep 1 &
holder=$!
sleep 0.2
"$cli" restore town.qz >out 2>err &
restore=$!
sleep 0.3
printf '%050d' 0 >>town.qz
wait "$restore" || fail "restore after the wait: $(cat err)"
wait "$holder"
expect_in out "отрезано байт: 50."
cmp -s town.qz before.qz || fail "restore left a change section"
