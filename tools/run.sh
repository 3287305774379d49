#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it from its program folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/setup.sh"
build="${KELVARA_BUILD:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelvara
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Kelvara Stitches is a desktop program; start it in a graphical"
  echo "session, or on a machine without one under a virtual display:"
  echo "    xvfb-run -s '-screen 0 1920x1080x24' $build/kelvara"
  echo "or with Qt's VNC platform (then connect a VNC viewer to port 5900):"
  echo "    QT_QPA_PLATFORM=vnc $build/kelvara"
  exit 2
fi
exec "$build/kelvara"
