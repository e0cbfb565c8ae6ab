#!/usr/bin/env python3
"""Checks that every project include runs down the house or stays in its folder.

The folders stand on floors (docs/architecture.md):
  5  app shellext        the tops of the two deliverables: the program's
                         start-up and wiring, the extension's COM server
  4  launcher config exchange additem   the windows, side by side
  3  services            what more than one window uses
  2  ui                  skinned controls and the dialog frame
  1  data                records and their files, settings and texts, the mailbox
  0  base                the owners of Win32 handles
A file may include its own folder, and any folder on a lower floor; the
windows never include one another. The tests and tools are above the house
and may include anything. Prints each wrong-way include; exits 1 if any.
    python3 scripts/check_includes.py [--list]   (--list: the floor of each folder)
"""
import os
import re
import subprocess
import sys

FLOORS = {
    'base': 0,
    'data': 1,
    'ui': 2,
    'services': 3,
    'launcher': 4, 'config': 4, 'exchange': 4, 'additem': 4,
    'app': 5, 'shellext': 5,
}
# Outside the house: built resources (ids shared by templates and code), and
# the tests and tools that drive it.
ANYWHERE = {'resources'}
ABOVE = {'tests', 'tools'}

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    return path.split('/')[0]


def main():
    if '--list' in sys.argv:
        for name, floor in sorted(FLOORS.items(), key=lambda kv: (-kv[1], kv[0])):
            print(f'{floor}  {name}')
        return 0
    files = subprocess.check_output(['git', 'ls-files', '*.cpp', '*.h', '*.c', '*.inc'], cwd=ROOT, text=True).split()
    wrong = []
    unknown = set()
    for path in files:
        src = folder_of(path)
        if src in ABOVE or src in ANYWHERE:
            continue
        if src not in FLOORS:
            unknown.add(src)
            continue
        with open(os.path.join(ROOT, path), encoding='utf-8', errors='replace') as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m or '/' not in m.group(1):
                    continue
                dst = folder_of(m.group(1))
                if dst == src or dst in ANYWHERE:
                    continue
                if dst not in FLOORS or FLOORS[dst] >= FLOORS[src]:
                    wrong.append(f'{path}:{number}: {src} (floor {FLOORS[src]}) includes {m.group(1)}'
                                 f' ({"floor " + str(FLOORS[dst]) if dst in FLOORS else "no floor"})')
    for folder in sorted(unknown):
        wrong.append(f'{folder}/: a folder with no floor (add it to FLOORS and docs/architecture.md)')
    for line in wrong:
        print(line)
    print(f'includes: {len(wrong)} against the floors' if wrong else 'includes: every one runs down or stays in its folder')
    return 1 if wrong else 0


if __name__ == '__main__':
    sys.exit(main())
