# SPDX-License-Identifier: GPL-3.0-or-later
# build, then export: the records come back as they went in.
source "$(dirname "$0")/lib.sh" "$1"

printf '%s\n' \
  $'234567\tИванова А.П.\tЛенина\t12а\t\t5\tЦентр' \
  $'234568\tЁжиков Ё.Ё.\tпр. Мира\t7/1\t2\t\tЗаречье' \
  $'\t\t\t\t\t\t' \
  $'999999\t«Кавычки» № 5 — тире\tул. Latin mix\t1\t\t\t' >home.tsv
printf '%s\n' \
  $'111111\tШкола № 1\tДиректор\tМира\t2\t\t12\tЦентр' \
  $'111112\tООО «Вектор»\t\tСадовая\t1\t3\t101\t' >org.tsv

run 0 build base.qz --home home.tsv --org org.tsv --stamp 5 \
  --title "Город" --caption "Справочник города" --description "Проба"
run 0 export base.qz --table home
cmp -s out home.tsv || fail "home table differs: $(diff out home.tsv)"
run 0 export base.qz --table org
cmp -s out org.tsv || fail "org table differs: $(diff out org.tsv)"

# The raw bytes are the Windows-1251 form of the same text.
if command -v iconv >/dev/null; then
  run 0 export base.qz --table home --encoding cp1251
  iconv -f UTF-8 -t CP1251 home.tsv | cmp -s out - ||
    fail "cp1251 export differs"
fi

# The header says what was asked; a stamp makes the file repeat exactly.
run 0 info base.qz
for line in "Title: Город" "Caption: Справочник города" "Description: Проба" \
  "BaseStamp: 5" "HomeRecords: 4" "OrgRecords: 2" "OriginTag: " \
  "NumberLength: 6" "TableGrowth: 100024" "ChangeSection: нет"; do
  expect_in out "$line"
done
cp base.qz first.qz
run 0 build base.qz --home home.tsv --org org.tsv --stamp 5 --force \
  --title "Город" --caption "Справочник города" --description "Проба"
cmp -s base.qz first.qz || fail "the same input and stamp gave another file"

# Fewer field kinds: fewer columns, the new-base layout, and short lines
# padded with empty fields.
printf '%s\n' $'1\tА\t3' $'2' >narrow.tsv
run 0 build narrow.qz --home narrow.tsv --home-fields subscriber,number,house \
  --org-fields number,organisation --number-length 4 --origin-tag Town
run 0 info narrow.qz
expect_in out "HomeFieldCount: 3"
expect_in out "HomeFields: 0x0B (number, subscriber, house)"
expect_in out "OrgColWidths: 134 441"
expect_in out "NumberLength: 4"
expect_in out "OriginTag: Town"
run 0 export narrow.qz --table home
printf '%s\n' $'1\tА\t3' $'2\t\t' | cmp -s out - || fail "narrow export: $(cat out)"
run 0 export narrow.qz --table org
[ ! -s out ] || fail "empty org table exported lines"
run 0 check narrow.qz
