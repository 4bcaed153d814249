# SPDX-License-Identifier: GPL-3.0-or-later
# optimize: the same records in a rebuilt base, the old file kept as .~qz.
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo town.qz --home 800 --org 90 --seed 4
cp town.qz before.qz
run 0 export town.qz --table home
mv out home.before
run 0 export town.qz --table org
mv out org.before

run 0 optimize town.qz --stamp 77
expect_in out "Записей: 890, изменений: 0."
expect_in out "База Оптимизирована."
expect_in out "800 квартирных телефонов и"
expect_in out "90 телефонов организаций."
cmp -s town.~qz before.qz || fail "the backup is not the previous file"

run 0 check town.qz
run 0 info town.qz
expect_in out "BaseStamp: 77"
expect_in out "TableGrowth: 104800"
run 0 export town.qz --table home
cmp -s out home.before || fail "optimisation changed the residential records"
run 0 export town.qz --table org
cmp -s out org.before || fail "optimisation changed the organisation records"

# A base without an origin tag gets one.
printf '%s\n' $'1\tА' >one.tsv
run 0 build mine.qz --home one.tsv
run 0 optimize mine.qz
run 0 info mine.qz
expect_in out "OriginTag: Kodrin_Uni"

run 1 optimize absent.qz

# Through a symbolic link the backup lies beside the file, and is reported
# where it lies (a Windows build under its emulator sees the link as the
# file itself).
if ! emulated; then
  mkdir real
  run 0 demo real/linked.qz --home 20 --org 2 --seed 6
  ln -s real/linked.qz link.qz
  run 0 optimize link.qz
  expect_in out "Прежняя база: $(pwd -P)/real/linked.~qz"
  [ -f real/linked.~qz ] || fail "no backup beside the linked file"
  [ ! -e link.~qz ] || fail "a backup beside the link"
fi
