#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole processes against the programs users compare Tovik with, in alternating runs.

Each case runs Tovik's process and its peer one after the other, RUNS times, and prints the
median time of each and the median of the paired ratios (Tovik / peer):

  show     tovik-cli show of 100 points        gpsbabel unicsv -> gpx of the same 100 points
  import   tovik-cli import of a 100-wpt GPX   gpsbabel gpx -> unicsv of that file
  export   tovik-cli export of 100 points      gpsbabel unicsv -> gpx of the same 100 points
  read10k  bench/readfile of a 10,000-wpt GPX  gpsbabel gpx -> unicsv of that file
           as Tovik writes it (every device field in the extensions)
  read10k-plain  the same of a 10,000-wpt GPX as a phone writes it (time, elevation)
  editor   tovik with 100 points, to its first painted window
                                               bench/plaindialog with the same 100-row table

The two windows are timed the same way: the generic plugin bench/firstpaint ends either
program right after its first paint. Without a display the script runs itself under
xvfb-run.

The files are kept in /dev/shm (a folder in memory) unless --dir names another: Tovik makes
every file it writes durable (fsync of the file and its folder) and gpsbabel does not, and
on a disk other programs keep busy that wait can outweigh either program's whole run.

Usage: bench/whole_process.py [--build DIR] [--before DIR] [--runs N] [--dir DIR] [CASE ...]

With --before, a build of an earlier Tovik is run in the same turns, and the table gives
its figures beside today's.
(configure the build with -DTOVIK_BUILD_BENCH=ON and build tovik, tovik-cli, readfile,
importprobe, plaindialog and firstpaint first)
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CASES = ["show", "import", "export", "read10k", "read10k-plain", "editor", "list50k"]

PLACES = ["東京駅", "大阪城", "札幌時計台", "金閣寺", "道の駅富士", "松本城", "姫路城", "熊本城",
          "函館山", "仙台駅", "名古屋城", "広島駅", "博多駅", "那覇空港", "ｺﾝﾋﾞﾆ", "ガソリン"]


def waypoints(count, first=0):
    """GPX waypoints as a phone or a map site writes them, spread over Japan."""
    rows = []
    for i in range(first, first + count):
        lat = 31.0 + (i * 0.0731) % 13.0
        lon = 130.0 + (i * 0.1137) % 11.0
        name = f"{PLACES[i % len(PLACES)]}{i % 100:02d}"
        rows.append(f'  <wpt lat="{lat:.7f}" lon="{lon:.7f}">\n'
                    f'    <ele>{(i * 7) % 900}.0</ele>\n'
                    f'    <time>2024-05-{1 + i % 28:02d}T09:{i % 60:02d}:00Z</time>\n'
                    f'    <name>{name}</name>\n'
                    f'    <desc>{PLACES[(i + 3) % len(PLACES)]}の近く</desc>\n'
                    f'    <sym>Flag, Blue</sym>\n'
                    f'  </wpt>\n')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<gpx version="1.1" creator="bench" xmlns="http://www.topografix.com/GPX/1/1">\n'
            + "".join(rows) + "</gpx>\n")


def run(command, env=None, check=False):
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, env=env, timeout=120)
    elapsed = time.perf_counter() - start
    if check and done.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({done.returncode}): {done.stderr.decode(errors='replace')}")
    return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--before", help="a build of an earlier Tovik, run in the same turns")
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--dir", default="/dev/shm" if os.path.isdir("/dev/shm") else None,
                        help="where the files are written (default /dev/shm)")
    parser.add_argument("cases", nargs="*", help="some of: " + ", ".join(CASES))
    args = parser.parse_args()
    args.cases = args.cases or CASES
    for case in args.cases:
        if case not in CASES:
            parser.error(f"no case {case}")
    build = os.path.abspath(args.build)

    if "editor" in args.cases and not os.environ.get("DISPLAY") and not os.environ.get("QT_QPA_PLATFORM"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", sys.executable] + sys.argv)

    cli = os.path.join(build, "cli", "tovik-cli")
    editor = os.path.join(build, "bin", "tovik")
    readfile = os.path.join(build, "bench", "readfile")
    probe = os.path.join(build, "bench", "importprobe")
    plain = os.path.join(build, "bench", "plaindialog")
    plugins = os.path.join(build, "bench", "plugins")
    babel = shutil.which("gpsbabel") or sys.exit("gpsbabel is not on the PATH")

    work = tempfile.mkdtemp(prefix="tovik-bench-", dir=args.dir)
    f = lambda name: os.path.join(work, name)  # noqa: E731
    # No settings or caches of the user's own in either program.
    env = dict(os.environ, HOME=f("home"), XDG_CONFIG_HOME=f("home/.config"), XDG_CACHE_HOME=f("home/.cache"),
               XDG_DATA_HOME=f("home/.local/share"))
    os.makedirs(f("home/.config"))
    with open(f("p100.gpx"), "w", encoding="utf-8") as out:
        out.write(waypoints(100))
    with open(f("plain10k.gpx"), "w", encoding="utf-8") as out:
        out.write(waypoints(10000))
    with open(f("plain50k.gpx"), "w", encoding="utf-8") as out:
        out.write(waypoints(50000))
    if "list50k" in args.cases:
        # 480,000 waypoints with a name only, within the 64 MiB that Tovik reads.
        with open(f("bare480k.gpx"), "w", encoding="utf-8") as out:
            out.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                      '<gpx version="1.1" creator="bench" xmlns="http://www.topografix.com/GPX/1/1">\n')
            for i in range(480000):
                out.write(f'<wpt lat="{31 + (i * 0.0731) % 13:.6f}" lon="{130 + (i * 0.1137) % 11:.6f}">'
                          f'<name>{PLACES[i % len(PLACES)]}{i}</name></wpt>\n')
            out.write("</gpx>\n")
    run([cli, "import", "--force", f("sample.mem"), f("p100.gpx")], env, check=True)
    # Tovik's own export of the 100 points, its waypoints a hundred times over.
    run([cli, "export", f("sample.mem"), f("t100.gpx")], env, check=True)
    with open(f("t100.gpx"), encoding="utf-8") as gpx:
        text = gpx.read()
    first, last = text.index("<wpt"), text.rindex("</wpt>") + len("</wpt>")
    with open(f("p10k.gpx"), "w", encoding="utf-8") as out:
        out.write(text[:first] + text[first:last] * 100 + text[last:])
    run([babel, "-i", "gpx", "-f", f("p100.gpx"), "-o", "unicsv", "-F", f("p100.csv")], env, check=True)
    shown = subprocess.run([cli, "show", "--json", f("sample.mem")], env=env, check=True, capture_output=True)
    with open(f("sample.json"), "wb") as out:
        out.write(shown.stdout)
    window_env = dict(env, QT_PLUGIN_PATH=plugins, QT_QPA_GENERIC_PLUGINS="firstpaint")

    table = {
        "show": ("`tovik-cli show` of 100 points (vs gpsbabel unicsv → gpx of 100 points)",
                 [cli, "show", f("sample.mem")], env,
                 [babel, "-i", "unicsv", "-f", f("p100.csv"), "-o", "gpx", "-F", f("babel.gpx")], env),
        "import": ("`tovik-cli import` of a 100-waypoint GPX (vs gpx → unicsv)",
                   [cli, "import", "--force", f("out.mem"), f("p100.gpx")], env,
                   [babel, "-i", "gpx", "-f", f("p100.gpx"), "-o", "unicsv", "-F", f("babel.csv")], env),
        "export": ("`tovik-cli export` of 100 points to GPX (vs unicsv → gpx)",
                   [cli, "export", f("sample.mem"), f("out.gpx")], env,
                   [babel, "-i", "unicsv", "-f", f("p100.csv"), "-o", "gpx", "-F", f("babel.gpx")], env),
        "read10k": ("reading a 10,000-waypoint GPX written by Tovik (vs gpx → unicsv)",
                    [readfile, f("p10k.gpx")], env,
                    [babel, "-i", "gpx", "-f", f("p10k.gpx"), "-o", "unicsv", "-F", f("babel.csv")], env),
        "read10k-plain": ("reading a 10,000-waypoint GPX as a phone writes it (vs gpx → unicsv)",
                          [readfile, f("plain10k.gpx")], env,
                          [babel, "-i", "gpx", "-f", f("plain10k.gpx"), "-o", "unicsv", "-F", f("babel.csv")], env),
        "editor": ("editor start to a shown window with 100 points (vs a plain Qt dialog, same table)",
                   [editor, f("sample.mem")], window_env, [plain, f("sample.json")], window_env),
        "list50k": ("a 50,000-waypoint GPX into the file-import view, painted (vs gpx → unicsv)",
                    [probe, f("plain50k.gpx"), "50000"], dict(env, QT_QPA_PLATFORM="offscreen"),
                    [babel, "-i", "gpx", "-f", f("plain50k.gpx"), "-o", "unicsv", "-F", f("babel.csv")], env),
    }

    before = {}
    if args.before:
        # The same commands with the earlier build's programs in place of today's.
        earlier = os.path.abspath(args.before)
        for case in args.cases:
            title, ours, ours_env, peer, peer_env = table[case]
            program = os.path.join(earlier, os.path.relpath(ours[0], build))
            if os.access(program, os.X_OK):
                before[case] = [program] + ours[1:]

    print(f"{args.runs} alternating runs each, medians; {os.uname().nodename}, {os.cpu_count()} cores, "
          f"files in {os.path.dirname(work)}")
    print()
    if args.before:
        print("| what | before ms | Tovik ms | peer ms | before / peer | Tovik / peer |")
        print("|---|---|---|---|---|---|")
    else:
        print("| what | Tovik ms | peer ms | Tovik / peer |")
        print("|---|---|---|---|")
    for case in args.cases:
        title, ours, ours_env, peer, peer_env = table[case]
        commands = [(ours, ours_env), (peer, peer_env)]
        if case in before:
            commands.append((before[case], ours_env))
        for command, command_env in commands:
            run(command, command_env, check=True)
        times = [[] for _ in commands]
        for _ in range(args.runs):
            for timing, (command, command_env) in zip(times, commands):
                timing.append(run(command, command_env))
        mine, theirs = times[0], times[1]
        ratio = statistics.median(a / b for a, b in zip(mine, theirs))
        if not args.before:
            print(f"| {title} | {statistics.median(mine) * 1000:.1f} | {statistics.median(theirs) * 1000:.1f} "
                  f"| {ratio:.2f} |", flush=True)
            continue
        earlier = "—", "—"
        if case in before:
            earlier = (f"{statistics.median(times[2]) * 1000:.1f}",
                       f"{statistics.median(a / b for a, b in zip(times[2], theirs)):.2f}")
        print(f"| {title} | {earlier[0]} | {statistics.median(mine) * 1000:.1f} | "
              f"{statistics.median(theirs) * 1000:.1f} | {earlier[1]} | {ratio:.2f} |", flush=True)
    if "list50k" in args.cases:
        # What the window went without and the memory it took, beside a file of 100 points.
        probe_env = dict(env, QT_QPA_PLATFORM="offscreen")

        def probed(path, rows, *more):
            done = subprocess.run([probe, path, rows, *more], env=probe_env, check=True, capture_output=True)
            return [int(x) for x in done.stdout.split()]

        small = [probed(f("p100.gpx"), "100") for _ in range(5)]
        large = [probed(f("plain50k.gpx"), "50000") for _ in range(5)]
        print()
        print(f"file-import view, medians of 5: 50,000 points shown in "
              f"{statistics.median(r[0] for r in large)} ms, the window never more than "
              f"{statistics.median(r[1] for r in large)} ms without handling its events; peak memory "
              f"{statistics.median(r[2] for r in large) / 1024:.0f} MiB against "
              f"{statistics.median(r[2] for r in small) / 1024:.0f} MiB with 100 points "
              f"({statistics.median(r[2] for r in large) / statistics.median(r[2] for r in small):.2f}×)")
        given_up = [probed(f("bare480k.gpx"), "480000", "1000")[0] for _ in range(5)]
        print(f"480,000 waypoints, キャンセル pressed 1 s into the reading: the reading ended "
              f"{statistics.median(given_up)} ms later (median of 5; longest {max(given_up)} ms)")
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
