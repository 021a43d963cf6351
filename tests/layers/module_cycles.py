#!/usr/bin/env python3
"""Refuses include cycles between modules (a header with its source file).

The layer check keeps the folders in one order; inside a folder two modules
that include each other are one module in two files, and usually one of them
can take an interface instead. The cycles listed in ACCEPTED are the only
ones allowed, each with its reason. Usage: module_cycles.py SOURCE_DIR
(or --self-test, which checks the finder on a made-up graph).
"""
import os
import re
import sys

FOLDERS = ['base', 'platform', 'platform/host', 'platform/win32', 'files', 'forms', 'text', 'settings',
           'tables', 'formats', 'docking', 'controls', 'toolkit', 'dialogs', 'bar', 'tools', 'app']

# The headless desktop simulates one system: its window system owns the
# forms, the forms and the shell post through the window system, and the
# system's metrics are the shell's monitors, as on Windows.
ACCEPTED = [
    {'platform/host/HostForm', 'platform/host/HostShell', 'platform/host/HostSystem',
     'platform/host/HostWindowSystem'},
]


def include_graph(top):
    edges = {}
    for folder in FOLDERS:
        path = os.path.join(top, folder)
        if not os.path.isdir(path):
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith(('.cpp', '.h')):
                continue
            module = folder + '/' + name.rsplit('.', 1)[0]
            with open(os.path.join(path, name), encoding='utf-8', errors='replace') as f:
                for line in f:
                    m = re.match(r'\s*#\s*include\s+"(.+)\.(h|cpp)"', line)
                    if m and m.group(1) != module:
                        edges.setdefault(module, set()).add(m.group(1))
    return edges


def cycles(edges):
    """The strongly connected sets of more than one module (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = set()
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.add(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(component)

    sys.setrecursionlimit(10000)
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return found


def self_test():
    graph = {'a/A': {'a/B'}, 'a/B': {'a/C'}, 'a/C': {'a/A'}, 'a/D': {'a/A'}, 'a/E': {'a/E'}}
    assert cycles(graph) == [{'a/A', 'a/B', 'a/C'}], cycles(graph)
    assert cycles({'a/A': {'a/B'}, 'a/B': set()}) == []
    print('module_cycles: self-test passed')


def main():
    if sys.argv[1:] == ['--self-test']:
        self_test()
        return 0
    bad = [c for c in cycles(include_graph(sys.argv[1])) if c not in ACCEPTED]
    for c in bad:
        print('module_cycles: these modules include each other: ' + ', '.join(sorted(c)))
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main())
