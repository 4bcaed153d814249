#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the manual page of spravka-cli (troff, UTF-8) from the program's
# own --help and --version texts, so that the page and the program never
# disagree.
# Usage: cli-man-page.sh SPRAVKA_CLI VERSION OUTPUT
set -euo pipefail
cli=$1
version=$2
output=$3

# Text as troff reads it: backslashes and minus signs escaped, and a line
# that would begin with a control character guarded.
escape() {
  sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e 's/^\([.'"'"']\)/\\\&\1/'
}

help=$("$cli" --help)
synopsis=$(sed -n '1s/^[^:]*: *//p' <<<"$help")
summary=$(sed -n '2p' <<<"$help")
# "  name   summary" lines between "Команды:" and the next empty line.
commands=$(sed -n '/^Команды:$/,/^$/{/^  [a-z]/p}' <<<"$help")
# What follows that list: how to get more help.
after=$(sed -n '/^Команды:$/,$p' <<<"$help" | sed -n '/^$/,$p' | sed '/^$/d')
[ -n "$synopsis" ] && [ -n "$commands" ] || {
  echo "cli-man-page.sh: $cli --help has no usage line or no commands" >&2
  exit 1
}

{
  echo ".TH SPRAVKA\\-CLI 1 \"\" \"spravka $version\" \"Телефонный справочник\""
  echo ".SH НАЗВАНИЕ"
  echo "spravka\\-cli \\- $(escape <<<"${summary%.}")"
  echo ".SH ОБЗОР"
  echo ".nf"
  escape <<<"$synopsis"
  echo "spravka\\-cli \\-\\-help"
  echo "spravka\\-cli \\-\\-version"
  echo ".fi"
  echo ".SH ОПИСАНИЕ"
  escape <<<"$summary"
  while IFS= read -r line; do
    echo ".PP"
    escape <<<"$line"
  done <<<"$after"
  echo ".SH КОМАНДЫ"
  while read -r name text; do
    echo ".SS $(escape <<<"$name")"
    escape <<<"$text."
    echo ".PP"
    echo ".nf"
    "$cli" "$name" --help | escape
    echo ".fi"
  done <<<"$commands"
  # The copyright and licence lines of --version, after its first line.
  echo ".SH \"АВТОРСКИЕ ПРАВА\""
  "$cli" --version | tail -n +2 | escape | sed 's/^/.br\n/' | tail -n +2
  echo ".SH \"СМ. ТАКЖЕ\""
  echo ".BR spravka (1)"
} >"$output.tmp"
mv "$output.tmp" "$output"
