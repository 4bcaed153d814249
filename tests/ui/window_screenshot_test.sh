#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens a demo town in the real program under Xvfb, takes a screenshot of
# the screen and checks that it shows a filled grid, not a blank window.
# Usage: window_screenshot_test.sh SPRAVKA SPRAVKA_CLI WORK_FOLDER
set -euo pipefail
spravka=$1
cli=$2
work=$3

if ! command -v xvfb-run >/dev/null; then
  echo "SKIPPED: xvfb-run is not installed, the real window cannot be shown"
  exit 77
fi

for tool in import convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAILED: ImageMagick's $tool is needed to take and read the screenshot" \
         "(scripts/install-deps --tests installs it)"
    exit 1
  fi
done

rm -rf "$work"
mkdir -p "$work/town" "$work/home" "$work/config"
"$cli" demo "$work/town/Демоград.qz" --home 20000 --org 2000 --seed 1 >/dev/null
# The program's settings and its file association go to folders of the
# test, never the user's.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/home" \
  XDG_DATA_HOME="$work/data"

cat >"$work/shoot.sh" <<'INNER'
#!/usr/bin/env bash
set -u
spravka=$1
work=$2
cd "$work/town"
"$spravka" "Демоград.qz" &
pid=$!
# The grid area (the window opens at the top left without a window
# manager): the share of dark pixels, i.e. text, in it.
dark=0
for _ in $(seq 1 40); do
  sleep 0.5
  import -window root "$work/shot.png" 2>/dev/null || continue
  dark=$(convert "$work/shot.png" -crop 560x360+0+60 +repage -colorspace Gray \
           -threshold 50% -format "%[fx:1-mean]" info:)
  if awk -v d="$dark" 'BEGIN { exit !(d > 0.04) }'; then break; fi
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
echo "$dark" >"$work/dark.txt"
INNER
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$work/shoot.sh" "$spravka" "$work" 2>"$work/xvfb.log" || true

dark=$(cat "$work/dark.txt" 2>/dev/null || echo 0)
echo "screenshot: $work/shot.png (share of dark pixels in the grid area: $dark)"
if ! awk -v d="$dark" 'BEGIN { exit !(d > 0.04) }'; then
  echo "FAILED: the grid area shows no records"
  cat "$work/xvfb.log" >&2 || true
  exit 1
fi
if [ -e "$work/config/Kodrin_Common.conf" ]; then
  echo "settings written to the test's own folder"
fi
