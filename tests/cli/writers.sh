# SPDX-License-Identifier: GPL-3.0-or-later
# Writers of one base take turns: while another program holds the writers'
# lock, every writing command fails, says why and changes nothing.
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo town.qz --home 300 --org 30 --seed 2
cp town.qz before.qz
for command in "optimize town.qz" "restore town.qz"; do
  got=0
  # shellcheck disable=SC2086
  flock town.qz "$cli" $command >out 2>err || got=$?
  [ "$got" -eq 1 ] || fail "$command under a held lock: exit $got"
  expect_in err "town.qz сейчас записывается другой программой"
  cmp -s town.qz before.qz || fail "$command changed a locked base"
done
# Let go, the same commands work.
run 0 optimize town.qz
run 0 restore town.qz
