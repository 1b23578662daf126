#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Lists the names and roles that the accessibility bus shows of a running Tovik window,
and checks that every control a screen reader needs is there under its name.

Usage: atspi_tree.py APPLICATION-NAME  (run on the session bus the program uses)
"""
import sys
import time

import pyatspi

# (role, name) pairs the main window must show.
EXPECTED = [
    ("table", "地点一覧"),
    ("table", "取りこみファイルの地点"),
    ("table", "編集中の地点"),
    ("spin button", "マーク番号の増減"),
    ("text", "マーク番号"),
    ("check box", "MARK"),
    ("push button", "変更"),
    ("push button", "追加"),
    ("push button", "削除"),
    ("push button", "終了"),
    ("push button", "移動"),
]


def walk(node, depth, rows):
    if node is None:
        return
    rows.append((depth, node.getRoleName(), node.name or ""))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1, rows)


def find_application(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == name.lower() and app.childCount > 0:
                return app
        time.sleep(0.3)
    return None


def main():
    app = find_application(sys.argv[1] if len(sys.argv) > 1 else "tovik", 30)
    if app is None:
        desktop = pyatspi.Registry.getDesktop(0)
        names = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount)]
        print(f"atspi_tree: the application did not appear on the accessibility bus; it shows {names}")
        return 1
    rows = []
    walk(app, 0, rows)
    for depth, role, name in rows:
        print("  " * depth + f"{role}: {name}")
    seen = {(role, name) for _, role, name in rows}
    missing = [pair for pair in EXPECTED if pair not in seen]
    for role, name in missing:
        print(f"atspi_tree: missing {role} named {name}")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
