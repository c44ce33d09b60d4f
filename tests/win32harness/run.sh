#!/usr/bin/env bash
# End-to-end run of the Win32 wizard under Wine and Xvfb: a full install of
# the sample medium from D: into E:, one whose copy fails part way, one by
# keys alone read as a screen reader reads it, the installs without a
# window, and names beyond ASCII from media in both encodings.
#
#   tests/win32harness/run.sh SETUP_EXE WIZARDDRIVE_EXE SHOTS_DIR
#
# Uses the prefix in WINEPREFIX (default build/windows/wineprefix, made by
# scripts/test-windows.sh). Drives D:, E: and F: of that prefix point into a
# temporary directory while the run lasts; WIN32HARNESS_KEEP=1 keeps it.
#
# The medium is a copy of examples/medium unless WIN32HARNESS_MEDIUM names
# another folder (with at least two languages, and a DXF search group
# holding a subfolder); WIN32HARNESS_BLOCK is the folder of that medium
# (default dxf/parts) whose target the failing runs find blocked by a file.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 SETUP_EXE WIZARDDRIVE_EXE SHOTS_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
setup_exe=$(realpath "$1")
drive_exe=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
shot_names=(page0 page0-deutsch page1 page2 page3 chooser page4 done fail1 fail2)
for name in "${shot_names[@]}"; do rm -f "$shots/$name.png"; done

export WINEPREFIX="${WINEPREFIX:-$root/build/windows/wineprefix}" WINEARCH=win64 WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree=;mshtml="
dosdevices="$WINEPREFIX/dosdevices"
if [ ! -d "$dosdevices" ]; then
  echo "FAIL: no Wine prefix at $WINEPREFIX (scripts/test-windows.sh makes it)" >&2
  exit 1
fi
for f in "$setup_exe" "$drive_exe"; do
  [ -f "$f" ] || { echo "FAIL: $f does not exist" >&2; exit 1; }
done

tmp=$(mktemp -d)
declare -A saved=()
for d in d: e: f:; do
  if [ -L "$dosdevices/$d" ]; then saved[$d]=$(readlink "$dosdevices/$d"); fi
done
disc_mounted=
restore() {
  if [ -n "$disc_mounted" ]; then $disc_mounted "$tmp/disc" || true; fi
  for d in d: e: f:; do
    if [ -n "${saved[$d]:-}" ]; then ln -sfn "${saved[$d]}" "$dosdevices/$d"; else rm -f "$dosdevices/$d"; fi
  done
  if [ -n "${WIN32HARNESS_KEEP:-}" ]; then echo "kept $tmp"; else rm -rf "$tmp"; fi
}
trap restore EXIT

failures=()
fail() { echo "FAIL: $*"; failures+=("$*"); }
steps=()
step() {
  echo "== $*"
  steps+=("$*")
}
skip() {
  echo "skipped: $*"
  steps[-1]="${steps[-1]} (skipped)"
}

# A Windows path of a host path: Wine shows / as Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Waits until the prefix's server has ended: one started without a display
# (reg, attrs) would serve the next GUI run without one.
settle() { timeout 60 wineserver -w || true; }

in_x() { xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; }

# Windows hides no name for its leading dot; without a window manager Wine
# has to draw the window frames itself, or the screenshots lose them.
timeout 120 wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
settle

medium="$tmp/medium"
mkdir -p "$medium" "$tmp/bmp"
source_medium="${WIN32HARNESS_MEDIUM:-$root/examples/medium}"
block_folder="${WIN32HARNESS_BLOCK:-dxf/parts}"
[ -f "$source_medium/SETUP.INF" ] || { echo "FAIL: no SETUP.INF in $source_medium" >&2; exit 1; }
cp -a "$source_medium/." "$medium/"
cp "$setup_exe" "$medium/SETUP.EXE"
ln -sfn "$medium" "$dosdevices/d:"

# A target drive: the wizard offers a drive for the Sirel files only when its
# SIREL folder exists; CAD is where the chooser goes for the drawings.
new_targets() {
  rm -rf "$1"
  mkdir -p "$1/SIREL" "$1/CAD"
  ln -sfn "$1" "$dosdevices/e:"
}

# Each run starts without the choices an earlier install remembered.
forget_choices() {
  find "$WINEPREFIX/drive_c/users" -path '*Sirel Setup/setup.ini' -delete 2>/dev/null || true
}

# drive MODE LOG [ARGS...]: the driver through one run of the wizard.
drive() {
  local mode=$1 log=$2 rc=0
  shift 2
  forget_choices
  settle
  in_x timeout 300 wine "$drive_exe" "$mode" 'D:\SETUP.EXE' "$@" >"$log" 2>"$log.err" || rc=$?
  tr -d '\r' <"$log"
  if [ $rc -ne 0 ]; then tail -n 20 "$log.err" | sed 's/^/  wine: /'; fi
  return $rc
}

step "install"
new_targets "$tmp/e1"
if drive install "$tmp/install.log" "$(winpath "$tmp/bmp")"; then
  python3 "$here/checkinstall.py" messages "$medium" install "$tmp/install.log" \
    || fail "the install run showed other messages"
  step "installed tree"
  python3 "$here/checkinstall.py" tree "$medium" "$tmp/e1" SIREL CAD || fail "the installed tree is not right"
  step "attributes"
  settle
  timeout 120 wine "$drive_exe" attrs 'E:\' | tr -d '\r' || fail "installed files carry other attributes than archive"
else
  fail "the install run did not go through (driver exit $?); tree and attributes not checked"
fi

# The target tree as it stands: contents, sizes and times, and the
# attribute word of every entry as Windows reads it.
target_state() {
  python3 "$here/checkinstall.py" snapshot "$1"
  settle
  timeout 120 wine "$drive_exe" attrs 'E:\' | tr -d '\r' | grep -v '^attrs: '
}

step "failing copy"
# Over an older installation (a read-only file among its changed ones), a
# file where a late folder of the copy goes: the drawings come last, and the
# files of dxf\ before those of its subfolder parts\. The run is undone.
new_targets "$tmp/e2"
python3 "$here/checkinstall.py" block "$medium" "$tmp/e2" SIREL CAD "$block_folder"
python3 "$here/checkinstall.py" old "$medium" "$tmp/e2" SIREL CAD
settle
timeout 120 wine "$drive_exe" attrib 'E:\SIREL\README.TXT' 21 >/dev/null || fail "the old README.TXT cannot be made read-only"
target_state "$tmp/e2" >"$tmp/before.txt" || true
if drive fail "$tmp/fail.log" "$(winpath "$tmp/bmp")"; then
  python3 "$here/checkinstall.py" messages "$medium" fail "$tmp/fail.log" \
    || fail "the failing run showed other messages"
  step "tree after the failure"
  target_state "$tmp/e2" >"$tmp/after.txt" || true
  if diff "$tmp/before.txt" "$tmp/after.txt"; then
    echo "the target is as it was: $(grep -c . "$tmp/before.txt") entries"
  else
    fail "the tree after the failure differs from the tree before it"
  fi
  grep -q '^00000021 E:\\SIREL\\README.TXT' "$tmp/after.txt" \
    || fail "the replaced read-only README.TXT did not come back read-only"
else
  fail "the failing run did not go as expected (driver exit $?); its tree not checked"
fi

# silent EXPECTED_EXIT ARGS...: setup.exe without a window, from drive D:.
silent() {
  local expected=$1 rc=0
  shift
  forget_choices
  settle
  in_x timeout 300 wine 'D:\SETUP.EXE' "$@" >"$tmp/silent.out" 2>&1 || rc=$?
  if [ $rc -ne "$expected" ]; then
    tail -n 5 "$tmp/silent.out" | sed 's/^/  /'
    fail "setup.exe $* exited $rc, expected $expected"
    return 1
  fi
  echo "setup.exe $*: exit $rc"
}

step "silent install"
new_targets "$tmp/e3"
silent 1 /S /ACCEPTLICENSE 'E:\SIREL' || true
if silent 0 /S /ACCEPTLICENSE /COMPONENTS=macros,sample,dxf '/SIREL=E:\SIREL' '/DXF=E:\CAD' '/LOG=C:\silent.log'; then
  python3 "$here/checkinstall.py" tree "$medium" "$tmp/e3" SIREL CAD || fail "the silent install's tree is not right"
  grep -q "$(printf '\tend\t0\t')" "$WINEPREFIX/drive_c/silent.log" || fail "the log does not end with exit code 0"
fi
silent 3 /S '/SIREL=E:\SIREL' || true
step "silent install failing"
new_targets "$tmp/e4"
blocker=$(python3 "$here/checkinstall.py" block "$medium" "$tmp/e4" SIREL CAD "$block_folder")
silent 6 /S /ACCEPTLICENSE /COMPONENTS=macros,sample,dxf '/SIREL=E:\SIREL' '/DXF=E:\CAD' || true
[ -z "$(find "$tmp/e4" -type f ! -path "$tmp/e4/$blocker")" ] || fail "the failed silent install left files behind"

step "install by keys"
# Keys alone from page 0 to the done message, the accessible tree of every
# page read from the driver. Drives E: and F: both offer a target, so the
# arrow keys have a choice; E: is the one chosen. Some hundred more files
# make the copy last long enough to watch the meter move.
keys_medium="$tmp/keysmedium"
cp -a "$medium" "$keys_medium"
mkdir -p "$keys_medium/dxf/many"
for i in $(seq -w 1 200); do printf '0\nSECTION\n0\nENDSEC\n0\nEOF\n' >"$keys_medium/dxf/many/P$i.DXF"; done
ln -sfn "$keys_medium" "$dosdevices/d:"
new_targets "$tmp/e6"
mkdir -p "$tmp/f6/SIREL"
ln -sfn "$tmp/f6" "$dosdevices/f:"
if drive keys "$tmp/keys.log"; then
  python3 "$here/checkinstall.py" messages "$keys_medium" install "$tmp/keys.log" \
    || fail "the run by keys showed other messages"
  python3 "$here/checkinstall.py" screenreader "$keys_medium" "$tmp/keys.log" \
    || fail "the side-bar names its steps or buttons otherwise than SETUP.INF"
  python3 "$here/checkinstall.py" tree "$keys_medium" "$tmp/e6" SIREL CAD || fail "the tree installed by keys is not right"
  [ -z "$(find "$tmp/f6" -mindepth 1 ! -path "$tmp/f6/SIREL")" ] || fail "the run by keys wrote to F:, which it left"
else
  fail "the run by keys did not go through (driver exit $?)"
fi
rm -f "$dosdevices/f:"
ln -sfn "$medium" "$dosdevices/d:"

step "names beyond ASCII"
# SETUP.INF in Windows-1252 and in UTF-8, each naming the target folder
# PROJEKTE\MÜLLER, installed into a target path of 300 characters; Wine
# keeps the host's names in UTF-8.
deep='E:'
while [ ${#deep} -lt 300 ]; do deep+='\Verzeichnis'; done
deep=${deep:0:300}
for encoding in windows-1252 utf-8; do
  names="$tmp/names-$encoding"
  python3 "$here/checkinstall.py" names-medium "$names" "$encoding"
  cp "$setup_exe" "$names/SETUP.EXE"
  ln -sfn "$names" "$dosdevices/d:"
  new_targets "$tmp/e7"
  rm -f "$WINEPREFIX/drive_c/names.log"
  if silent 0 /S /ACCEPTLICENSE "/SIREL=$deep" '/LOG=C:\names.log'; then
    python3 "$here/checkinstall.py" names-tree "$tmp/e7" "$deep" "$WINEPREFIX/drive_c/names.log" \
      || fail "the names from the $encoding medium did not arrive as meant"
  fi
done
# The window on the UTF-8 medium: its heading in UTF-16 from WM_GETTEXT,
# then cancelled on page 0 by keys.
if drive cancel "$tmp/cancel.log"; then
  python3 "$here/checkinstall.py" names-text "$names" "$tmp/cancel.log" || fail "the heading does not show the medium's text"
  python3 "$here/checkinstall.py" messages "$names" cancel "$tmp/cancel.log" || fail "the cancel showed other messages"
else
  fail "the run cancelled by keys did not go as expected (driver exit $?)"
fi
ln -sfn "$medium" "$dosdevices/d:"

# A medium written on Linux whose trees hold links out of it: Wine shows a
# link to a file as a plain file, so only the real path can tell. The plan
# is refused (exit 4) and nothing is written, for a linked file in a tree
# and a search group's folder that is a link.
step "links out of the medium"
mkdir -p "$tmp/outside/folder"
echo "not part of the delivery" >"$tmp/outside/secret.mac"
cp "$tmp/outside/secret.mac" "$tmp/outside/folder/secret.mac"
for kind in file folder; do
  rm -rf "$tmp/linkmedium"
  cp -a "$medium" "$tmp/linkmedium"
  victim=$(find "$tmp/linkmedium/macros" -type f | sort | head -n 1)
  if [ "$kind" = file ]; then
    ln -sfn "$tmp/outside/secret.mac" "$victim"
  else
    rm -rf "$tmp/linkmedium/macros"
    ln -sfn "$tmp/outside/folder" "$tmp/linkmedium/macros"
  fi
  ln -sfn "$tmp/linkmedium" "$dosdevices/d:"
  new_targets "$tmp/e6"
  silent 4 /S /ACCEPTLICENSE /COMPONENTS=macros,sample,dxf '/SIREL=E:\SIREL' '/DXF=E:\CAD' || true
  [ -z "$(find "$tmp/e6" -type f)" ] || fail "a medium with a linked $kind out of it: files were written"
done
ln -sfn "$medium" "$dosdevices/d:"

# The disc image of the medium (made by the Linux build's setupinf), as
# drive D: of type CD-ROM: loop-mounted read-only where the system allows
# it, else through fuseiso, else its files as xorriso extracts them.
step "silent install from the disc image"
setupinf="${SETUPINF:-$root/build/test/tools/setupinf/setupinf}"
if [ ! -x "$setupinf" ] || ! command -v xorriso >/dev/null; then
  skip "no $setupinf (the Linux build makes it) or no xorriso"
else
  cp -a "$medium" "$tmp/discmedium"
  mkdir -p "$tmp/disc"
  if ! { "$setupinf" manifest "$tmp/discmedium" >/dev/null \
         && "$setupinf" image "$tmp/discmedium" --out "$tmp/sirel.iso" >/dev/null; }; then
    fail "setupinf cannot make the image of the medium"
  else
    if mount -o loop,ro "$tmp/sirel.iso" "$tmp/disc" 2>"$tmp/mount.err"; then
      disc_mounted=umount
      echo "the image is mounted read-only"
    elif command -v fuseiso >/dev/null && fuseiso -p "$tmp/sirel.iso" "$tmp/disc" 2>>"$tmp/mount.err"; then
      # A kernel without ISO 9660: the image mounted through FUSE.
      disc_mounted="fusermount -u"
      echo "the image is mounted through fuseiso"
    else
      echo "the system refuses to mount the image ($(head -n 1 "$tmp/mount.err")): its files as extracted"
      xorriso -osirrox on -indev "$tmp/sirel.iso" -extract / "$tmp/disc" >/dev/null 2>&1 \
        || fail "xorriso cannot extract the image"
    fi
    ln -sfn "$tmp/disc" "$dosdevices/d:"
    timeout 120 wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
    new_targets "$tmp/e5"
    if silent 0 /S /ACCEPTLICENSE /COMPONENTS=macros,sample,dxf '/SIREL=E:\SIREL' '/DXF=E:\CAD' '/LOG=C:\disc.log'; then
      python3 "$here/checkinstall.py" tree "$tmp/disc" "$tmp/e5" SIREL CAD || fail "the install from the disc: tree not right"
      grep "$(printf '\tstart\t')" "$WINEPREFIX/drive_c/disc.log" | grep -q 'D:=5' \
        || fail "drive D: of the disc is not a CD-ROM drive in the log"
    fi
    settle
    timeout 120 wine reg delete 'HKLM\Software\Wine\Drives' /v d: /f >/dev/null 2>&1 || true
    settle
    ln -sfn "$medium" "$dosdevices/d:"
  fi
fi

step "screenshots"
shopt -s nullglob
bmps=("$tmp"/bmp/*.bmp)
if [ ${#bmps[@]} -gt 0 ]; then
  python3 "$here/bmp2png.py" -d "$shots" "${bmps[@]}" || fail "screenshots could not be converted"
fi
for name in "${shot_names[@]}"; do
  [ -f "$shots/$name.png" ] || fail "no screenshot $name.png"
done
echo "screenshots in $shots"

all_steps=$(printf '%s, ' "${steps[@]}")
if [ ${#failures[@]} -eq 0 ]; then
  echo "PASS: ${all_steps%, }"
  exit 0
fi
echo "FAIL: ${#failures[@]} check(s) failed:"
printf '  - %s\n' "${failures[@]}"
exit 1
