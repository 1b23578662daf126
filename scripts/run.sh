#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tovik, makes a sample point memory and starts the editor on it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j"$(nproc)" --target tovik tovik-cli mark_icons

cli=build/cli/tovik-cli
sample=build/sample/sample.mem
mkdir -p build/sample
bash scripts/make-sample.sh "$cli" "$sample"
"$cli" show "$sample"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run: no display to show the editor on; start it with a display, or under Xvfb:" >&2
    echo "     xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
# The editor finds its mark icons beside itself in build/bin, wherever it is started.
exec build/bin/tovik "$sample"
