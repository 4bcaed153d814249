#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The start-up timing ends whatever it started, also when the X server
# reports an error about a window that is gone before it is looked at, and
# also when the program under it never shows a window.
# Usage: window_start_timing_test.sh WINDOW_START_TIMING VANISHING_WINDOW
set -uo pipefail
timing=$1
program=$2
if ! command -v xvfb-run >/dev/null; then
  echo "SKIPPED: xvfb-run is not installed"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/on-display.sh" <<INNER
#!/usr/bin/env bash
set -u
failed=0
left_running() {
  local pid
  for pid in \$(cat "\$1"); do
    # An ended process whose parent is gone may wait as a zombie for a
    # reaper that never comes (in a container): that one has ended.
    if kill -0 "\$pid" 2>/dev/null &&
       [ "\$(cut -d' ' -f3 "/proc/\$pid/stat" 2>/dev/null)" != Z ]; then
      echo "FAILED: process \$pid was left running (\$2)"
      kill -9 "\$pid"
      failed=1
    fi
  done
}
# A window gone before it is looked at, then one that stays. (Into a file:
# a program left running would hold a pipe open.)
if ! "$timing" 300 "$program" "$work/pids" >"$work/output"; then
  echo "FAILED: the timing stopped at the vanished window"
  failed=1
elif ! grep -Eqx '[0-9.]+ [0-9.]+' "$work/output"; then
  echo "FAILED: unexpected output '\$(cat "$work/output")'"
  failed=1
fi
left_running "$work/pids" "vanished window"
# The timing interrupted while it waits for a wide enough window.
"$timing" 100000 "$program" "$work/pids-narrow" >/dev/null 2>&1 &
timing_pid=\$!
sleep 1
kill -TERM "\$timing_pid"
wait "\$timing_pid"
left_running "$work/pids-narrow" "timing interrupted"
exit \$failed
INNER
chmod +x "$work/on-display.sh"
xvfb-run -a -s "-screen 0 800x600x24" "$work/on-display.sh"
