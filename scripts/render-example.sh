#!/usr/bin/env bash
# Installs the dependencies, builds the plug-in and the headless host, and
# renders the bundled example layout (examples/home) to a PNG.
#
#   scripts/render-example.sh [--ffgl15] [OUTPUT.png] [host options...]
#
# The example is drawn as a soft cyan glow around the slice borders; host options
# given here are passed on after those settings and override them, e.g.
# --set Inside=0.4 --set Softness=0.
set -euo pipefail
cd "$(dirname "$0")/.."

plugin=Zephyrmantle_FFGL21
if [ "${1:-}" = "--ffgl15" ]; then
  plugin=Zephyrmantle_FFGL15
  shift
fi
output=zephyrmantle-example.png
if [ $# -gt 0 ] && [[ "$1" == *.png ]]; then
  output=$1
  shift
fi

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target "$plugin" zephyrmantle-host

LIBGL_ALWAYS_SOFTWARE=1 build/release/tools/zephyrmantle-host \
  --plugin "build/release/src/$plugin.so" \
  --home examples/home \
  --size 1920x1080 --frames 2 \
  --set Inside=0.05 --set Outside=0.1 --set Softness=0.6 \
  --set Color=0.55 --set Color_saturation=1 --set Color_brighthnes=1 \
  --output "$output" "$@"
echo "wrote $output"
