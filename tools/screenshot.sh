#!/usr/bin/env bash
# Starts karvelo on a virtual X display with the demo survey, answers the plot type
# question, takes a screenshot into docs/screenshot.png and checks that the window shows
# the diagram (the plot colours of the classic palette are on the screen).
#
#   tools/screenshot.sh [build-folder]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
karvelo_install_deps xvfb x11-utils imagemagick xdotool

build=${1:-build}
exe=$build/src/shell/karvelo
if [ ! -x "$exe" ]; then
  cmake -S . -B "$build" -G Ninja -DKARVELO_BUILD_GUI=ON >/dev/null
  cmake --build "$build" --target karvelo
fi

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Loading writes settings files beside the data file: work on a copy.
cp resources/demo/DEMODATA.DAT "$work/"

display=":$((100 + $$ % 400))"
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done

XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$exe" "$work/DEMODATA.DAT" \
  >"$work/karvelo.log" 2>&1 &
app_pid=$!

wait_for_window() {  # name, seconds
  local i
  for i in $(seq $(($2 * 5))); do
    xdotool search --name "$1" 2>/dev/null | head -1 && return 0
    sleep 0.2
  done
  return 1
}

# The plot type question of the new diagram: OK keeps "Pseudosection".
dialog=$(wait_for_window "Plot type" 30) || { echo "no plot type dialog"; cat "$work/karvelo.log"; exit 1; }
xdotool windowfocus --sync "$dialog"
xdotool key Return
# The diagram draws once the dialog has gone; the splash closes five seconds after the start.
for _ in $(seq 100); do
  xdotool search --onlyvisible --name "Plot type" >/dev/null 2>&1 || break
  sleep 0.2
done
sleep 6

mkdir -p docs
import -window root docs/screenshot.png

# The plot colours 1..11 of the classic palette: palette entry 16 n is line 16 n + 2.
# ImageMagick's own convert (another "convert" may come first in PATH).
im_convert=$(command -v convert-im6.q16 || command -v convert)
colours=$("$im_convert" docs/screenshot.png -unique-colors txt:- | grep -o '#[0-9A-F]\{6\}' | sort -u)
found=0
for n in $(seq 1 11); do
  rgb=$(sed -n "$((16 * n + 2))p" resources/palette/classic.pal)
  hex=$(printf '#%02X%02X%02X' $rgb)
  grep -qx "$hex" <<<"$colours" && found=$((found + 1))
done
echo "docs/screenshot.png: $found of the 11 plot colours on screen"
[ "$found" -ge 6 ] || { echo "the window does not show the diagram"; exit 1; }
