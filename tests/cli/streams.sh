# SPDX-License-Identifier: GPL-3.0-or-later
# A table comes from a pipe as well as from a file, read to its end; a base
# is only ever a regular file: a FIFO or device in its place is refused at
# once, never waited on.
source "$(dirname "$0")/lib.sh" "$1"

printf '%s\n' $'1\tА' $'2\tБ' $'3\tВ' >t.tsv
cat t.tsv | "$cli" build piped.qz --home /dev/stdin >out 2>err ||
  fail "build from a pipe: $(cat err)"
expect_in out "piped.qz: 3 квартирных телефонов"
"$cli" build substituted.qz --home <(cat t.tsv) >out 2>err ||
  fail "build from a process substitution: $(cat err)"
expect_in out "substituted.qz: 3 квартирных телефонов"

mkfifo fifo.qz
for command in check info export optimize restore search; do
  got=0
  timeout 10 "$cli" "$command" fifo.qz >out 2>err || got=$?
  [ "$got" -eq 1 ] || [ "$got" -eq 2 ] || fail "$command fifo.qz: exit $got"
  [ "$got" -ne 124 ] || fail "$command fifo.qz waited on the FIFO"
done
run 1 check fifo.qz
expect_in err "fifo.qz - не обычный файл"
run 1 check /dev/null
expect_in err "/dev/null - не обычный файл"
