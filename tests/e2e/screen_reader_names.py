#!/usr/bin/env python3
"""Prints what a screen reader hears for the lists and drop-downs of a running program:
one "role<TAB>name" line each, read through the accessibility bus as Orca reads them: a
control is named by the label related to it, else by its own name (a drop-down's own name
is its value).
With "all" as a third argument: every control with a name, "role<TAB>name", menus included.
Usage: screen_reader_names.py <application name> <seconds to wait for it> [all]"""
import sys
import time

import pyatspi

READ_ROLES = {pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TABLE,
              pyatspi.ROLE_TREE_TABLE}


def find_application(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == name.lower() and app.childCount > 0:
                return app
        time.sleep(0.2)
    return None


def accessibles(node, depth=0):
    yield node
    if depth > 30:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from accessibles(child, depth + 1)


def label_of(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and relation.getNTargets() > 0:
            return relation.getTarget(0).name
    return None


def main():
    app = find_application(sys.argv[1], float(sys.argv[2]))
    if app is None:
        print("no application named %s on the accessibility bus" % sys.argv[1], file=sys.stderr)
        return 1
    everything = len(sys.argv) > 3 and sys.argv[3] == "all"
    for node in accessibles(app):
        if everything and node.name:
            print("%s\t%s" % (node.getRoleName(), node.name))
        elif not everything and node.getRole() in READ_ROLES:
            label = label_of(node)
            print("%s\t%s" % (node.getRoleName(), label if label is not None else node.name))
    return 0


if __name__ == "__main__":
    sys.exit(main())
