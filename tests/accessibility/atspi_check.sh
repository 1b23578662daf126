#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the editor on a virtual screen with the accessibility bus on, on a point memory of
# its own, and lists what a screen reader sees of it (atspi_tree.py checks the names).
# Usage: atspi_check.sh TOVIK TOVIK-CLI
set -euo pipefail
tovik=$1
cli=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" new "$work/points.mem" >/dev/null
"$cli" add "$work/points.mem" --name "東京タワー" --longitude 139.44.45.500 --latitude 35.39.31 --mark 3 >/dev/null
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
dbus-run-session -- xvfb-run -a bash -c '
    # On a busy machine the server may still be starting: the editor gives up at once.
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done
    "$0" "$1" &
    app=$!
    status=0
    /usr/bin/python3 "$2/atspi_tree.py" tovik || status=$?
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    exit "$status"
' "$tovik" "$work/points.mem" "$here" 2> >(grep -v -e "fd limit" -e "XDG_RUNTIME_DIR" -e "Activating service" \
    -e "Successfully activated" -e "SpiRegistry daemon" >&2)
