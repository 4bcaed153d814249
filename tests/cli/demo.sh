# SPDX-License-Identifier: GPL-3.0-or-later
# demo: a sound town, the same file for the same seed.
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo a.qz --home 3000 --org 400 --seed 11
run 0 demo b.qz --home 3000 --org 400 --seed 11
cmp -s a.qz b.qz || fail "one seed gave two files"
run 0 demo c.qz --home 3000 --org 400 --seed 12
! cmp -s a.qz c.qz || fail "two seeds gave one file"

run 0 check a.qz
expect_in out "3000 квартирных телефонов, 400 телефонов организаций"
run 0 export a.qz --table home
[ "$(wc -l <out)" -eq 3000 ] || fail "home export has $(wc -l <out) lines"
[ "$(cut -f1 out | sort -u | wc -l)" -eq 3000 ] || fail "numbers repeat"
awk -F'\t' 'NF != 7 || $2 !~ /^[^ ]+ [^ .]+\.[^ .]+\.$/ { exit 1 }' out ||
  fail "a residential line is not number, surname with initials, ...: $(head -3 out)"
run 0 export a.qz --table org
awk -F'\t' 'NF != 8 { exit 1 }' out || fail "an organisation line lacks fields"

# Empty tables are a valid town too.
run 0 demo empty.qz --home 0 --org 0
run 0 check empty.qz
