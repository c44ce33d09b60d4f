#!/usr/bin/env bash
# The staged Linux program runs from the stage alone: in a private mount
# namespace the system's Qt plugin folder is an empty file system and every
# libQt6 file of the system is an empty file. The program as built (which has
# no Qt beside it) must then fail to start; the staged one installs without
# a window, starts its window offscreen and on an X server (Xvfb, with a
# screenshot), and every libQt6 and plugin it maps comes from the stage.
#
#   tests/stage_alone.sh STAGE BUILT_PROGRAM SHOTS_DIR
#
# Prints "SKIP: ..." and exits 0 where the system refuses the namespace or
# the mounts.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 STAGE BUILT_PROGRAM SHOTS_DIR" >&2
  exit 2
fi
stage=$(realpath "$1")
built=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
qtlibdir=/usr/lib/x86_64-linux-gnu

if [ -z "${STAGE_ALONE_INSIDE:-}" ]; then
  if ! err=$(unshare -m --propagation private true 2>&1); then
    echo "SKIP: no private mount namespace here (unshare -m: $err)"
    exit 0
  fi
  STAGE_ALONE_INSIDE=1 exec unshare -m --propagation private "$0" "$@"
fi

tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Hide the system's Qt.
: >"$tmp/empty"
if ! err=$(mount -t tmpfs -o ro,size=4k tmpfs "$qtlibdir/qt6" 2>&1); then
  echo "SKIP: the system refuses the mounts that hide its Qt ($err)"
  exit 0
fi
hidden=0
for f in "$qtlibdir"/libQt6*.so*; do
  if [ -f "$f" ] && [ ! -L "$f" ]; then
    mount --bind "$tmp/empty" "$f"
    hidden=$((hidden + 1))
  fi
done
echo "hidden: $qtlibdir/qt6 and $hidden libQt6 files"
[ ! -s "$qtlibdir/libQt6Core.so.6" ] || fail "the system's libQt6Core.so.6 is not hidden"

rc=0
"$built" /? >/dev/null 2>"$tmp/built.err" || rc=$?
if [ $rc -eq 0 ]; then
  fail "the program as built started without the system's Qt"
else
  echo "the program as built does not start without the system's Qt: $(head -n 1 "$tmp/built.err")"
fi

# stage_only WHAT PATHS...: every libQt6 and Qt plugin among the paths lies
# in the stage, and the three the program needs are there.
stage_only() {
  local what=$1
  shift
  local qt
  qt=$(printf '%s\n' "$@" | grep -E '/libQt6[^/]*$|/plugins/' | sort -u || true)
  local outside
  outside=$(printf '%s\n' "$qt" | grep -v "^$stage/qt/" || true)
  [ -z "$outside" ] || fail "$what: Qt loaded from outside the stage: $outside"
  for lib in libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6; do
    printf '%s\n' "$qt" | grep -qx "$stage/qt/lib/$lib" || fail "$what: $lib not loaded from the stage"
  done
  echo "$what: $(printf '%s\n' "$qt" | grep -c .) Qt files, all from the stage"
}

# The install without a window, its loading traced by the loader.
rc=0
LD_DEBUG=libs LD_DEBUG_OUTPUT="$tmp/ld" "$stage/sirelsetup" /S /ACCEPTLICENSE /COMPONENTS=macros,dxf \
  "/SIREL=Z:${tmp//\//\\}\\target\\SIREL" "/DXF=Z:${tmp//\//\\}\\target\\CAD" >"$tmp/silent.out" 2>&1 || rc=$?
if [ $rc -ne 0 ]; then
  fail "the staged program's install without a window: exit $rc: $(tail -n 3 "$tmp/silent.out")"
fi
mapfile -t loaded < <(cat "$tmp"/ld.* | sed -n 's/.*calling init: //p')
stage_only "install without a window" "${loaded[@]}"

# wait_for_maps PID PLUGIN: waits up to 30 s until the process maps PLUGIN.
wait_for_maps() {
  for _ in $(seq 300); do
    grep -q "$2" "/proc/$1/maps" 2>/dev/null && return 0
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
mapped() { awk '$6 ~ /^\// { print $6 }' "/proc/$1/maps" | sort -u; }

QT_QPA_PLATFORM=offscreen "$stage/sirelsetup" >"$tmp/offscreen.out" 2>&1 &
pid=$!
pids+=("$pid")
if wait_for_maps "$pid" /platforms/libqoffscreen.so; then
  mapfile -t loaded < <(mapped "$pid")
  stage_only "window offscreen" "${loaded[@]}"
else
  fail "the staged program did not start offscreen: $(tail -n 3 "$tmp/offscreen.out")"
fi
kill "$pid" 2>/dev/null || true

# On an X server; Xvfb keeps its screen as an XWD file in the folder given.
mkdir -p "$tmp/fb"
exec 5>"$tmp/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -fbdir "$tmp/fb" -nolisten tcp >"$tmp/xvfb.out" 2>&1 &
pids+=("$!")
exec 5>&-
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
display=":$(head -n 1 "$tmp/display")"
DISPLAY=$display QT_QPA_PLATFORM=xcb "$stage/sirelsetup" >"$tmp/xcb.out" 2>&1 &
pid=$!
pids+=("$pid")
if wait_for_maps "$pid" /platforms/libqxcb.so; then
  # The window is up once the X server knows it by the program's class.
  for _ in $(seq 100); do
    DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -q '"sirelsetup"' && break
    sleep 0.1
  done
  sleep 1
  mapfile -t loaded < <(mapped "$pid")
  stage_only "window on X" "${loaded[@]}"
  xwdtopnm "$tmp/fb/Xvfb_screen0" 2>/dev/null >"$tmp/screen.ppm"
  pnmtopng "$tmp/screen.ppm" >"$shots/stage-page0.png" 2>/dev/null
  colours=$(ppmhist -noheader "$tmp/screen.ppm" | grep -c .)
  if [ "$colours" -lt 16 ]; then
    fail "the screen shows no window ($colours colours)"
  else
    echo "screenshot: $shots/stage-page0.png ($colours colours)"
  fi
else
  fail "the staged program did not start on X: $(tail -n 3 "$tmp/xcb.out")"
fi

if [ $failures -ne 0 ]; then
  echo "FAIL: $failures check(s) failed"
  exit 1
fi
echo "PASS: the staged program runs from the stage alone"
