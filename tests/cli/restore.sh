# SPDX-License-Identifier: GPL-3.0-or-later
# restore: the change section goes, the base part stays byte for byte; a
# base without an origin tag is refused.
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo town.qz --home 300 --org 30 --seed 5
cp town.qz clean.qz
printf 'a change section of another build' >>town.qz
run 0 restore town.qz
expect_in out "база в исходном состоянии, отрезано байт: 33."
cmp -s town.qz clean.qz || fail "restore did not leave the base part"
run 0 restore town.qz
expect_in out "отрезано байт: 0."
run 0 check town.qz

printf '%s\n' $'1\tА' >one.tsv
run 0 build mine.qz --home one.tsv
printf 'changes' >>mine.qz
cp mine.qz mine.before
run 1 restore mine.qz
expect_in err "OriginTag пуст"
cmp -s mine.qz mine.before || fail "a refused restore changed the file"

run 1 restore absent.qz
run 2 restore
