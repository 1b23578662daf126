# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers of the packaging tests, sourced by them.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The files an installation puts under its prefix, one a line.
installed_files() {
    local s k
    echo bin/tovik
    echo bin/tovik-cli
    echo "$TOVIK_KMZ_MODULE"
    echo "share/applications/$TOVIK_APP_ID.desktop"
    echo "share/metainfo/$TOVIK_APP_ID.metainfo.xml"
    echo "share/mime/packages/$TOVIK_APP_ID.xml"
    echo share/man/man1/tovik.1.gz
    echo share/man/man1/tovik-cli.1.gz
    echo "share/icons/hicolor/scalable/apps/$TOVIK_APP_ID.svg"
    for s in 16 32 48 64 128 256; do echo "share/icons/hicolor/${s}x$s/apps/$TOVIK_APP_ID.png"; done
    for k in $(seq -w 0 25); do echo "share/tovik/mark$k.ico"; done
}

# Starts EDITOR on FILE from the folder DIR with the mark icon log on, waits until it has
# loaded its 26 mark icons (at most 60 s) and checks that every one came from ICONDIR.
# The editor is left running as $editor_pid, for a screenshot; stop_editor ends it.
# Usage: start_editor_and_check_icons EDITOR FILE DIR ICONDIR LOG
start_editor_and_check_icons() {
    local editor=$1 file=$2 dir=$3 icondir=$4 log=$5 i k
    (cd "$dir" && exec env QT_LOGGING_RULES="tovik.markicons.info=true" "$editor" "$file") >"$log" 2>&1 &
    editor_pid=$!
    for i in $(seq 1 600); do
        [ "$(grep -c '^tovik\.markicons: mark[0-9][0-9]\.ico: ' "$log")" -ge 26 ] && break
        kill -0 "$editor_pid" 2>/dev/null || { cat "$log" >&2; fail "the editor ended while starting"; }
        sleep 0.1
    done
    for k in $(seq -w 0 25); do
        grep -qxF "tovik.markicons: mark$k.ico: $icondir/mark$k.ico" "$log" ||
            { cat "$log" >&2; fail "mark$k.ico was not loaded from $icondir"; }
    done
    echo "ok: all 26 mark icons loaded from $icondir by $editor started in $dir"
}

stop_editor() {
    if [ -n "${editor_pid:-}" ]; then
        kill "$editor_pid" 2>/dev/null || true
        wait "$editor_pid" 2>/dev/null || true
        editor_pid=
    fi
}
