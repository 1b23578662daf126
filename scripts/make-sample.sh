#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a point memory with four points, for trying the editor and for its screenshot.
# Usage: scripts/make-sample.sh TOVIK-CLI OUT.mem
set -euo pipefail
cli=$1 sample=$2

"$cli" new --force "$sample"
"$cli" add "$sample" --name "東京タワー" --reading "ﾄｳｷｮｳﾀﾜｰ" --longitude 139.44.45.500 \
    --latitude 35.39.31 --telephone 03-3433-5111 --mark 3
"$cli" add "$sample" --name "札幌時計台" --reading "ｻｯﾎﾟﾛﾄｹｲﾀﾞｲ" --longitude 141.21.12 \
    --latitude 43.03.47 --telephone 011-231-0838 --mark 12
"$cli" add "$sample" --name "金閣寺" --reading "ｷﾝｶｸｼﾞ" --longitude 135.43.45 \
    --latitude 35.02.22 --mark 1
"$cli" add "$sample" --name "道の駅 富士吉田" --reading "ﾐﾁﾉｴｷﾌｼﾞﾖｼﾀﾞ" --longitude 138.47.14.500 \
    --latitude 35.28.07 --mark 7
