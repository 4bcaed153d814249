# SPDX-License-Identifier: GPL-3.0-or-later
# search: the rows a grid would show and the count label, as the window
# builds its patterns.
source "$(dirname "$0")/lib.sh" "$1"

printf '%s\n' \
  $'234567\tИванова А.П.\tЛенина\t12а\t\t5\tЦентр' \
  $'234568\tПетров И.И.\tпр. Мира\t12\t2\t\tЗаречье' \
  $'234569\tСеливанов К.К.\tЛенина\t125\t\t7\tЦентр' \
  $'234570\tСемёнов Б.Б.\tСадовая\t3\t\t1\tЦентр' \
  $'234571\tКузнецов В.В.\tСадовая\t4\t\t2\tЦентр' >home.tsv
printf '%s\n' $'111111\tШкола № 1\tДиректор\tМира\t2\t\t12\tЦентр' >org.tsv
run 0 build base.qz --home home.tsv --org org.tsv --stamp 5

# Universal: keywords in order, case folded, layout fixed.
run 0 search base.qz --table home --universal "иван лен"
printf '%s\n' $'234567\tИванова А.П.\tЛенина\t12а\t\t5\tЦентр' \
  $'234569\tСеливанов К.К.\tЛенина\t125\t\t7\tЦентр' '2 зап.' |
  cmp -s out - || fail "universal: $(cat out)"
run 0 search base.qz --table home --universal "Bdfy"
expect_in out "2 зап."
run 0 search base.qz --table home --universal "лен иван"
[ "$(cat out)" = "0 зап." ] || fail "keyword order: $(cat out)"

# Detailed: "^" for a prefix, "$" for a word end, kinds by number or name.
run 0 search base.qz --table home --field 1=^Иван
[ "$(tail -1 out)" = "1 зап." ] || fail "caret: $(cat out)"
run 0 search base.qz --table home --field house=12$
[ "$(cut -f1 out | head -1)" = 234568 ] || fail "word end: $(cat out)"
expect_in out "1 зап."
run 0 search base.qz --table home --field 3=12 --field 2=лен
expect_in out "2 зап."

# "е" finds "ё", and a search that finds nothing shows similar records,
# unless switched off.
run 0 search base.qz --table home --universal "семенов"
expect_in out "Семёнов Б.Б."
expect_in out "1 зап."
run 0 search base.qz --table home --universal "семенов" --yo=off
[ "$(tail -1 out)" = "1 зап. — похожие" ] || fail "--yo=off: $(cat out)"
run 0 search base.qz --table home --universal "семенов" --yo=off --typo=off
[ "$(cat out)" = "0 зап." ] || fail "--yo=off --typo=off: $(cat out)"
run 0 search base.qz --table home --universal "кузницов сад"
[ "$(tail -1 out)" = "1 зап. — похожие" ] || fail "similar: $(cat out)"
expect_in out "Кузнецов В.В."
run 0 search base.qz --table home --field subscriber=кузницов --typo=on
[ "$(tail -1 out)" = "1 зап. — похожие" ] || fail "similar field: $(cat out)"
run 0 search base.qz --table home --universal "кузницов" --typo=off
[ "$(cat out)" = "0 зап." ] || fail "--typo=off: $(cat out)"
run 0 search base.qz --table home --field house=5
[ "$(cat out)" = "0 зап." ] || fail "digits are never widened: $(cat out)"

# A complete number replaces the other criteria.
run 0 search base.qz --table home --field 0=234568 --field 1=Иванова
expect_in out "Петров И.И."
# The organisation table; the number lives only there and is not looked up
# in the other table.
run 0 search base.qz --table org --field 1=шк
expect_in out "1 зап."
run 0 search base.qz --table home --universal 111111
[ "$(cat out)" = "0 зап." ] || fail "number in the other table: $(cat out)"

# The cap: 1000 rows, the marker row, "более 1000 зап."; --all lifts it.
run 0 demo town.qz --home 1500 --org 10 --seed 3
run 0 search town.qz --table home --universal ""
[ "$(wc -l <out)" -eq 1002 ] || fail "capped search has $(wc -l <out) lines"
[ "$(sed -n 1001p out)" = $'. . . . .\t. . . . .\t. . . . .\t. . . . .\t. . . . .\t. . . . .\t. . . . .' ] ||
  fail "marker row: $(sed -n 1001p out)"
[ "$(tail -1 out)" = "более 1000 зап." ] || fail "count: $(tail -1 out)"
run 0 search town.qz --table home --universal "" --all
[ "$(tail -1 out)" = "1500 зап." ] || fail "--all: $(tail -1 out)"
run 0 export town.qz --table home
head -1000 out >first.tsv
run 0 search town.qz --table home --field subscriber=
head -1000 out | cmp -s - first.tsv || fail "rows are not in table order"

# Nonsense is refused.
run 2 search base.qz --table home
run 2 search base.qz --table home --universal x --field 1=x
run 2 search base.qz --table home --field 9=x
run 2 search base.qz --table shop --universal x
run 2 search base.qz --table home --universal x --yo=maybe
run 2 search base.qz --table home --universal x --typo
run 1 search missing.qz --table home --universal x
