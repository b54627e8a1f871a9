#!/usr/bin/env python3
"""Checks a compiled resource file (windres -O res) against what the program
and its framework rely on: exact dialog and control styles, toolbar layouts
and their image strips, menu, accelerators and strings.

usage: check_resources.py FILE.res [--dump]
"""

import struct
import sys

RT_BITMAP, RT_MENU, RT_DIALOG, RT_STRING, RT_ACCELERATOR = 2, 4, 5, 6, 9
RT_GROUP_ICON, RT_VERSION, RT_MANIFEST, RT_TOOLBAR = 14, 16, 24, 241


# --------------------------------------------------------------------------
# Reading the .res file.

def _sz_or_ord(buf, off):
    """A resource name: 0xFFFF and an ordinal, or a NUL-terminated UTF-16 string."""
    (w,) = struct.unpack_from("<H", buf, off)
    if w == 0xFFFF:
        return struct.unpack_from("<H", buf, off + 2)[0], off + 4
    return _sz(buf, off)


def _sz(buf, off):
    end = off
    while struct.unpack_from("<H", buf, end)[0] != 0:
        end += 2
    return buf[off:end].decode("utf-16-le"), end + 2


def _align(off, n=4):
    return (off + n - 1) // n * n


def read_res(path):
    data = open(path, "rb").read()
    res, off = {}, 0
    while off < len(data):
        size, hsize = struct.unpack_from("<II", data, off)
        rtype, p = _sz_or_ord(data, off + 8)
        name, p = _sz_or_ord(data, p)
        body = data[off + hsize:off + hsize + size]
        if size:
            res[(rtype, name)] = body
        off = _align(off + hsize + size)
    return res


def _class_name(cls):
    """Predefined classes come as ordinals; windres writes the others in
    capitals. Class names are case-insensitive, so compare them in lower case."""
    if isinstance(cls, int):
        return {0x80: "button", 0x81: "edit", 0x82: "static", 0x83: "listbox",
                0x84: "scrollbar", 0x85: "combobox"}.get(cls, cls)
    return cls.lower()


def parse_dialog(buf):
    style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", buf, 0)
    menu, p = _sz_or_ord(buf, 18)
    cls, p = _sz_or_ord(buf, p)
    caption, p = _sz(buf, p)
    font = None
    if style & 0x40:                                   # DS_SETFONT
        (points,) = struct.unpack_from("<H", buf, p)
        face, p = _sz(buf, p + 2)
        font = (points, face)
    items = []
    for _ in range(count):
        p = _align(p)
        istyle, iex, ix, iy, icx, icy, iid = struct.unpack_from("<IIhhhhH", buf, p)
        icls, p = _sz_or_ord(buf, p + 18)
        itext, p = _sz_or_ord(buf, p)
        (extra,) = struct.unpack_from("<H", buf, p)
        p += 2 + extra
        items.append(dict(style=istyle, ex=iex, pos=(ix, iy, icx, icy), id=iid,
                          cls=_class_name(icls),
                          text=itext))
    return dict(style=style, ex=exstyle, pos=(x, y, cx, cy), caption=caption,
                font=font, menu=menu, cls=cls, items=items)


def parse_menu(buf):
    """Returns [(depth, flags, id or None, text)] in template order."""
    out, p, depth = [], 4 + struct.unpack_from("<H", buf, 2)[0], 0
    ends = []
    while p < len(buf):
        (flags,) = struct.unpack_from("<H", buf, p)
        p += 2
        cmd = None
        if not flags & 0x10:
            (cmd,) = struct.unpack_from("<H", buf, p)
            p += 2
        text, p = _sz(buf, p)
        out.append((depth, flags & ~0x80, cmd, text))
        if flags & 0x10:
            ends.append(bool(flags & 0x80))
            depth += 1
        elif flags & 0x80:
            while ends:
                depth -= 1
                if not ends.pop():
                    break
            else:
                break
    return out


def strings(res):
    out = {}
    for (rtype, block), buf in res.items():
        if rtype != RT_STRING:
            continue
        p = 0
        for i in range(16):
            (n,) = struct.unpack_from("<H", buf, p)
            if n:
                out[(block - 1) * 16 + i] = buf[p + 2:p + 2 + 2 * n].decode("utf-16-le")
            p += 2 + 2 * n
    return out


def bitmap_info(buf, cell=0):
    """(width, height, bits per pixel, colours used) of a packed DIB. The
    colours are one set, or with a cell width one set per cell of a strip."""
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", buf, 0)
    ncol = struct.unpack_from("<I", buf, 32)[0] or (1 << bpp if bpp <= 8 else 0)
    table = [tuple(buf[hsize + 4 * i + k] for k in (2, 1, 0)) for i in range(ncol)]
    bits = hsize + 4 * ncol
    stride = (w * bpp + 31) // 32 * 4
    cells = [set() for _ in range(max(1, -(-w // cell) if cell else 1))]
    for y in range(abs(h)):
        row = buf[bits + y * stride:bits + (y + 1) * stride]
        for x in range(w):
            used = cells[x // cell if cell else 0]
            if bpp == 4:
                used.add(table[(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 15])
            elif bpp == 8:
                used.add(table[row[x]])
            elif bpp == 24:
                used.add(tuple(row[3 * x + k] for k in (2, 1, 0)))
    return w, abs(h), bpp, (cells if cell else cells[0])


# --------------------------------------------------------------------------
# What the program relies on.

ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS = 0xE100, 0xE101, 0xE103, 0xE104
ID_FILE_MRU_FILE1, ID_APP_ABOUT, ID_APP_EXIT = 0xE110, 0xE140, 0xE141
ADD, REMOVE, EXTRACT, CHECKVERSION, SELECTALL = 32771, 32772, 32773, 32777, 32785
TOTALS, VERSION = 32778, 32779

# A separator is written as an item with id 0 and no text.
MENU = [
    (0, 0x10, None, "&File"),
    (1, 0, ID_FILE_NEW, "&New\tCtrl+N"),
    (1, 0, ID_FILE_OPEN, "&Open...\tCtrl+O"),
    (1, 0, ID_FILE_SAVE, "&Save\tCtrl+S"),
    (1, 0, ID_FILE_SAVE_AS, "Save &As..."),
    (1, 0, 0, ""),
    (1, 0x1, ID_FILE_MRU_FILE1, "Recent File"),
    (1, 0, 0, ""),
    (1, 0, ID_APP_EXIT, "E&xit"),
    (0, 0x10, None, "&Edit"),
    (1, 0, ADD, "A&dd file(s)\tIns"),
    (1, 0, REMOVE, "Remove selected file(s)\tDel"),
    (1, 0, EXTRACT, "&Extract selected file(s)\tF4"),
    (1, 0, 0, ""),
    (1, 0, SELECTALL, "Select &all\tCtrl+A"),
    (0, 0x10, None, "&Help"),
    (1, 0, CHECKVERSION, "&Check for new version"),
    (1, 0, ID_APP_ABOUT, "&About Packwright32..."),
]

# (flags, key, command): FVIRTKEY 1, FNOINVERT 2, FCONTROL 8.
ACCELERATORS = {
    (0x0B, ord("N"), ID_FILE_NEW), (0x0B, ord("O"), ID_FILE_OPEN),
    (0x0B, ord("S"), ID_FILE_SAVE), (0x0B, ord("A"), SELECTALL),
    (0x03, 0x2D, ADD), (0x03, 0x2E, REMOVE), (0x03, 0x73, EXTRACT),
}

STRINGS = {
    0xE000: "Halvard Manager PACKWRIGHT32",
    0xE001: "Ready",
    128: "Halvard Manager PACKWRIGHT32\n\nVPP\nVPP Archive Files (*.vpp)\n.vpp\n"
         "Packwright32.Document\nVPP Archive File",
    ID_FILE_NEW: "Create a new document\nNew",
    ID_FILE_OPEN: "Open an existing document\nOpen",
    ID_FILE_SAVE: "Save the active document\nSave",
    ID_FILE_SAVE_AS: "Save the active document with a new name\nSave As",
    ID_FILE_MRU_FILE1: "Open this document",
    ID_APP_EXIT: "Quit the application; prompts to save documents\nExit",
    ID_APP_ABOUT: "Display program information, version number and copyright\nAbout",
    ADD: "Add file(s) to the current .VP\nAdd file(s)",
    REMOVE: "Remove selected file(s) from the current .VPP\nRemove file(s)",
    EXTRACT: "Extract selected file(s)\nExtract file(s)",
    TOTALS: " ",
    VERSION: " ",
}
NO_STRING = (SELECTALL, CHECKVERSION)   # the status bar shows no prompt for these

# Dialog templates: style, position and size, caption, font, then controls
# in template order as (id, class, text, x, y, cx, cy, style).
DIALOGS = {
    130: (0x80C800C0, (0, 0, 345, 210), "Error details", (8, "Tahoma"), [
        (2, "button", "Cl&ose", 288, 189, 50, 14, 0x50010001),
        (1000, "edit", "", 7, 24, 331, 161, 0x50810884),
        (1001, "static", "", 7, 7, 331, 15, 0x50020000)]),
    162: (0x80C800C0, (0, 0, 279, 42), "Halvard Manager PACKWRIGHT32", (8, "Tahoma"), [
        (1001, "static", "Action comes here...", 4, 4, 180, 8, 0x50020000),
        (1002, "static", "Frame # of #", 4, 12, 176, 8, 0x50020000),
        (1003, "msctls_progress32", "", 4, 24, 268, 12, 0x50000000)]),
    # pop-up without caption, border or system menu, hidden until shown
    142: (0x80000040, (0, 0, 280, 160), "", (8, "MS Sans Serif"), [
        (0xFFFF, "static", 136, 0, 0, 281, 161, 0x5000000E),
        (0xFFFF, "static", 144, 186, 25, 89, 10, 0x5000000E)]),
}

TOOLBAR_IDS = [ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ADD, REMOVE, EXTRACT, 0, ID_APP_ABOUT]
TOOLBARS = {128: (22, 22), 131: (16, 15), 132: (33, 33), 133: (44, 44), 134: (24, 22), 135: (32, 30)}
BUTTON_COLOURS = {(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)}
BITMAPS = {136: (421, 261, 24), 144: (138, 16, 4), 131: (112, 15, 4)}


def check(res):
    errors = []

    def expect(what, got, want):
        if got != want:
            errors.append("%s: got %r, want %r" % (what, got, want))

    def need(key, what):
        if key not in res:
            errors.append("missing " + what)
            return None
        return res[key]

    buf = need((RT_MENU, 128), "menu 128")
    if buf:
        got = parse_menu(buf)
        expect("menu 128 length", len(got), len(MENU))
        for g, w in zip(got, MENU):
            expect("menu item %r" % (w[3],), g, w)

    buf = need((RT_ACCELERATOR, 128), "accelerators 128")
    if buf:
        got = [struct.unpack_from("<HHHH", buf, i) for i in range(0, len(buf), 8)]
        expect("last accelerator flag", got[-1][0] & 0x80, 0x80)
        expect("accelerators", {(f & 0x7F, k, c) for f, k, c, _ in got}, ACCELERATORS)

    table = strings(res)
    for sid, text in STRINGS.items():
        expect("string %d" % sid, table.get(sid), text)
    for sid in NO_STRING:
        expect("string %d" % sid, table.get(sid), None)

    for did, (style, pos, caption, font, items) in DIALOGS.items():
        buf = need((RT_DIALOG, did), "dialog %d" % did)
        if not buf:
            continue
        d = parse_dialog(buf)
        expect("dialog %d style" % did, hex(d["style"]), hex(style))
        expect("dialog %d position" % did, d["pos"], pos)
        expect("dialog %d caption" % did, d["caption"], caption)
        expect("dialog %d font" % did, d["font"], font)
        expect("dialog %d control count" % did, len(d["items"]), len(items))
        for it, (cid, cls, text, x, y, cx, cy, cstyle) in zip(d["items"], items):
            what = "dialog %d control %d" % (did, cid)
            expect(what + " id", it["id"], cid)
            expect(what + " class", it["cls"], cls)
            expect(what + " text", it["text"], text)
            expect(what + " position", it["pos"], (x, y, cx, cy))
            expect(what + " style", hex(it["style"]), hex(cstyle))

    for tid, (w, h) in TOOLBARS.items():
        buf = need((RT_TOOLBAR, tid), "toolbar %d" % tid)
        if buf:
            words = list(struct.unpack("<%dH" % (len(buf) // 2), buf))
            expect("toolbar %d" % tid, words, [1, w, h, len(TOOLBAR_IDS)] + TOOLBAR_IDS)
        bmp = need((RT_BITMAP, tid), "bitmap %d" % tid)
        if bmp:
            bw, bh, bpp, cells = bitmap_info(bmp, w)
            images = sum(1 for i in TOOLBAR_IDS if i)
            expect("bitmap %d size" % tid, (bw, bh), (w * images, h))
            expect("bitmap %d background" % tid, all((192, 192, 192) in used for used in cells), True)
            if bpp > 8:
                errors.append("bitmap %d: %d bpp cannot be remapped to system colours" % (tid, bpp))
            # Every picture in colour: the four button colours alone draw a
            # grey image beside the coloured ones of the other strips.
            grey = [i for i, used in enumerate(cells) if used <= BUTTON_COLOURS]
            if grey:
                errors.append("bitmap %d: images %s use only the four button colours" % (tid, grey))

    for bid, (w, h, bpp) in BITMAPS.items():
        bmp = need((RT_BITMAP, bid), "bitmap %d" % bid)
        if bmp:
            bw, bh, bbpp, used = bitmap_info(bmp)
            expect("bitmap %d format" % bid, (bw, bh, bbpp), (w, h, bpp))

    buf = need((RT_GROUP_ICON, 128), "icon 128")
    if buf:
        (count,) = struct.unpack_from("<H", buf, 4)
        sizes = {(buf[6 + 14 * i] or 256, buf[7 + 14 * i] or 256) for i in range(count)}
        expect("icon 128 sizes", sizes >= {(16, 16), (32, 32)}, True)
    buf = need((RT_MANIFEST, 1), "manifest 1")
    if buf:
        # Unaware, Windows stretches the window at 150% and blurs every letter.
        expect("manifest dpiAware", b">true</dpiAware>" in buf, True)
    return errors


def dump(res):
    for (rtype, name), buf in sorted(res.items(), key=lambda kv: str(kv[0])):
        print(rtype, name, len(buf))
        if rtype == RT_DIALOG:
            d = parse_dialog(buf)
            print("   style %#x ex %#x %s %r font %s" % (d["style"], d["ex"], d["pos"], d["caption"], d["font"]))
            for it in d["items"]:
                print("   ", it["id"], it["cls"], repr(it["text"]), it["pos"], "%#x" % it["style"])
        elif rtype == RT_MENU:
            for item in parse_menu(buf):
                print("   ", item)
    for sid, text in sorted(strings(res).items()):
        print("string", sid, repr(text))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    res = read_res(sys.argv[1])
    if "--dump" in sys.argv:
        dump(res)
    errors = check(res)
    for e in errors:
        print("FAIL", e)
    print("%d resources, %d problems" % (len(res), len(errors)))
    sys.exit(1 if errors else 0)


if __name__ == "__main__":
    main()
