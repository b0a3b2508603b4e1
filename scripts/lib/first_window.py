"""Times how long a program takes to show its first window, as the X server
sees it: from the launch to the first top-level window of some size mapped,
and on to the moment the pixel at that window's centre is painted (no longer
the black of the empty screen under it).

    first_window.py TIMEOUT_S COMMAND [ARGUMENTS...]

Prints "map_ms paint_ms" (-1 for what did not come in time) and ends the
program. Needs DISPLAY; talks to libX11 through ctypes, so that no
package beyond Python and the X libraries is needed. Wine's windows are
unmanaged here (the test prefix sets Managed=N): they are children of the
root window, whose substructure events show them being mapped.
"""

import ctypes
import ctypes.util
import os
import select
import signal
import subprocess
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(-1).value
# Wine's helper windows (1 x 1, a small one at the corner) are not what a
# person sees: a shown window is at least this large.
MIN_SIDE = 100
# What the empty screen shows where no window has painted.
UNPAINTED = 0x000000


class XMapEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("event", ctypes.c_ulong),
        ("window", ctypes.c_ulong),
        ("override_redirect", ctypes.c_int),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("map", XMapEvent), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int),
        ("y", ctypes.c_int),
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("border_width", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p),
        ("root", ctypes.c_ulong),
        ("class_", ctypes.c_int),
        ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int),
        ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong),
        ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int),
        ("colormaps", ctypes.c_ulong),
        ("map_installed", ctypes.c_int),
        ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long),
        ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


def load_xlib():
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XPending.argtypes = [ctypes.c_void_p]
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
    xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
    xlib.XGetImage.restype = ctypes.c_void_p
    xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                               ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    xlib.XGetPixel.restype = ctypes.c_ulong
    xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
    xlib.XDestroyImage.argtypes = [ctypes.c_void_p]
    xlib.XSetErrorHandler.restype = ctypes.c_void_p
    return xlib


# A window may go before its pixel is read; Xlib's default handler would end
# this script on the BadMatch that follows.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, error: 0)


def is_page_sized(xlib, display, window):
    attributes = XWindowAttributes()
    if not xlib.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
        return False
    return attributes.width >= MIN_SIDE and attributes.height >= MIN_SIDE


def centre_pixel(xlib, display, window):
    attributes = XWindowAttributes()
    if not xlib.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
        return None
    if attributes.width <= 0 or attributes.height <= 0:
        return None
    image = xlib.XGetImage(display, window, attributes.width // 2, attributes.height // 2, 1, 1, ALL_PLANES,
                           Z_PIXMAP)
    if not image:
        return None
    pixel = xlib.XGetPixel(image, 0, 0) & 0xFFFFFF
    xlib.XDestroyImage(image)
    return pixel


def main():
    timeout = float(sys.argv[1])
    command = sys.argv[2:]
    xlib = load_xlib()
    xlib.XSetErrorHandler(ERROR_HANDLER)
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("first_window: cannot open the display")
    root = xlib.XDefaultRootWindow(display)
    xlib.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
    xlib.XSync(display, 0)
    connection = xlib.XConnectionNumber(display)

    start = time.monotonic()
    program = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               start_new_session=True)
    deadline = start + timeout
    mapped_ms = paint_ms = -1.0
    windows = []
    event = XEvent()
    while time.monotonic() < deadline and paint_ms < 0:
        while xlib.XPending(display):
            xlib.XNextEvent(display, ctypes.byref(event))
            if event.type == MAP_NOTIFY and is_page_sized(xlib, display, event.map.window):
                if mapped_ms < 0:
                    mapped_ms = (time.monotonic() - start) * 1000
                windows.append(event.map.window)
        for window in windows:
            if centre_pixel(xlib, display, window) not in (None, UNPAINTED):
                paint_ms = (time.monotonic() - start) * 1000
                break
        if paint_ms < 0:
            select.select([connection], [], [], 0.001 if windows else 0.005)
    try:
        os.killpg(program.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    program.wait()
    print(f"{mapped_ms:.0f} {paint_ms:.0f}")


if __name__ == "__main__":
    main()
