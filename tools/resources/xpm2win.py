#!/usr/bin/env python3
"""Turn the wizard's XPM pictures into the forms the Windows .rc file needs.

The XPM files in setup/resources are the only sources of the pictures; the
Qt skin loads them directly, the Win32 skin links BMP, ICO and CUR files
made from them by this script (setup/resources/setup.rc names them).

    xpm2win.py IN.xpm --bmp OUT.bmp    BMP: 4-bit paletted for the 16-colour
                                       pictures of the table below, 8-bit
                                       paletted for the other colour ones,
                                       1-bit for black-and-white ones
    xpm2win.py IN.xpm --ico OUT.ico    32x32 16-colour (4-bit) icon, "None"
                                       is the transparent part of the AND mask
    xpm2win.py IN.xpm --cur OUT.cur    32x32 monochrome cursor, hot spot taken
                                       from the XPM header
    xpm2win.py --check [--dir DIR]     parse every XPM in setup/resources,
                                       compare it with the table below and
                                       check that setup.rc names the resources

"None" pixels become white in a BMP: the side-bar draws these bitmaps with
white (or the restored background) as the transparent colour. In an icon or
a cursor they become the transparent part of the AND mask.

Standard library only, so the Windows build can run it without extra setup.
"""

import argparse
import os
import re
import struct
import sys

# What each resource must look like. depth: "colour" = up to 256 colours,
# "colour16" = up to 16 colours, no None, "colour16+none" = up to 16 colour
# lines, None among them, "mono" = black and white only, "mono+none" =
# black, white and None. rc: the resource type setup.rc gives the picture,
# BITMAP unless set; its file there is the lower-case name with .bmp, .ico
# or .cur. rc=None: not linked into the Win32 program. key: the colour the
# program treats as transparent, read from the bottom-left pixel.
EXPECTED = {
    "ar_top.xpm":    dict(name="AR_TOP",    size=(11, 6),  depth="colour"),
    "ar_bottom.xpm": dict(name="AR_BOTTOM", size=(11, 6),  depth="colour"),
    "ar_left.xpm":   dict(name="AR_LEFT",   size=(16, 13), depth="mono"),
    "ar_right.xpm":  dict(name="AR_RIGHT",  size=(16, 13), depth="mono"),
    "br_left.xpm":   dict(name="BR_LEFT",   size=(4, 22),  depth="mono"),
    "br_right.xpm":  dict(name="BR_RIGHT",  size=(4, 22),  depth="mono"),
    "kelva15.xpm":   dict(name="KELVA15",   size=(84, 15), depth="colour"),
    "crsrhand.xpm":  dict(name="CRSRHAND",  size=(32, 32), depth="mono+none",
                          hotspot=(6, 1), rc="CURSOR"),
    "mainicon.xpm":  dict(name="MAINICON",  size=(32, 32), depth="colour16+none",
                          rc="ICON"),
    "openfolder.xpm":    dict(name="OPENFOLDER",    size=(16, 15), depth="colour16"),
    "currentfolder.xpm": dict(name="CURRENTFOLDER", size=(16, 15), depth="colour16"),
    "closedfolder.xpm":  dict(name="CLOSEDFOLDER",  size=(16, 15), depth="colour16"),
    "floppy.xpm":    dict(name="FLOPPY",    size=(16, 11), depth="colour16"),
    "hard.xpm":      dict(name="HARD",      size=(16, 11), depth="colour16"),
    "network.xpm":   dict(name="NETWORK",   size=(16, 11), depth="colour16"),
    "cdrom.xpm":     dict(name="CDROM",     size=(16, 11), depth="colour16"),
    "ram.xpm":       dict(name="RAM",       size=(16, 11), depth="colour16"),
    "glyph_cross.xpm":  dict(name="GLYPH_CROSS",  size=(20, 20), depth="colour16",
                             key=(0xC0, 0xC0, 0xC0)),
    "glyph_tick.xpm":   dict(name="GLYPH_TICK",   size=(20, 20), depth="colour16",
                             key=(0xC0, 0xC0, 0xC0)),
    "glyph_return.xpm": dict(name="GLYPH_RETURN", size=(20, 20), depth="colour16",
                             key=(0xC0, 0xC0, 0xC0)),
}
for _want in EXPECTED.values():
    _want.setdefault("rc", "BITMAP")

RC_FILE = "setup.rc"
RC_SUFFIX = {"BITMAP": ".bmp", "ICON": ".ico", "CURSOR": ".cur"}

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
NONE = None          # transparent pixel

NAMED = {"black": BLACK, "white": WHITE}


class XpmError(Exception):
    pass


class Xpm:
    """A parsed XPM3 picture: rows of RGB tuples (or None for transparent)."""

    def __init__(self, width, height, palette, pixels, hotspot):
        self.width = width
        self.height = height
        self.palette = palette      # list of colours in table order (RGB or None)
        self.pixels = pixels        # pixels[y][x] -> RGB tuple or None
        self.hotspot = hotspot      # (x, y) or None

    def used_colours(self):
        seen = []
        for row in self.pixels:
            for p in row:
                if p not in seen:
                    seen.append(p)
        return seen

    def is_black_and_white(self):
        return all(c in (BLACK, WHITE, NONE) for c in self.used_colours())


def _parse_colour(text):
    t = text.strip()
    low = t.lower()
    if low == "none":
        return NONE
    if low in NAMED:
        return NAMED[low]
    m = re.fullmatch(r"#([0-9a-fA-F]+)", t)
    if m:
        digits = m.group(1)
        if len(digits) % 3 != 0 or not 1 <= len(digits) // 3 <= 4:
            raise XpmError("bad colour value %r" % t)
        n = len(digits) // 3
        parts = [int(digits[i * n:(i + 1) * n], 16) for i in range(3)]
        top = (1 << (4 * n)) - 1
        return tuple(round(v * 255 / top) for v in parts)
    raise XpmError("unsupported colour %r (use #RRGGBB, black, white or None)" % t)


def _strings(text):
    """The quoted strings of the C array, in order, comments left out."""
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    out = []
    for m in re.finditer(r'"((?:[^"\\]|\\.)*)"', text):
        out.append(m.group(1))
    return out


def parse_xpm(path):
    with open(path, "r", encoding="ascii") as f:
        text = f.read()
    if not text.startswith("/* XPM */"):
        raise XpmError("does not start with /* XPM */")
    strings = _strings(text)
    if not strings:
        raise XpmError("no data strings")
    head = strings[0].split()
    if len(head) not in (4, 6) or not all(h.isdigit() for h in head):
        raise XpmError("bad header %r (want 'w h ncolours cpp [xhot yhot]')" % strings[0])
    width, height, ncolours, cpp = (int(h) for h in head[:4])
    hotspot = (int(head[4]), int(head[5])) if len(head) == 6 else None
    if cpp < 1:
        raise XpmError("characters per pixel must be at least 1")
    if len(strings) != 1 + ncolours + height:
        raise XpmError("expected %d strings after the header, found %d"
                       % (ncolours + height, len(strings) - 1))

    table = {}
    palette = []
    for line in strings[1:1 + ncolours]:
        key, rest = line[:cpp], line[cpp:]
        if len(key) != cpp:
            raise XpmError("short colour line %r" % line)
        words = rest.split()
        # Key/value pairs; the value may be several words ("dark blue").
        pairs = {}
        i = 0
        ckey = None
        while i < len(words):
            w = words[i]
            if w in ("c", "m", "g", "g4", "s"):
                ckey = w
                pairs[ckey] = []
            elif ckey is None:
                raise XpmError("bad colour line %r" % line)
            else:
                pairs[ckey].append(w)
            i += 1
        value = None
        for k in ("c", "g", "g4", "m"):
            if k in pairs and pairs[k]:
                value = " ".join(pairs[k])
                break
        if value is None:
            raise XpmError("no colour value in %r" % line)
        if key in table:
            raise XpmError("colour key %r defined twice" % key)
        table[key] = _parse_colour(value)
        palette.append(table[key])

    pixels = []
    for y, line in enumerate(strings[1 + ncolours:]):
        if len(line) != width * cpp:
            raise XpmError("row %d is %d characters long, want %d"
                           % (y, len(line), width * cpp))
        row = []
        for x in range(width):
            k = line[x * cpp:(x + 1) * cpp]
            if k not in table:
                raise XpmError("row %d column %d uses undefined key %r" % (y, x, k))
            row.append(table[k])
        pixels.append(row)

    if hotspot is not None and not (0 <= hotspot[0] < width and 0 <= hotspot[1] < height):
        raise XpmError("hot spot %s lies outside the picture" % (hotspot,))
    return Xpm(width, height, palette, pixels, hotspot)


# ---------------------------------------------------------------- BMP writing

def _bmp_rows(xpm, bits, index_of):
    """Packed, bottom-up rows, each padded to a multiple of four bytes."""
    stride = ((xpm.width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(xpm.pixels):
        line = bytearray(stride)
        for x, p in enumerate(row):
            i = index_of(p)
            if bits == 8:
                line[x] = i
            elif bits == 4:  # leftmost pixel in the high nibble
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
            else:  # 1 bit, leftmost pixel in the high bit
                if i:
                    line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def bmp_bits(xpm, depth=None):
    """Bits per pixel of the BMP: 4 for a 16-colour picture of the table,
    1 for black and white, 8 for any other colour picture."""
    if depth in ("colour16", "colour16+none"):
        return 4
    return 1 if xpm.is_black_and_white() else 8


def _opaque_palette(xpm):
    """The picture's colours in table order, None as white, no repeats."""
    colours = []
    for c in xpm.palette:
        c = WHITE if c is NONE else c
        if c not in colours:
            colours.append(c)
    return colours


def bmp_bytes(xpm, bits=None):
    if bits is None:
        bits = bmp_bits(xpm)
    if bits == 1:
        if not xpm.is_black_and_white():
            raise XpmError("a 1-bit BMP may only use black, white and None")
        colours = [BLACK, WHITE]
    elif bits in (4, 8):
        colours = _opaque_palette(xpm)
        if len(colours) > 1 << bits:
            raise XpmError("%d colours do not fit a %d-bit BMP" % (len(colours), bits))
    else:
        raise XpmError("cannot write a %d-bit BMP" % bits)

    lookup = {c: i for i, c in enumerate(colours)}

    def index_of(p):
        return lookup[WHITE if p is NONE else p]

    pixels = _bmp_rows(xpm, bits, index_of)
    palette = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in colours)
    info = struct.pack("<IiiHHIIiiII",
                       40, xpm.width, xpm.height, 1, bits, 0,  # BI_RGB
                       len(pixels), 2835, 2835, len(colours), 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


# ---------------------------------------------------------------- ICO writing

def ico_bytes(xpm):
    if (xpm.width, xpm.height) != (32, 32):
        raise XpmError("an icon must be 32x32, this picture is %dx%d"
                       % (xpm.width, xpm.height))
    # Black first: transparent pixels are index 0 in the XOR bitmap, so that
    # AND 1 / XOR 0 leaves the screen as it is.
    colours = [BLACK]
    for row in xpm.pixels:
        for p in row:
            if p is not NONE and p not in colours:
                colours.append(p)
    if len(colours) > 16:
        raise XpmError("%d colours do not fit a 16-colour icon" % len(colours))
    lookup = {c: i for i, c in enumerate(colours)}
    colours += [BLACK] * (16 - len(colours))

    xor = _bmp_rows(xpm, 4, lambda p: 0 if p is NONE else lookup[p])
    and_mask = _bmp_rows(xpm, 1, lambda p: 1 if p is NONE else 0)
    palette = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in colours)
    # Height counts the XOR and the AND bitmap together.
    info = struct.pack("<IiiHHIIiiII",
                       40, 32, 64, 1, 4, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + palette + xor + and_mask
    header = struct.pack("<HHH", 0, 1, 1)            # reserved, type 1 = icon, count
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


# ---------------------------------------------------------------- CUR writing

def cur_bytes(xpm):
    if (xpm.width, xpm.height) != (32, 32):
        raise XpmError("a cursor must be 32x32, this picture is %dx%d"
                       % (xpm.width, xpm.height))
    if not xpm.is_black_and_white():
        raise XpmError("a cursor may only use black, white and None")
    hot = xpm.hotspot
    if hot is None:
        print("xpm2win: no hot spot in the XPM header, using 0,0", file=sys.stderr)
        hot = (0, 0)

    # XOR: palette index 1 (white) for white pixels, 0 otherwise.
    # AND: 1 where the screen shows through (None), 0 where the cursor paints.
    xor = _bmp_rows(xpm, 1, lambda p: 1 if p == WHITE else 0)
    and_mask = _bmp_rows(xpm, 1, lambda p: 1 if p is NONE else 0)
    palette = struct.pack("<BBBB", 0, 0, 0, 0) + struct.pack("<BBBB", 255, 255, 255, 0)
    # Height counts the XOR and the AND bitmap together.
    info = struct.pack("<IiiHHIIiiII",
                       40, 32, 64, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + palette + xor + and_mask
    header = struct.pack("<HHH", 0, 2, 1)            # reserved, type 2 = cursor, count
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hot[0], hot[1],
                        len(image), 6 + 16)
    return header + entry + image


# ---------------------------------------------------------------- self-check

def _default_dir():
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.normpath(os.path.join(here, "..", "..", "setup", "resources"))


def _check_one(path, want):
    xpm = parse_xpm(path)
    problems = []
    if (xpm.width, xpm.height) != want["size"]:
        problems.append("size %dx%d, want %dx%d"
                        % (xpm.width, xpm.height, want["size"][0], want["size"][1]))
    used = xpm.used_colours()
    depth = want["depth"]
    if depth == "colour":
        if len(xpm.palette) > 256:
            problems.append("%d colours, at most 256 allowed" % len(xpm.palette))
    elif depth in ("colour16", "colour16+none"):
        if len(xpm.palette) > 16:
            problems.append("%d colours, at most 16 allowed" % len(xpm.palette))
        if depth == "colour16" and NONE in xpm.palette:
            problems.append("None not allowed in a %s picture" % depth)
    else:
        allowed = (BLACK, WHITE) if depth == "mono" else (BLACK, WHITE, NONE)
        bad = [c for c in xpm.palette if c not in allowed]
        if bad:
            problems.append("colours %s not allowed in a %s picture"
                            % (", ".join(_name(c) for c in bad), depth))
    want_hot = want.get("hotspot")
    if want_hot is not None:
        if xpm.hotspot != want_hot:
            problems.append("hot spot %s, want %d,%d"
                            % ("missing" if xpm.hotspot is None
                               else "%d,%d" % xpm.hotspot, want_hot[0], want_hot[1]))
        elif xpm.pixels[want_hot[1]][want_hot[0]] is NONE:
            problems.append("hot spot pixel is transparent")
    elif xpm.hotspot is not None:
        problems.append("unexpected hot spot %d,%d" % xpm.hotspot)
    want_key = want.get("key")
    if want_key is not None:
        key = xpm.pixels[xpm.height - 1][0]
        if key != want_key:
            problems.append("bottom-left pixel %s, want %s (the transparent colour)"
                            % (_name(key), _name(want_key)))
    summary = "%s %dx%d, %d colour%s (%s), %d in use" % (
        want["name"], xpm.width, xpm.height, len(xpm.palette),
        "" if len(xpm.palette) == 1 else "s", depth, len(used))
    if xpm.hotspot is not None:
        summary += ", hot spot %d,%d" % xpm.hotspot
    if want_key is not None:
        summary += ", transparent %s" % _name(want_key)
    return summary, problems


def _name(c):
    if c is NONE:
        return "None"
    return "#%02X%02X%02X" % c


def _check_rc(path):
    """setup.rc must name every linked picture of the table, with the right
    type and file, and no other picture resource."""
    with open(path, "rb") as f:
        data = f.read()
    text = data.decode("cp1252")
    found = {}
    for m in re.finditer(r'^\s*(\w+)\s+(BITMAP|ICON|CURSOR)\s+"([^"]*)"', text, re.M):
        found[m.group(1)] = (m.group(2), m.group(3))
    problems = []
    if not re.search(r"^\s*#pragma\s+code_page\(1252\)", text, re.M):
        problems.append("no #pragma code_page(1252)")
    if b"\xc3" in data:
        problems.append("looks like UTF-8, save it in Windows-1252")
    wanted = {}
    for fname, want in EXPECTED.items():
        if want["rc"] is not None:
            stem = os.path.splitext(fname)[0]
            wanted[want["name"]] = (want["rc"], stem + RC_SUFFIX[want["rc"]])
    for name in sorted(wanted):
        if name not in found:
            problems.append("%s missing" % name)
        elif found[name] != wanted[name]:
            problems.append("%s is %s \"%s\", want %s \"%s\""
                            % ((name,) + found[name] + wanted[name]))
    for name in sorted(set(found) - set(wanted)):
        problems.append("%s not in the resource table" % name)
    types = {}
    for kind, _ in found.values():
        types[kind] = types.get(kind, 0) + 1
    summary = "%d resources (%s)" % (
        len(found), ", ".join("%d %s" % (types[k], k) for k in sorted(types)))
    return summary, problems


def run_check(folder):
    ok = True
    try:
        present = sorted(f for f in os.listdir(folder) if f.lower().endswith(".xpm"))
    except OSError as e:
        print("%s: cannot list: %s" % (folder, e.strerror))
        return 1
    for fname in sorted(set(present) | set(EXPECTED)):
        path = os.path.join(folder, fname)
        want = EXPECTED.get(fname)
        if want is None:
            print("%s: FAIL not in the resource table" % fname)
            ok = False
            continue
        if fname not in present:
            print("%s: FAIL missing" % fname)
            ok = False
            continue
        try:
            summary, problems = _check_one(path, want)
        except (XpmError, OSError, UnicodeDecodeError) as e:
            print("%s: FAIL %s" % (fname, e))
            ok = False
            continue
        if problems:
            print("%s: FAIL %s: %s" % (fname, summary, "; ".join(problems)))
            ok = False
        else:
            print("%s: ok %s" % (fname, summary))
    rc_path = os.path.join(folder, RC_FILE)
    try:
        summary, problems = _check_rc(rc_path)
    except (OSError, UnicodeDecodeError) as e:
        print("%s: FAIL %s" % (RC_FILE, e))
        ok = False
    else:
        if problems:
            print("%s: FAIL %s: %s" % (RC_FILE, summary, "; ".join(problems)))
            ok = False
        else:
            print("%s: ok %s" % (RC_FILE, summary))
    return 0 if ok else 1


def main(argv=None):
    ap = argparse.ArgumentParser(description="Convert the wizard's XPM pictures to BMP/ICO/CUR.")
    ap.add_argument("xpm", nargs="?", help="input XPM file")
    ap.add_argument("--bmp", metavar="OUT.bmp", help="write a BMP")
    ap.add_argument("--ico", metavar="OUT.ico", help="write a 32x32 16-colour icon")
    ap.add_argument("--cur", metavar="OUT.cur", help="write a 32x32 monochrome cursor")
    ap.add_argument("--check", action="store_true",
                    help="check every XPM in the resource folder")
    ap.add_argument("--dir", help="resource folder for --check (default: setup/resources)")
    args = ap.parse_args(argv)

    if args.check:
        if args.xpm or args.bmp or args.ico or args.cur:
            ap.error("--check takes no input or output files")
        return run_check(args.dir or _default_dir())
    if not args.xpm or not (args.bmp or args.ico or args.cur):
        ap.error("give an XPM file and --bmp, --ico and/or --cur, or --check")
    try:
        xpm = parse_xpm(args.xpm)
        outputs = []
        if args.bmp:
            # The table decides the depth; a picture not in it keeps 8 bits
            # (1 for black and white).
            want = EXPECTED.get(os.path.basename(args.xpm).lower(), {})
            outputs.append((args.bmp, bmp_bytes(xpm, bmp_bits(xpm, want.get("depth")))))
        if args.ico:
            outputs.append((args.ico, ico_bytes(xpm)))
        if args.cur:
            outputs.append((args.cur, cur_bytes(xpm)))
    except (XpmError, OSError, UnicodeDecodeError) as e:
        print("xpm2win: %s: %s" % (args.xpm, e), file=sys.stderr)
        return 1
    for path, data in outputs:
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
