#!/usr/bin/env bash
# The wizard read through AT-SPI as a screen reader reads it, page by page,
# driven by key presses: the program staged in STAGE runs under Xvfb with a
# session bus of its own and a fresh home (drive C:, with a SIREL folder to
# offer). Skips (exit 77) where Xvfb, the session bus or pyatspi is missing.
#
#   tests/atspi/run.sh STAGE
set -euo pipefail
stage=$(cd "$1" && pwd)
for tool in xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "SKIP: python3-pyatspi is missing"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home/SIREL"
export HOME="$tmp/home" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
unset DISPLAY WAYLAND_DISPLAY
# A display number of its own: "xvfb-run -a" can hand the same number to two
# runs that start together; a run whose display went away is tried again.
for attempt in 1 2 3; do
  rc=0
  timeout 120 xvfb-run -n $((200 + RANDOM % 500)) -s "-screen 0 1024x768x24" \
    dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/read_window.py" "$stage/sirelsetup" \
    >"$tmp/out" 2>&1 || rc=$?
  cat "$tmp/out"
  grep -q "could not connect to display" "$tmp/out" || exit $rc
  echo "the display went away; again ($attempt)"
done
exit 1
