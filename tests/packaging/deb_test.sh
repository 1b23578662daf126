#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack, checks what it holds and says of itself, installs it
# with apt-get, starts the installed editor from / under Xvfb and checks that it shows the
# icons installed with it (a screenshot goes to BUILD_DIR/packaging-test/), then removes
# the package and everything its installation brought in. Installing needs root; without
# it the package is still built and checked. Every step has a time limit, and the package
# is removed on any failure as well.
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$build/packaging.env"
source "$here/common.sh"

work=$(mktemp -d)
out=$build/packaging-test
mkdir -p "$out"
editor_pid=
installed_new=()
sudo=()
cleanup() {
    local status=$?
    stop_editor
    if [ ${#installed_new[@]} -gt 0 ]; then
        echo "removing ${installed_new[*]}"
        timeout 300 "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 \
            purge -y -qq "${installed_new[@]}" >/dev/null || status=1
        if dpkg-query -W -f='${Status}' tovik 2>/dev/null | grep -q 'install ok installed'; then
            echo "FAIL: tovik is still installed" >&2
            status=1
        fi
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

timeout 300 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$(ls "$work/package"/tovik_"$TOVIK_VERSION"_*.deb)
echo "ok: built $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in $(installed_files); do
    grep -qxF "./usr/$f" <<<"$contents" || fail "the package lacks /usr/$f"
done
[ "$(dpkg-deb -f "$deb" Package)" = tovik ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$TOVIK_VERSION" ] || fail "package version"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for p in libqt6widgets6 libqt6gui6 libqt6core6 libquazip1-qt6-1 libstdc++6 fonts-noto-cjk qt6-translations-l10n; do
    grep -qxF "$p" <<<"$names" || fail "the package does not depend on $p: $depends"
done
# PROJ is opened only for the TKY2JGD grid, which Debian does not ship: suggested, not needed.
! grep -qxF libproj25 <<<"$names" || fail "the package depends on libproj25: $depends"
grep -qF libproj25 <<<"$(dpkg-deb -f "$deb" Suggests)" || fail "the package does not suggest libproj25"
echo "ok: the package holds the programs, icons, desktop entry, metainfo, MIME package and manual pages"

if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then
        sudo=(sudo)
    else
        echo "skipped: installing the package needs root"
        exit 0
    fi
fi
if dpkg-query -W -f='${Status}' tovik 2>/dev/null | grep -q 'install ok installed'; then
    fail "a tovik package is installed already; this test installs and removes its own"
fi

# Exactly what apt-get installs is removed again at the end, also when a step fails midway.
mapfile -t installed_new < <("${sudo[@]}" apt-get -s install --no-install-recommends "$deb" 2>/dev/null |
    awk '/^Inst / {print $2}')
[ ${#installed_new[@]} -gt 0 ] || installed_new=(tovik)
timeout 600 "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 \
    install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install $(basename "$deb")"; }
[ "$(command -v tovik)" = /usr/bin/tovik ] || fail "tovik is not on the PATH after installing"
echo "ok: installed; tovik is $(command -v tovik)"

# The installed editor, started from / on a virtual screen, shows the sample's points with
# the icons installed with it.
tovik-cli --version >/dev/null
bash "$TOVIK_SOURCE_DIR/scripts/make-sample.sh" tovik-cli "$work/sample.mem"
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    source "$1/common.sh"
    editor_pid=
    trap stop_editor EXIT
    QT_QPA_PLATFORM=xcb start_editor_and_check_icons tovik "$2" / /usr/share/tovik "$3/editor.log"
    sleep 1
    import -window root "$4/installed-editor.png"
' _ "$here" "$work/sample.mem" "$work" "$out" || fail "the installed editor under Xvfb"
echo "ok: the installed editor shows its icons; screenshot $out/installed-editor.png"
