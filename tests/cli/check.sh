# SPDX-License-Identifier: GPL-3.0-or-later
# check: exit 0 for a sound base, 1 with the finding for a damaged one.
source "$(dirname "$0")/lib.sh" "$1"

run 0 demo good.qz --home 500 --org 50 --seed 3
run 0 check good.qz
size=$(stat -c %s good.qz)

# damaged NAME OFFSET: good.qz with 4 bytes overwritten at OFFSET.
damaged() {
  cp good.qz "$1"
  printf '\x5A\xA5\x3C\xC3' | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
  ! cmp -s good.qz "$1" || fail "$1 is not damaged"
}

damaged header.qz 738           # the check tag
run 1 check header.qz
expect_in out "Поврежден заголовок"
expect_in err "база неисправна"

damaged stream.qz 900           # inside the residential stream
run 1 check stream.qz
expect_in out "квартирные телефоны"

damaged trailer.qz $((size - 4))  # the trailer's stamp
run 1 check trailer.qz

head -c $((size - 100)) good.qz >short.qz
run 1 check short.qz

# Changes that belong to no build of this base.
cp good.qz foreign.qz
printf 'twelve bytes' >>foreign.qz
run 1 check foreign.qz
expect_in out "другой сборки"

# Up to four stray bytes are no change section.
cp good.qz stray.qz
printf 'abcd' >>stray.qz
run 0 check stray.qz

run 1 check nothing.qz
expect_in err "nothing.qz"
