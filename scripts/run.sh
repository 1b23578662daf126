#!/usr/bin/env bash
# Builds Tovik, makes a sample point memory and starts the editor on it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$(nproc)" --target tovik tovik-cli mark_icons

cli=build/cli/tovik-cli
sample=build/sample/sample.mem
mkdir -p build/sample
"$cli" new --force "$sample"
"$cli" add "$sample" --name "東京タワー" --reading "ﾄｳｷｮｳﾀﾜｰ" --longitude 139.44.45.500 \
    --latitude 35.39.31 --telephone 03-3433-5111 --mark 3
"$cli" add "$sample" --name "札幌時計台" --reading "ｻｯﾎﾟﾛﾄｹｲﾀﾞｲ" --longitude 141.21.12 \
    --latitude 43.03.47 --telephone 011-231-0838 --mark 12
"$cli" add "$sample" --name "金閣寺" --reading "ｷﾝｶｸｼﾞ" --longitude 135.43.45 \
    --latitude 35.02.22 --mark 1
"$cli" add "$sample" --name "道の駅 富士吉田" --reading "ﾐﾁﾉｴｷﾌｼﾞﾖｼﾀﾞ" --longitude 138.47.14.500 \
    --latitude 35.28.07 --mark 7
"$cli" show "$sample"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run: no display to show the editor on; start it with a display, or under Xvfb:" >&2
    echo "     xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
# The editor reads its mark icons from the folder it starts in.
cd build/bin
exec ./tovik ../sample/sample.mem
