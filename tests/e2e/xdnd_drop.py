#!/usr/bin/python3
"""Drops files on an X window as a file manager does, by the XDND protocol.

    xdnd_drop.py WINDOW X Y FILE...

WINDOW is the target's X window id (decimal or 0x...), X Y the point of the
drop in root coordinates, each FILE a path of this system. The files are
offered as text/uri-list with the copy action; Wine turns such a drop on a
window that accepts files into WM_DROPFILES. Exits 0 once the target has
taken the drop, 1 when it refused it or did not answer within ten seconds.
Needs python3-xlib (the system's Python).
"""
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display
from Xlib.protocol import event

VERSION = 5


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    target_id = int(sys.argv[1], 0)
    x, y = int(sys.argv[2]), int(sys.argv[3])
    uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in sys.argv[4:]).encode()

    d = display.Display()
    root = d.screen().root
    atom = lambda name: d.intern_atom(name)
    uri_list = atom("text/uri-list")
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)
    target = d.create_resource_object("window", target_id)

    def send(name, data):
        message = event.ClientMessage(window=target, client_type=atom(name), data=(32, data))
        target.send_event(message, event_mask=0)
        d.flush()

    send("XdndEnter", [source.id, VERSION << 24, uri_list, 0, 0])
    send("XdndPosition", [source.id, 0, (x << 16) | y, X.CurrentTime, atom("XdndActionCopy")])

    dropped = False
    deadline = time.time() + 10
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.05)
            continue
        e = d.next_event()
        if e.type == X.ClientMessage and e.client_type == atom("XdndStatus"):
            if not dropped:
                if not e.data[1][1] & 1:
                    print("xdnd_drop: the window refused the files", file=sys.stderr)
                    send("XdndLeave", [source.id, 0, 0, 0, 0])
                    return 1
                send("XdndDrop", [source.id, 0, X.CurrentTime, 0, 0])
                dropped = True
        elif e.type == X.SelectionRequest:
            requestor = e.requestor
            prop = e.property or e.target
            if e.target == uri_list:
                requestor.change_property(prop, uri_list, 8, uris)
            else:
                prop = X.NONE
            notify = event.SelectionNotify(time=e.time, requestor=requestor, selection=e.selection,
                                           target=e.target, property=prop)
            requestor.send_event(notify)
            d.flush()
        elif e.type == X.ClientMessage and e.client_type == atom("XdndFinished"):
            return 0
    print("xdnd_drop: no answer from the window", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
