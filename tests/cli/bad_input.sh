# SPDX-License-Identifier: GPL-3.0-or-later
# build refuses bad TSV naming file and line, and bad options, and writes
# nothing then.
source "$(dirname "$0")/lib.sh" "$1"

printf '%s\n' $'1\tА' $'2\tБ\t\t\t\t\t\tлишнее' >fields.tsv
run 1 build out.qz --home fields.tsv
expect_in err "fields.tsv:2: полей 8, а в таблице 7"

printf '%s\n' $'1\tА' '' $'3\tБ\x02' >control.tsv
run 1 build out.qz --org control.tsv
expect_in err "control.tsv:3: управляющий знак 0x02 в поле 2"

printf '%s\n' $'1\tΩmega' >greek.tsv
run 1 build out.qz --home greek.tsv
expect_in err "greek.tsv:1: знак «Ω» нельзя записать в Windows-1251"

# A message about text that is not UTF-8 is UTF-8 itself.
for bad in '\xED\xA0\x80' '\xE0\x80\x80' '\xF4\x90\x80\x80'; do
  printf "1\t$bad\n" >bad.tsv
  run 1 build out.qz --home bad.tsv
  expect_in err "bad.tsv:1: текст не в кодировке UTF-8 (поле 2)"
  iconv -f UTF-8 -t UTF-8 err >/dev/null || fail "the message for $bad is not UTF-8"
done

# A field list must fit the table it belongs to.
printf '%s\n' $'1\tА\tул' >three.tsv
run 1 build out.qz --home three.tsv --home-fields number,subscriber
expect_in err "three.tsv:1: полей 3, а в таблице 2"

run 1 build out.qz --home missing.tsv
expect_in err "missing.tsv"
[ ! -e out.qz ] || fail "a refused build left out.qz"

# Options that make no sense are usage errors (exit 2).
for args in "--number-length 8" "--number-length x" "--stamp -1" \
  "--home-fields number,street" "--org-fields number,organisation,floor" \
  "--title $(printf 'Ж%.0s' {1..31})" "--caption Ω" "--bogus" ""; do
  # shellcheck disable=SC2086
  run 2 build $args
done
run 2 build a.qz b.qz
run 2 export
run 2 export base.qz --table flats
run 2 nosuchcommand
run 0 build --help
expect_in out "--home-fields"
[ ! -e out.qz ] || fail "a refused build left out.qz"

# Output that cannot be written is a failure, whatever the command.
run 0 demo small.qz --home 20 --org 5
for args in "info small.qz" "check small.qz" "export small.qz --table org" \
  "demo other.qz --home 1 --org 1" "--help" "info --help"; do
  # shellcheck disable=SC2086
  if "$cli" $args >/dev/full 2>err; then
    fail "spravka-cli $args wrote into a full disk and succeeded"
  fi
  expect_in err "не удалось записать"
done
