#!/usr/bin/env bash
# The Windows suite: cross-builds the Win32 skin, setup.exe and the core
# tests with mingw-w64 and runs them under Wine, headless, in a private prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh g++-mingw-w64-x86-64-posix wine64 wine python3

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DSETUP_QT=OFF -DSETUP_WERROR=ON >/dev/null
cmake --build build/windows -j "$(nproc)"

export WINEPREFIX="$PWD/build/windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir -p "$WINEPREFIX"
# The prefix's screen scale (LogPixels) goes back to 96 dots per inch
# whatever happens, so no later run inherits the 144 of the scaled step.
dpi() { timeout 120 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'wineserver -k || true; dpi 96 || true; wineserver -w || true' EXIT
# Wine's desktop process keeps the display it was started with for as long as
# the server lives, and the skin's tests and setup.exe open real windows: each
# step that starts Wine runs under Xvfb, and the server ends between steps.
# Time limits keep a stuck Wine from holding CI.
in_x=(xvfb-run -a -s "-screen 0 1280x1024x24")
settle() { timeout 120 wineserver -w || true; }
timeout 300 "${in_x[@]}" wineboot -i >/dev/null 2>&1
# Windows does not hide names that begin with a dot; Wine does unless told.
timeout 120 "${in_x[@]}" wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1
settle
(cd build/windows && timeout 1200 "${in_x[@]}" ctest --output-on-failure --timeout 300)
settle

# The window on a screen of 144 dots per inch: every control and font 1.5
# times its size, no caption wider than its control, and a screenshot of the
# first page in build/screenshots/win32-144dpi/.
dpi 144
settle
SETUP_EXPECT_DPI=144 SETUP_SOURCE_ROOT="$PWD" timeout 300 "${in_x[@]}" wine build/windows/tests/core_tests.exe \
  --gtest_filter='MainWindowTest.EveryControlScalesWithTheScreen:GdiCanvasTest.UnitsBecomePixelsAtTheScreensScale'
settle
mkdir -p build/screenshots/win32-144dpi
timeout 120 "${in_x[@]}" bash -c 'wine build/windows/stage/setup.exe & setup=$!
  wine build/windows/tests/win32harness/wizarddrive.exe shot SetupWizardMain "Z:$PWD/build/screenshots/win32-144dpi/page0.bmp"
  rc=$?; wineserver -k; wait $setup; exit $rc' || { echo "FAIL: no screenshot at 144 dots per inch"; exit 1; }
python3 tests/win32harness/bmp2png.py -d build/screenshots/win32-144dpi build/screenshots/win32-144dpi/page0.bmp
rm -f build/screenshots/win32-144dpi/page0.bmp
dpi 96
settle

# setup.exe end to end: a full install of the sample medium and one failing
# copy, driven from outside; screenshots in build/screenshots/win32.
ls -l build/windows/stage/setup.exe
timeout 900 tests/win32harness/run.sh build/windows/stage/setup.exe \
  build/windows/tests/win32harness/wizarddrive.exe build/screenshots/win32
