# SPDX-License-Identifier: GPL-3.0-or-later
# demo and build write a new base: an existing one only with --force (and
# then it stays beside as the backup), never anything but a regular file,
# never one of their own inputs.
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo town.qz --home 50 --org 5 --seed 1
cp town.qz first.qz
printf '%s\n' $'1\tА' >t.tsv
for command in "demo town.qz --seed 2" "build town.qz --home t.tsv"; do
  # shellcheck disable=SC2086
  run 1 $command
  expect_in err "town.qz: файл уже есть; заменить его можно с --force"
  cmp -s town.qz first.qz || fail "$command replaced an existing base"
done
run 0 demo town.qz --home 60 --org 5 --seed 2 --force
cmp -s town.~qz first.qz || fail "the replaced base is not kept as the backup"
run 0 check town.qz

# Its own input, under any name, with or without --force.
cp t.tsv in.qz
ln -s in.qz alias.qz
for out in in.qz alias.qz ./in.qz; do
  run 1 build "$out" --home in.qz --force
  expect_in err "это входной файл"
done
cmp -s in.qz t.tsv || fail "build overwrote its own input"

# A FIFO, or a link to one, stays what it is.
mkfifo fifo.qz
ln -s fifo.qz to-fifo.qz
for out in fifo.qz to-fifo.qz; do
  run 1 demo "$out" --force
  expect_in err "не обычный файл"
done
[ -p fifo.qz ] || fail "the FIFO was replaced"
[ -L to-fifo.qz ] || fail "the link was replaced"
