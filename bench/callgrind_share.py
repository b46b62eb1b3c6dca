#!/usr/bin/env python3
"""Splits the instructions of a callgrind profile between the sandbox's own
code and the libraries it calls.

Every function is put in a group by the object file that holds it. The C and
C++ runtime (libc, libm, libstdc++, ...) is not a group of its own: what it
does inside a call from a group is charged to that group, so that memset or
malloc called by the sandbox count as the sandbox's.

Given a second profile, of the floor loop's passes, it also compares the
two: the floor makes the same library calls with nothing of the sandbox
around them, so the difference is the sandbox's overhead. In the floor's
profile the benchmark's own code ("harness") is the bare loop.

usage: callgrind_share.py SANDBOX_PROFILE [FLOOR_PROFILE] [--top N]
"""

import argparse
import collections
import re
import sys

PROJECT_BINARY = "bramblewick"
# In the benchmark's binary, what is the benchmark's and not the sandbox's.
HARNESS = re.compile(r"bench::|main$|\(below main\)|_start")

# (group, pattern on the object's file name), first match wins.
GROUPS = [
    ("ODE", r"libode"),
    ("GLU", r"libGLU"),
    ("GLUT", r"libglut"),
    ("GL", r"libGL|libglapi|_dri\.so|libgallium|libLLVM|^\?\?\?$|^$"),
    ("SDL", r"libSDL"),
    ("X11", r"libX|libxcb"),
    ("runtime", r"libc\.so|libm\.so|libstdc\+\+|libgcc_s|ld-linux|libpthread|vgpreload"),
]
ORDER = ["project", "ODE", "GL", "GLU", "GLUT", "SDL", "X11", "harness", "runtime", "other"]


def group_of(obj, fn):
    name = obj.rsplit("/", 1)[-1]
    if PROJECT_BINARY in name:
        return "harness" if HARNESS.match(fn) else "project"
    for group, pattern in GROUPS:
        if re.search(pattern, name):
            return group
    return "other"


class Names:
    """callgrind's name compression: "(7) name" defines 7, "(7)" reuses it."""

    def __init__(self):
        self.known = {}

    def read(self, text):
        m = re.match(r"\((\d+)\)(?: (.*))?$", text)
        if not m:
            return text
        if m.group(2) is not None:
            self.known[m.group(1)] = m.group(2)
        return self.known.get(m.group(1), "")


def read_profile(path):
    objects, functions = Names(), Names()
    self_cost = collections.Counter()  # (object, function) -> Ir
    calls = collections.Counter()      # (caller object, function, callee object, function) -> Ir
    ob = fn = ""
    cob = cfn = None
    pending_call = False
    for line in open(path, errors="replace"):
        line = line.rstrip("\n")
        if not line:
            continue
        head = line[0]
        if head.isdigit() or head in "+-*":
            fields = line.split()
            cost = int(fields[-1]) if len(fields) >= 2 else 0
            if pending_call:
                calls[(ob, fn, cob if cob is not None else ob, cfn)] += cost
                pending_call = False
                cob = cfn = None
            else:
                self_cost[(ob, fn)] += cost
            continue
        key, _, value = line.partition("=")
        if key == "ob":
            ob = objects.read(value)
        elif key == "fn":
            fn = functions.read(value)
            cob = cfn = None
        elif key == "cob":
            cob = objects.read(value)
        elif key == "cfn":
            cfn = functions.read(value)
        elif key == "calls":
            pending_call = True
    return self_cost, calls


def shares(self_cost, calls):
    """Instructions per group: the group's own, and with the runtime it calls."""
    own = collections.Counter()
    for (obj, fn), cost in self_cost.items():
        own[group_of(obj, fn)] += cost
    charged = collections.Counter(own)
    for (obj, fn, cobj, cfn), cost in calls.items():
        caller, callee = group_of(obj, fn), group_of(cobj, cfn)
        # The harness is left out: its call into the C library's start-up
        # holds the whole program.
        if caller not in ("runtime", "harness") and callee == "runtime":
            charged[caller] += cost
            charged["runtime"] -= cost
    return own, charged


def print_shares(own, charged, total):
    print(f"{'group':<9} {'own code':>15} {'share':>7}   {'with the runtime it calls':>25} {'share':>7}")
    for group in ORDER:
        if own[group] == 0 and charged[group] == 0:
            continue
        print(f"{group:<9} {own[group]:>15,} {100.0 * own[group] / total:>6.2f}%"
              f"   {charged[group]:>25,} {100.0 * charged[group] / total:>6.2f}%")
    print("(runtime in the last column: what no library or project code called directly)")


def print_project_detail(self_cost, calls, total, top):
    project = [(cost, fn) for (obj, fn), cost in self_cost.items()
               if group_of(obj, fn) == "project"]
    project.sort(reverse=True)
    print("\ntop project functions, own instructions:")
    for cost, fn in project[:top]:
        print(f"  {cost:>13,} {100.0 * cost / total:>6.2f}%  {fn[:110]}")
    runtime_calls = collections.Counter()
    for (obj, fn, cobj, cfn), cost in calls.items():
        if group_of(obj, fn) == "project" and group_of(cobj, cfn) == "runtime":
            runtime_calls[(fn, cfn)] += cost
    if runtime_calls:
        print("\nruntime called from project code, with what it calls in turn:")
        for (fn, cfn), cost in runtime_calls.most_common(top):
            print(f"  {cost:>13,} {100.0 * cost / total:>6.2f}%  {fn[:60]} -> {cfn[:40]}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("profile", help="the sandbox's passes")
    parser.add_argument("floor", nargs="?", help="the floor loop's passes")
    parser.add_argument("--top", type=int, default=8, help="project functions to list")
    args = parser.parse_args()

    self_cost, calls = read_profile(args.profile)
    total = sum(self_cost.values())
    if total == 0:
        sys.exit("no instructions collected: was --toggle-collect given the right name?")
    own, charged = shares(self_cost, calls)
    print(f"sandbox passes: {total:,} instructions\n")
    print_shares(own, charged, total)
    print_project_detail(self_cost, calls, total, args.top)
    if not args.floor:
        return

    floor_self, floor_calls = read_profile(args.floor)
    floor_total = sum(floor_self.values())
    if floor_total == 0:
        sys.exit("no instructions collected in the floor's profile")
    floor_own, floor_charged = shares(floor_self, floor_calls)
    print(f"\nfloor passes: {floor_total:,} instructions "
          f"(its own loop counts as harness)\n")
    print_shares(floor_own, floor_charged, floor_total)
    print(f"\nsandbox / floor: {total / floor_total:.4f}")
    print(f"{'group':<9} {'sandbox':>15} {'floor':>15} {'difference':>13}")
    for group in ORDER:
        a, b = charged[group], floor_charged[group]
        if a == 0 and b == 0:
            continue
        print(f"{group:<9} {a:>15,} {b:>15,} {a - b:>+13,}")


if __name__ == "__main__":
    main()
