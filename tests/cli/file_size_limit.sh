# SPDX-License-Identifier: GPL-3.0-or-later
# A write beyond the file-size limit fails with a message, removes its
# temporary file and leaves the base as it was (the process is not killed).
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo town.qz --home 20000 --org 2000 --seed 2
cp town.qz before.qz
[ "$(stat -c %s town.qz)" -gt 204800 ] || fail "the town is too small for the limit"
got=0
(ulimit -f 100 && "$cli" optimize town.qz --stamp 5) >out 2>err || got=$?
[ "$got" -eq 1 ] || fail "optimize under a file-size limit: exit $got, want 1: $(cat err)"
expect_in err "Не удалось записать файл"
cmp -s town.qz before.qz || fail "the base changed"
leftover=$(ls -A | grep -v -x -e town.qz -e before.qz -e out -e err \
  -e .town.qz.lock -e .big.qz.lock || true)
[ -z "$leftover" ] || fail "files left behind: $leftover"

got=0
(ulimit -f 100 && "$cli" demo big.qz --home 20000 --org 2000) >out 2>err || got=$?
[ "$got" -eq 1 ] || fail "demo under a file-size limit: exit $got, want 1"
[ ! -e big.qz ] || fail "a failed demo left big.qz"
leftover=$(ls -A | grep -v -x -e town.qz -e before.qz -e out -e err \
  -e .town.qz.lock -e .big.qz.lock || true)
[ -z "$leftover" ] || fail "files left behind: $leftover"

# A forced demo that fails part way (as on a full disk) keeps the old
# backup: it is replaced only once the new file is complete.
printf 'the old backup' >town.~qz
got=0
(ulimit -f 100 && "$cli" demo town.qz --home 20000 --org 2000 --force) \
  >out 2>err || got=$?
[ "$got" -eq 1 ] || fail "demo --force under a file-size limit: exit $got"
expect_in err "Не удалось записать файл town.qz: файл больше"
cmp -s town.qz before.qz || fail "the base changed"
[ "$(cat town.~qz)" = "the old backup" ] || fail "the old backup is gone"
leftover=$(ls -A | grep -v -x -e town.qz -e town.~qz -e before.qz -e out \
  -e err -e .town.qz.lock -e .big.qz.lock || true)
[ -z "$leftover" ] || fail "files left behind: $leftover"
