#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The editor's start, to its window painted once, on a file of 100 points: the median of
# RUNS runs of each probe, run in turns so that a busy machine slows all of them alike.
#   bench/start.sh TOVIK-CLI RUNS PROBE...
# Each PROBE is a build of tovik_start_probe (for example one before a change and one
# after it); a bare Qt dialog's start (the first probe with --plain) is measured beside them.
set -euo pipefail
cli=$1 runs=$2
shift 2
probes=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache

mem=$work/hundred.mem
"$cli" new --force "$mem" >/dev/null
for i in $(seq 0 99); do
    "$cli" add "$mem" --name "地点$i" --longitude "$(printf '139.%02d.%02d.000' $((10 + i % 40)) $((i % 60)))" \
        --latitude "$(printf '35.%02d.%02d.500' $((20 + i / 4)) $((i * 7 % 60)))" --mark $((i % 26)) >/dev/null
done

# Milliseconds a command takes, from its start to its end.
elapsed() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1
    local end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f", m }'; }

names=("plain Qt dialog" "${probes[@]}")
for k in "${!names[@]}"; do : >"$work/times$k"; done
for _ in $(seq "$runs"); do
    elapsed "${probes[0]}" --plain >>"$work/times0"
    for k in "${!probes[@]}"; do
        elapsed "${probes[$k]}" "$mem" >>"$work/times$((k + 1))"
    done
done
for k in "${!names[@]}"; do
    printf '%-60s median %s ms of %s runs\n' "${names[$k]}" "$(median <"$work/times$k")" "$runs"
done
