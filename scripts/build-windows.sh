#!/usr/bin/env bash
# Builds the two Windows x86-64 plug-ins (Zephyrmantle_FFGL21.dll and
# Zephyrmantle_FFGL15.dll) with MinGW-w64, checks that each exports plugMain
# alone and imports only system DLLs, and runs the Windows tests under Wine.
#
# Usage: scripts/build-windows.sh [build-dir]     (default: build/windows)
# The DLLs end up in <build-dir>/bin.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/windows}
deps=$(realpath -m build/windows-deps)
jobs=$(nproc)
objdump=x86_64-w64-mingw32-objdump

bash scripts/install-windows-deps.sh "$deps"

echo "== configure ($build)"
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/toolchain-mingw64.cmake" \
  -DZM_WINDOWS_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release >/dev/null

echo "== build"
cmake --build "$build" -j"$jobs"

# The libraries a Windows host process can be expected to have.
system_dlls='^(kernel32|user32|gdi32|advapi32|msvcrt|ole32|oleaut32|opengl32|shell32|shlwapi|version|wininet|winmm|ws2_32|comdlg32|imm32|rpcrt4|iphlpapi|dwrite|d2d1|dxgi|d3d11|winspool\.drv|api-ms-win-[a-z0-9-]+)(\.dll)?$'

echo "== check exports and imports"
status=0
for plugin in Zephyrmantle_FFGL21 Zephyrmantle_FFGL15; do
  dll="$build/bin/$plugin.dll"
  if [ ! -f "$dll" ]; then
    echo "$plugin.dll: missing" >&2
    status=1
    continue
  fi
  dump=$("$objdump" -p "$dll")
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')
  if [ "$exports" != "plugMain" ]; then
    echo "$plugin.dll exports: $(tr '\n' ' ' <<<"$exports") (expected plugMain alone)" >&2
    status=1
  fi
  imports=$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$dump")
  foreign=$(tr 'A-Z' 'a-z' <<<"$imports" | grep -Ev "$system_dlls" || true)
  if [ -n "$foreign" ]; then
    echo "$plugin.dll imports non-system DLLs: $(tr '\n' ' ' <<<"$foreign")" >&2
    status=1
  fi
  echo "$plugin.dll: $(stat -c %s "$dll") bytes, exports $exports, imports $(tr '\n' ' ' <<<"$imports")"
done
[ "$status" = 0 ] || exit "$status"

echo "== tests under Wine"
ctest --test-dir "$build" --output-on-failure --timeout 600

echo "== distance image rebuild under Wine (figures only)"
cmake --build "$build" --target windows_rebuild_figures
