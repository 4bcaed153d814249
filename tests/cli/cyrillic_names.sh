# SPDX-License-Identifier: GPL-3.0-or-later
# Files named in Cyrillic letters, in folders named so, are read and written
# under their own names; messages name them as given.
source "$(dirname "$0")/lib.sh" "$1"

mkdir "Базы города"
printf '%s\n' $'234567\tИванова А.П.\tЛенина\t12а\t\t5\tЦентр' >"Базы города/дома.tsv"
run 0 build "Базы города/Ёлкино.qz" --home "Базы города/дома.tsv" --stamp 7
[ -f "Базы города/Ёлкино.qz" ] || fail "no file named Ёлкино.qz: $(ls "Базы города")"
run 0 export "Базы города/Ёлкино.qz" --table home
cmp -s out "Базы города/дома.tsv" || fail "the table came back otherwise: $(cat out)"
run 0 demo "Новый город.qz" --home 30 --org 3
run 0 optimize "Новый город.qz"
[ -f "Новый город.~qz" ] || fail "no backup named Новый город.~qz: $(ls)"
run 0 check "Новый город.qz"
run 1 info "Нет такого.qz"
expect_in err "Нет такого.qz"
leftover=$(ls | grep -v -x -e "Базы города" -e "Новый город.qz" \
  -e "Новый город.~qz" -e out -e err || true)
[ -z "$leftover" ] || fail "files left behind: $leftover"
