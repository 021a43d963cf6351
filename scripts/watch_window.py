#!/usr/bin/env python3
"""Starts a program and tells when its window is painted (for measure_startup.sh).

    watch_window.py TITLE QUIET_MS SHOTS_DIR COMMAND...

Runs COMMAND, then looks at the X display every few milliseconds for a
viewable top-level window whose name is TITLE, and from its mapping on reads
its pixels (XGetImage, in this process: no program is started per look). The
window has settled when its pixels, size and place have stayed the same for
QUIET_MS; it was painted at the first look of that last unchanged stretch,
the look's time taken once its pixels are read. Prints one line:

    pid=P window=W mapped_ms=M placed_ms=L painted_ms=T looks=N

(P is the process COMMAND became; L is the first look from which the window
kept its final place and size: a bar is laid out then, its buttons drawn
at once, their icons perhaps still to come) and leaves the first and the final picture
of the window in SHOTS_DIR as first.ppm and final.ppm. Exits non-zero when no
window appears or none settles within 60 s.
"""
import ctypes
import ctypes.util
import hashlib
import os
import subprocess
import sys
import time

LIMIT_S = 60
PAUSE_S = 0.005  # between looks

x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
Window = ctypes.c_ulong


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", Window), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):  # the leading fields only: the image is read, never made
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                           ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(ctypes.c_char_p)]
x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
x11.XGetImage.restype = ctypes.POINTER(XImage)
x11.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                          ctypes.c_ulong, ctypes.c_int]
x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
# A window that goes while it is being read raises an X error: the look fails,
# the program goes on.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
x11.XSetErrorHandler(ERROR_HANDLER)
IS_VIEWABLE, Z_PIXMAP, ALL_PLANES = 2, 2, 0xFFFFFFFFFFFFFFFF


def find(display, title):
    """The viewable child of the root named title, or 0."""
    root, parent = Window(), Window()
    children, count = ctypes.POINTER(Window)(), ctypes.c_uint()
    if not x11.XQueryTree(display, x11.XDefaultRootWindow(display), ctypes.byref(root), ctypes.byref(parent),
                          ctypes.byref(children), ctypes.byref(count)):
        return 0
    found = 0
    try:
        for i in range(count.value):
            name = ctypes.c_char_p()
            if not x11.XFetchName(display, children[i], ctypes.byref(name)) or not name.value:
                continue
            same = name.value == title
            x11.XFree(name)
            attrs = XWindowAttributes()
            if same and x11.XGetWindowAttributes(display, children[i], ctypes.byref(attrs)) and \
                    attrs.map_state == IS_VIEWABLE:
                found = children[i]
                break
    finally:
        if children:
            x11.XFree(children)
    return found


def look(display, window):
    """(place and size, pixels as bytes) of the window, or None."""
    attrs = XWindowAttributes()
    if not x11.XGetWindowAttributes(display, window, ctypes.byref(attrs)) or attrs.map_state != IS_VIEWABLE:
        return None
    image = x11.XGetImage(display, window, 0, 0, attrs.width, attrs.height, ALL_PLANES, Z_PIXMAP)
    x11.XSync(display, 0)
    if not image:
        return None
    try:
        i = image.contents
        pixels = ctypes.string_at(i.data, i.bytes_per_line * i.height)
        return (attrs.x, attrs.y, attrs.width, attrs.height, i.bytes_per_line, i.bits_per_pixel), pixels
    finally:
        x11.XDestroyImage(image)


def save_ppm(path, shape, pixels):
    _, _, width, height, stride, bits = shape
    if bits != 32:
        return
    rgb = bytearray(width * height * 3)
    for row in range(height):
        line = pixels[row * stride:row * stride + width * 4]
        out = row * width * 3
        rgb[out:out + width * 3:3] = line[2::4]
        rgb[out + 1:out + width * 3:3] = line[1::4]
        rgb[out + 2:out + width * 3:3] = line[0::4]
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + bytes(rgb))


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    title, quiet, shots, command = sys.argv[1].encode(), int(sys.argv[2]) / 1000, sys.argv[3], sys.argv[4:]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("watch_window: no X display")
    start = time.monotonic()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    ms = lambda t: round((t - start) * 1000)
    window = 0
    while not window:
        if time.monotonic() - start > LIMIT_S:
            sys.exit("watch_window: no window named %s (pid=%d)" % (title.decode(), child.pid))
        window = find(display, title)
        if not window:
            time.sleep(PAUSE_S)
    mapped = time.monotonic()
    looks, last, first, since = 0, None, None, None
    shape, placed = None, None
    while True:
        seen = look(display, window)
        now = time.monotonic()
        if seen is None:  # made again: the same name, another X window
            window = find(display, title) or window
        else:
            looks += 1
            first = first or seen
            if seen[0] != shape:
                shape, placed = seen[0], now
            key = (seen[0], hashlib.md5(seen[1]).digest())
            if key != last:
                last, since, final = key, now, seen
            elif now - since >= quiet:
                break
        if now - start > LIMIT_S:
            sys.exit("watch_window: the window named %s did not settle (pid=%d)" % (title.decode(), child.pid))
        time.sleep(PAUSE_S)
    os.makedirs(shots, exist_ok=True)
    save_ppm(os.path.join(shots, "first.ppm"), *first)
    save_ppm(os.path.join(shots, "final.ppm"), *final)
    print("pid=%d window=%d mapped_ms=%d placed_ms=%d painted_ms=%d looks=%d" %
          (child.pid, window, ms(mapped), ms(placed), ms(since), looks))


if __name__ == "__main__":
    main()
