#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and uses it as a user would: the editor started
# offscreen from an unrelated folder finds all its mark icons, tovik-cli runs, the desktop
# entry and the metainfo pass their validators, the manual pages render cleanly and the one
# of tovik-cli says what its --help says, and a .mem file is recognised as our type.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$build/packaging.env"
source "$here/common.sh"

work=$(mktemp -d)
editor_pid=
cleanup() {
    stop_editor
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

prefix=$(realpath "$work")/prefix
timeout 120 cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

for f in $(installed_files); do
    [ -s "$prefix/$f" ] || fail "not installed: $f"
done
# Nothing of the build tree may be compiled into what is installed. The debugging
# information names the sources and is not read when the program runs; so do the
# messages of a build with sanitizers or assertions, where only the build's data
# folders are looked for.
if [ "$TOVIK_DIAGNOSTIC_PATHS" = 1 ]; then
    built=("$build/bin" "$build/icons" "$build/packaging")
else
    built=("$build")
fi
for f in $(find "$prefix" -type f); do
    text=$f
    if file -b "$f" | grep -q '^ELF'; then
        objcopy --strip-debug "$f" "$work/stripped"
        text=$work/stripped
    fi
    for b in "${built[@]}"; do
        if grep -qF "$b" "$text"; then fail "$b is named in $f"; fi
    done
done
echo "ok: installed into $prefix"

version=$("$prefix/bin/tovik-cli" --version)
[ "$version" = "tovik-cli $TOVIK_VERSION" ] || fail "tovik-cli --version printed '$version'"
echo "ok: $version"

# A KMZ written and read back by the installed tovik-cli, through the module installed beside
# it (and not the build's), gives back the same points.
bash "$TOVIK_SOURCE_DIR/scripts/make-sample.sh" "$prefix/bin/tovik-cli" "$work/kmz-sample.mem"
(cd "$work" && LD_DEBUG=libs "$prefix/bin/tovik-cli" export kmz-sample.mem points.kmz) 2>"$work/kmz.log" ||
    { cat "$work/kmz.log" >&2; fail "tovik-cli export to KMZ"; }
grep -qF "calling init: $prefix/bin/../$TOVIK_KMZ_MODULE" "$work/kmz.log" ||
    fail "the KMZ module was not opened from $prefix/$TOVIK_KMZ_MODULE: $(grep -F libtovik-kmz "$work/kmz.log")"
"$prefix/bin/tovik-cli" import "$work/kmz-back.mem" "$work/points.kmz"
cmp -s "$work/kmz-sample.mem" "$work/kmz-back.mem" || fail "a KMZ written and read back differs"
echo "ok: a KMZ written and read back through $prefix/$TOVIK_KMZ_MODULE"

desktop-file-validate "$share/applications/$TOVIK_APP_ID.desktop" || fail "desktop-file-validate"
echo "ok: desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$TOVIK_APP_ID.metainfo.xml" || fail "appstreamcli validate"

# The pages render without a single warning of the formatter.
for page in tovik tovik-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
# Every line of tovik-cli --help, but the section headings, is in its manual page.
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -E ascii -l "$share/man/man1/tovik-cli.1.gz" | tr -s ' \n\t' '   ')
while IFS= read -r line; do
    [[ -z "$line" || "$line" =~ ^[^\ ].*:$ ]] && continue
    words=$(tr -s ' \t' '  ' <<<"$line" | sed 's/^ //; s/ $//')
    [[ "$rendered" == *"$words"* ]] || fail "the manual page of tovik-cli lacks: $words"
done < <("$prefix/bin/tovik-cli" --help)
echo "ok: manual pages render cleanly and tovik-cli's holds its --help"

# The desktop's own type lookup (GLib, as file managers use) names our type for a .mem
# file once the MIME database of the prefix is built, and offers the desktop entry for it.
empty=$work/empty
mkdir -p "$empty"
"$prefix/bin/tovik-cli" new "$work/points.mem"
update-mime-database "$share/mime" >/dev/null 2>&1
update-desktop-database "$share/applications" >/dev/null 2>&1
type=$(XDG_DATA_HOME=$empty XDG_DATA_DIRS=$share gio info -a standard::content-type "$work/points.mem" |
    sed -n 's/^ *standard::content-type: //p')
[ "$type" = "$TOVIK_MIME_TYPE" ] || fail "gio names the type of a .mem file '$type'"
apps=$(PATH=$prefix/bin:$PATH XDG_DATA_HOME=$empty XDG_DATA_DIRS=$share gio mime "$TOVIK_MIME_TYPE")
grep -qF "$TOVIK_APP_ID.desktop" <<<"$apps" || fail "no program registered for $TOVIK_MIME_TYPE: $apps"
echo "ok: a .mem file is $type, opened with $TOVIK_APP_ID.desktop"

# The editor started from a folder of its own, with no icons and no desktop data folders,
# finds the icons installed beside it.
elsewhere=$work/elsewhere
mkdir -p "$elsewhere"
bash "$TOVIK_SOURCE_DIR/scripts/make-sample.sh" "$prefix/bin/tovik-cli" "$work/sample.mem"
XDG_DATA_HOME=$empty XDG_DATA_DIRS=$empty QT_QPA_PLATFORM=offscreen \
    start_editor_and_check_icons "$prefix/bin/tovik" "$work/sample.mem" "$elsewhere" "$share/tovik" "$work/editor.log"
stop_editor
