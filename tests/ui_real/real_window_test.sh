#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real-window tests on an X server (Xvfb) with a window manager
# (openbox), with a 1,000,000-record demo town whose numbers have seven
# digits, and a program to drag files from (moved by xdotool); then the
# framed window's place once more at a display scale of 2.
# Usage: real_window_test.sh TEST_BINARY SPRAVKA_CLI WORK_FOLDER DRAG_SOURCE
set -euo pipefail
test_binary=$1
cli=$2
work=$3
drag_source=${4:-}

if ! command -v xvfb-run >/dev/null; then
  echo "SKIPPED: xvfb-run is not installed, the real window cannot be shown"
  exit 77
fi
if ! command -v openbox >/dev/null; then
  echo "FAILED: openbox is needed as the window manager" \
       "(scripts/install-deps --tests)"
  exit 1
fi

rm -rf "$work"
mkdir -p "$work/town" "$work/home" "$work/config"
"$cli" demo "$work/town/Миллионград.qz" --home 1000000 --org 100000 --seed 1 >/dev/null
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/home" \
  XDG_DATA_HOME="$work/data"
mkdir -p "$work/splash"
export SPRAVKA_REAL_TOWN_DIR="$work/town" SPRAVKA_SHOT="$work/shot.png" \
  SPRAVKA_DIALOG_SHOT="$work/dialog.png" SPRAVKA_SPLASH_SHOTS="$work/splash" \
  SPRAVKA_DRAG_SOURCE="$drag_source"

# On the X server: the window manager first, then the tests.
cat >"$work/on-display.sh" <<'INNER'
#!/usr/bin/env bash
set -u
test_binary=$1
work=$2
openbox --sm-disable --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 1 100); do
  [ -e "$work/wm-ready" ] && break
  sleep 0.1
done
if [ ! -e "$work/wm-ready" ]; then
  echo "FAILED: openbox did not start"
  cat "$work/openbox.log"
  kill "$wm" 2>/dev/null
  exit 1
fi
SPRAVKA_WINDOW_MANAGER=openbox QT_QPA_PLATFORM=xcb QTEST_DISABLE_STACK_DUMP=1 \
  "$test_binary"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit "$status"
INNER
chmod +x "$work/on-display.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/on-display.sh" "$test_binary" "$work"
# The framed window again, at a display scale of 2 on a larger screen.
rm -f "$work/wm-ready"
QT_SCALE_FACTOR=2 SPRAVKA_UI_TEST=WindowOnScreenTest \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$work/on-display.sh" "$test_binary" "$work"
echo "screenshots: $work/shot.png $work/dialog.png $work/splash/"
