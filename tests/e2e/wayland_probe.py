#!/usr/bin/env python3
"""Drives a running program through the accessibility bus, as a screen reader or UI robot
would on a Wayland desktop, where no X tool reaches its windows.
Usage: wayland_probe.py <application> shows <role> <name>   (exit 0 when such a control shows)
       wayland_probe.py <application> press <name>          (presses the push button)"""
import sys
import time

import pyatspi

from screen_reader_names import find_application


def find(node, role, name, depth=0):
    if node.getRoleName() == role and node.name == name and node.getState().contains(pyatspi.STATE_SHOWING):
        return node
    for i in range(node.childCount if depth < 30 else 0):
        child = node.getChildAtIndex(i)
        found = find(child, role, name, depth + 1) if child is not None else None
        if found is not None:
            return found
    return None


def main():
    app = find_application(sys.argv[1], 20)
    if app is None:
        return 2
    if sys.argv[2] == "shows":
        deadline = time.time() + 10
        while time.time() < deadline:
            if find(app, sys.argv[3], sys.argv[4]) is not None:
                return 0
            time.sleep(0.3)
        return 1
    button = find(app, "push button", sys.argv[3])
    if button is None:
        return 1
    button.queryAction().doAction(0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
