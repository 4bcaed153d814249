#!/usr/bin/env bash
# Runs the real-window tests on an X server (Xvfb) with a 1,000,000-record
# demo town whose numbers have seven digits.
# Usage: real_window_test.sh TEST_BINARY SPRAVKA_CLI WORK_FOLDER
set -euo pipefail
test_binary=$1
cli=$2
work=$3

if ! command -v xvfb-run >/dev/null; then
  echo "SKIPPED: xvfb-run is not installed, the real window cannot be shown"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/town" "$work/home" "$work/config"
"$cli" demo "$work/town/Миллионград.qz" --home 1000000 --org 100000 --seed 1 >/dev/null
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/home"
export SPRAVKA_REAL_TOWN_DIR="$work/town" SPRAVKA_SHOT="$work/shot.png"
xvfb-run -a -s "-screen 0 1024x768x24" \
  env QT_QPA_PLATFORM=xcb QTEST_DISABLE_STACK_DUMP=1 "$test_binary"
echo "screenshot: $work/shot.png"
