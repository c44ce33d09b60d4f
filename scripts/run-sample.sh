#!/usr/bin/env bash
# Command 1: builds the wizard, stages it next to the sample medium's files and
# opens it. Without a display it runs the real window under Xvfb through a
# scripted tour of every page to a finished install into a temporary drive and
# leaves a screenshot of each page in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETUP_TESTS=OFF >/dev/null
cmake --build build/release
build/release/tools/setupinf/setupinf check build/release/stage
if [ -n "${DISPLAY:-}" ]; then
  exec build/release/stage/sirelsetup
fi
echo "No display: touring the wizard under Xvfb."
xvfb-run -a -s "-screen 0 1024x768x24" build/release/tools/wizardtour/wizardtour build/release/stage build/screenshots
echo "Screenshots of every page are in build/screenshots/."
