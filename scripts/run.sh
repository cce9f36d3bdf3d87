#!/usr/bin/env bash
# Builds the programs and starts the desktop program 玄枢八字排盘.
# Without Qt or without a display it casts a sample chart with xuanshu-cli
# instead and prints its standard report.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target xuanshu-cli
# build/app exists only when Qt 6 was found.
if [ -d build/app ]; then
  cmake --build build -j"$(nproc)" --target xuanshu
fi

if [ -x build/bin/xuanshu ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/xuanshu "$@"
fi

echo "(no desktop program or no display: a sample chart through xuanshu-cli)"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
build/bin/xuanshu-cli chart --name 示例 --sex 男 --calendar 公历 --date 1990-05-17 --time 08:30 \
  --home "$home" >/dev/null
format=text
[ -t 1 ] && format=ansi
build/bin/xuanshu-cli report --name 示例 --layout 1 --format "$format" --home "$home"
echo
