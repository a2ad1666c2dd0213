"""Clicks and screenshots on an X display through libX11 and libXtst.

Only the shared libraries are needed (no headers, no Python X bindings):
the benchmark runs on a bare machine under xvfb-run.
"""

import ctypes
import ctypes.util
import subprocess


class _WindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong),
        ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


class _Image(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
        ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
    ]


_IS_VIEWABLE = 2
_Z_PIXMAP = 2
_ALL_PLANES = 0xFFFFFFFF


class Display:
    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xt = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                      ctypes.POINTER(ctypes.c_ulong),
                                      ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                      ctypes.POINTER(ctypes.c_uint)]
        self.x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                                ctypes.POINTER(_WindowAttributes)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XGetImage.restype = ctypes.POINTER(_Image)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.xt.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                 ctypes.c_int, ctypes.c_ulong]
        self.xt.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                 ctypes.c_ulong]
        self.dpy = self.x.XOpenDisplay(None)
        if not self.dpy:
            raise RuntimeError("cannot open the X display")
        self.root = self.x.XDefaultRootWindow(self.dpy)

    def windows(self):
        """(x, y, width, height) of each viewable top-level window."""
        root_ret = ctypes.c_ulong()
        parent_ret = ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        self.x.XQueryTree(self.dpy, self.root, ctypes.byref(root_ret), ctypes.byref(parent_ret),
                          ctypes.byref(children), ctypes.byref(count))
        out = []
        for i in range(count.value):
            attrs = _WindowAttributes()
            if self.x.XGetWindowAttributes(self.dpy, children[i], ctypes.byref(attrs)) and \
                    attrs.map_state == _IS_VIEWABLE:
                out.append((attrs.x, attrs.y, attrs.width, attrs.height))
        if children:
            self.x.XFree(children)
        return out

    def main_window(self, content_width=820, content_height=600):
        """The frame of the application's 820 x 600 content view on screen:
        the viewable window that is that wide, whose menu bar sits on top."""
        for x, y, w, h in self.windows():
            if w == content_width and h >= content_height:
                return x, y + (h - content_height), content_width, content_height
        return None

    def click(self, x, y):
        self.xt.XTestFakeMotionEvent(self.dpy, -1, int(x), int(y), 0)
        self.xt.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        self.xt.XTestFakeButtonEvent(self.dpy, 1, 0, 10)
        self.x.XSync(self.dpy, 0)

    def screenshot(self, path):
        """Saves the whole screen as PNG (through ImageMagick's convert)."""
        attrs = _WindowAttributes()
        self.x.XGetWindowAttributes(self.dpy, self.root, ctypes.byref(attrs))
        w, h = attrs.width, attrs.height
        img = self.x.XGetImage(self.dpy, self.root, 0, 0, w, h, _ALL_PLANES, _Z_PIXMAP)
        if not img:
            raise RuntimeError("XGetImage failed")
        im = img.contents
        stride = im.bytes_per_line
        raw = ctypes.string_at(im.data, stride * h)
        self.x.XFree(im.data)
        self.x.XFree(img)
        rgb = bytearray(w * h * 3)
        for row in range(h):
            line = raw[row * stride: row * stride + w * 4]
            rgb[row * w * 3: (row + 1) * w * 3: 3] = line[2::4]
            rgb[row * w * 3 + 1: (row + 1) * w * 3: 3] = line[1::4]
            rgb[row * w * 3 + 2: (row + 1) * w * 3: 3] = line[0::4]
        ppm = b"P6\n%d %d\n255\n" % (w, h) + bytes(rgb)
        subprocess.run(["convert", "ppm:-", path], input=ppm, check=True)
