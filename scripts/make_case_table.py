#!/usr/bin/env python3
"""Writes base/UpperCaseTable.inc: the simple uppercase mapping of the Basic
Multilingual Plane as the system's ordinal ignore-case compare applies it.

    scripts/make_case_table.py > base/UpperCaseTable.inc

A letter maps to its simple uppercase letter only where that letter's simple
lowercase is the letter again (the mapping goes both ways): dotless i, long s,
the micro sign, final sigma and the title-case digraphs keep their own case,
as the system's table has them. Supplementary characters (surrogate pairs)
keep theirs too: the system compares UTF-16 units one by one. The runs are
(first, last, step, delta): every step-th unit from first to last maps to
itself plus delta. tests/win32/NameCaseTest.cpp checks every unit against the
system's table under Wine.
"""
import unicodedata


def simple_upper(c):
    u = c.upper()
    if len(u) == 1:
        return u
    t = c.title()  # a letter with a full mapping of two or more: its simple one
    if len(t) == 1 and t != c:
        return t
    return None


def simple_lower(c):
    low = c.lower()
    if len(low) == 1:
        return low
    return "i" if c == "\u0130" else None


def mapping():
    m = {}
    for cp in range(0x10000):
        if 0xD800 <= cp < 0xE000:
            continue
        c = chr(cp)
        u = simple_upper(c)
        if u is not None and u != c and simple_lower(u) == c:
            m[cp] = ord(u) - cp
    return m


def runs(m):
    out = []
    keys = sorted(m)
    i = 0
    while i < len(keys):
        first, delta = keys[i], m[keys[i]]
        step, last, j = 1, first, i + 1
        if j < len(keys) and m[keys[j]] == delta and keys[j] - first in (1, 2):
            step = keys[j] - first
            while j < len(keys) and keys[j] == last + step and m[keys[j]] == delta:
                last = keys[j]
                j += 1
        out.append((first, last, step, delta))
        i = j if last != first else i + 1
    return out


def main():
    print("// Written by scripts/make_case_table.py (Unicode %s); do not edit." % unicodedata.unidata_version)
    print("// {first, last, step, delta}")
    for first, last, step, delta in runs(mapping()):
        print("{0x%04X, 0x%04X, %d, %d}," % (first, last, step, delta))


if __name__ == "__main__":
    main()
