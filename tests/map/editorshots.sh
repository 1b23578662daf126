#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screenshots of the editor's map window under Xvfb, over town-like tiles from a local
# server (map_screenshot --serve), never the internet:
#   tests/map/editorshots.sh BUILD-DIR OUT-DIR
# OUT-DIR/map-edit.png: the sample file and a few points near Tokyo Station, one selected;
# OUT-DIR/map-japan.png: all of the sample's points, after 全地点を表示;
# OUT-DIR/map-import.png: the file-import view, a file's points as dots beside them.
set -euo pipefail
build=$(realpath "$1") out=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache LANG=C.UTF-8

QT_QPA_PLATFORM=offscreen "$build/tests/map/map_screenshot" --serve >"$work/url" &
server=$!
until [ -s "$work/url" ]; do sleep 0.1; done
export TOVIK_TILE_URL
TOVIK_TILE_URL=$(cat "$work/url")

cli=$build/cli/tovik-cli
sample=$work/sample.mem
bash "$here/../../scripts/make-sample.sh" "$cli" "$sample"
# Points some hundred metres apart about Tokyo Station, in the device's Tokyo datum.
while read -r name longitude latitude mark; do
    "$cli" add "$sample" --name "$name" --longitude "$longitude" --latitude "$latitude" --mark "$mark"
done <<'POINTS'
東京駅 139.46.13.000 35.40.41.000 1
皇居外苑 139.45.22.000 35.40.54.000 3
日比谷公園 139.45.34.000 35.40.14.000 12
銀座四丁目 139.46.05.000 35.40.06.000 7
日本橋 139.46.26.000 35.41.03.000 20
POINTS
imported=$work/import.mem
"$cli" new --force "$imported"
for k in 0 1 2 3 4 5; do
    "$cli" add "$imported" --name "取りこみ$((k + 1))" --longitude "139.45.$((40 + k * 3)).000" \
        --latitude "35.40.$((22 + k * 5)).000"
done
"$cli" export "$imported" "$work/import.gpx" >/dev/null

# The view the map window kept last time: about Tokyo Station.
mkdir -p "$XDG_CONFIG_HOME/Tovik"
printf '[map]\nlatitude=35.6785\nlongitude=139.7635\nzoom=15\n' >"$XDG_CONFIG_HOME/Tovik/Tovik.conf"

xvfb-run -a -s "-screen 0 2400x1000x24" bash -s "$build/bin/tovik" "$sample" "$work/import.gpx" "$out" <<'SHOT'
set -euo pipefail
tovik=$1 sample=$2 gpx=$3 out=$4
"$tovik" "$sample" &
editor=$!
main=$(xdotool search --sync --onlyvisible --pid "$editor" --name 'sample' | head -1)
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 1
# The list, its row 東京駅, then 表示 → 地図 with its key.
xdotool key Tab Home Down Down Down Down
xdotool key ctrl+m
sleep 4
import -window root -trim "$out/map-edit.png"
# 表示 → ファイル取りこみ画面, then ファイル → 取りこみファイルを開く... and the file's path.
xdotool windowfocus --sync "$main"
xdotool key alt+v Down Return
sleep 0.5
xdotool key alt+f Down Down Down Down Return
sleep 1.5
xdotool type --delay 20 "$gpx"
xdotool key Return
sleep 4
import -window root -trim "$out/map-import.png"
# 表示 → 編集画面, then 全地点を表示 on the map.
xdotool windowfocus --sync "$main"
xdotool key alt+v Return
for w in $(xdotool search --onlyvisible --pid "$editor" .); do
    [[ $(xdotool getwindowname "$w") == 地図* ]] && map=$w
done
eval "$(xdotool getwindowgeometry --shell "${map:?no map window}")"
xdotool mousemove --window "$map" $((WIDTH - 40)) 16 click 1
sleep 3
import -window root -trim "$out/map-japan.png"
kill "$editor"
SHOT
