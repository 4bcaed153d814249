# SPDX-License-Identifier: GPL-3.0-or-later
# A failed write names the file it is about and says why in Russian, with
# no English system text; a restore that cannot load the base fails.
source "$(dirname "$0")/lib.sh" "$1"

# The reason after the file's name holds no Latin letters.
no_english() {
  ! sed 's/^.*qz: //' "$1" | grep -q '[A-Za-z]' || fail "English: $(cat "$1")"
}

run 0 demo town.qz --home 300 --org 30 --seed 2
cp town.qz before.qz

# The backup's name is a folder: the message is about the backup.
mkdir town.~qz
run 1 optimize town.qz
expect_in err "Не удалось записать файл town.~qz: это папка, а не файл"
no_english err
cmp -s town.qz before.qz || fail "the base changed"
rmdir town.~qz

# A base name as long as a name may be: the backup's name is one too long,
# and the message names the backup.
long=$(printf 'n%.0s' $(seq 252)).qz
run 0 demo "$long" --home 30 --org 3
run 1 optimize "$long"
expect_in err "Не удалось записать файл ${long%.qz}.~qz: слишком длинное имя файла"
no_english err

# Symbolic links that go round in a circle.
ln -s loop.qz loop.qz
run 1 optimize loop.qz
expect_in err "loop.qz: символические ссылки ведут по кругу"
no_english err

# A base whose tables do not load, with no change section to cut: the
# restore says so and fails, rather than calling the base restored.
cp before.qz broken.qz
printf '\xff\xff\xff\xff\xff\xff\xff\xff' |
  dd of=broken.qz bs=1 seek=2000 conv=notrunc status=none
run 1 restore broken.qz
expect_in err "Невозможно загрузить базу"
! grep -q 'в исходном состоянии' out err ||
  fail "a restore that cannot load the base reported success"
