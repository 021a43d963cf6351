#!/usr/bin/python3
"""Gives every character of TEXT a key of its own on the X keyboard.

    keymap_add.py TEXT

xdotool types a character the keyboard lacks by giving a spare key its
symbol for the moment and taking it back; a program that reads the key's
symbol a little later (Wine, under load) then sees the next character's, or
none. Mapped here once, before typing, the characters stay on their keys and
xdotool finds them there. Keys without any symbol are used; exits 1 when
there are not enough of them. Needs python3-xlib (the system's Python).
"""
import sys

from Xlib import display


def keysym_of(ch):
    code = ord(ch)
    return code if code < 0x100 else 0x01000000 | code


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    d = display.Display()
    first = d.display.info.min_keycode
    count = d.display.info.max_keycode - first + 1
    mapping = d.get_keyboard_mapping(first, count)
    present = {s for syms in mapping for s in syms if s}
    wanted = []
    for ch in sys.argv[1]:
        sym = keysym_of(ch)
        if sym not in present and sym not in wanted:
            wanted.append(sym)
    free = [first + i for i, syms in enumerate(mapping) if not any(syms)]
    if len(free) < len(wanted):
        print("keymap_add: not enough free keys", file=sys.stderr)
        return 1
    for keycode, sym in zip(free, wanted):
        d.change_keyboard_mapping(keycode, [(sym, sym)])
    d.sync()
    return 0


if __name__ == "__main__":
    sys.exit(main())
