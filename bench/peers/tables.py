#!/usr/bin/env python3
"""Gamma tables for the peer comparison: the vcgt tag of ICC profiles, and dumps of
three lines (red, green, blue) of blank-separated integers.

  tables.py info PROFILE             ICC version, vcgt kind, channels, entries, bytes per entry
  tables.py table PROFILE            the vcgt table as stored, as a dump
  tables.py reference PROFILE [N]    the vcgt brought to N (256) 16-bit entries per channel:
                                     linear interpolation at i * (n - 1) / (N - 1), rounded;
                                     8-bit entries scaled by 257; a formula
                                     min + (max - min) * x^gamma at x = i / (N - 1)
  tables.py with-table BASE OUT CAL BYTES
                                     copies BASE with its vcgt replaced by the curves of the
                                     Argyll .cal file CAL, one entry per .cal row, BYTES (1 or 2) each
  tables.py with-formula BASE OUT G MIN MAX [G MIN MAX G MIN MAX]
                                     the same with a formula vcgt (one triple for all channels or one each)
  tables.py to-lut DUMP OUT          writes a 256-entry dump as a 1536-byte LUT file
  tables.py rising SEED              a dump of three rising curves of random 16-bit values
  tables.py identity [N]             the identity dump i * 65535 / (N - 1), N (256) entries
  tables.py hex-rows                 reads rows of three hex numbers (xcalib -p) from standard
                                     input, prints them as a dump
  tables.py vidmode-ramp             the XF86VidMode gamma ramp of screen 0 of DISPLAY, as a dump
  tables.py compare A B              A and B are dumps of the same shape; prints
                                     "DIFFERING TOTAL MAXDIFF"
  tables.py diff A B                 the differing entries: "channel index a b"
"""
import struct
import sys

VCGT = b"vcgt"


def read_tags(data):
    count = struct.unpack(">I", data[128:132])[0]
    tags = {}
    for i in range(count):
        sig, offset, size = struct.unpack(">4sII", data[132 + 12 * i:144 + 12 * i])
        tags.setdefault(sig, (offset, size))
    return tags


def read_vcgt(path):
    """(version, kind, channels, entries, bytes, curves or formula triples)."""
    data = open(path, "rb").read()
    version = "%d.%d" % (data[8], data[9] >> 4)
    tags = read_tags(data)
    if VCGT not in tags:
        raise SystemExit("%s: no vcgt tag" % path)
    offset, size = tags[VCGT]
    tag = data[offset:offset + size]
    kind = struct.unpack(">I", tag[8:12])[0]
    if kind == 0:
        channels, entries, width = struct.unpack(">HHH", tag[12:18])
        fmt = ">" + ("H" if width == 2 else "B") * (channels * entries)
        values = struct.unpack(fmt, tag[18:18 + channels * entries * width])
        curves = [list(values[c * entries:(c + 1) * entries]) for c in range(channels)]
        return version, "table", channels, entries, width, curves
    if kind == 1:
        fixed = struct.unpack(">9I", tag[12:48])
        triples = [[v / 65536.0 for v in fixed[3 * c:3 * c + 3]] for c in range(3)]
        return version, "formula", 3, 0, 0, triples
    raise SystemExit("%s: vcgt of unknown kind %d" % (path, kind))


def reference(path, n):
    _, kind, channels, entries, width, curves = read_vcgt(path)
    result = []
    if kind == "formula":
        for gamma, low, high in curves:
            result.append([min(65535, round(65535 * (low + (high - low) * (i / (n - 1)) ** gamma)))
                           for i in range(n)])
        return result
    scale = 257 if width == 1 else 1
    for curve in curves[:3]:
        out = []
        for i in range(n):
            position = i * (entries - 1) / (n - 1)
            k = min(int(position), entries - 2) if entries > 1 else 0
            f = position - k
            v = curve[k] if entries == 1 else curve[k] * (1 - f) + curve[k + 1] * f
            out.append(round(v * scale))
        result.append(out)
    return result


def write_with_vcgt(base, out, payload):
    data = bytearray(open(base, "rb").read())
    while len(data) % 4:
        data.append(0)
    end = len(data)
    count = struct.unpack(">I", data[128:132])[0]
    for i in range(count):
        p = 132 + 12 * i
        if data[p:p + 4] == VCGT:
            data[p + 4:p + 12] = struct.pack(">II", end, len(payload))
            break
    else:
        raise SystemExit("%s: no vcgt tag to replace" % base)
    data += payload
    while len(data) % 4:
        data.append(0)
    data[0:4] = struct.pack(">I", len(data))
    open(out, "wb").write(data)


def cal_curves(path):
    rows = []
    in_data = False
    for line in open(path):
        words = line.split()
        if words[:1] == ["BEGIN_DATA"]:
            in_data = True
        elif words[:1] == ["END_DATA"]:
            in_data = False
        elif in_data and words:
            rows.append([float(w) for w in words])
    return [[r[c + 1] for r in rows] for c in range(3)]


def vidmode_ramp():
    import ctypes
    xlib = ctypes.CDLL("libX11.so.6")
    vidmode = ctypes.CDLL("libXxf86vm.so.1")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    display = xlib.XOpenDisplay(None)
    if not display:
        raise SystemExit("cannot open the display")
    display = ctypes.c_void_p(display)
    size = ctypes.c_int()
    if not vidmode.XF86VidModeGetGammaRampSize(display, 0, ctypes.byref(size)) or size.value <= 0:
        raise SystemExit("no XF86VidMode gamma ramp")
    ramp = [(ctypes.c_ushort * size.value)() for _ in range(3)]
    if not vidmode.XF86VidModeGetGammaRamp(display, 0, size.value, *ramp):
        raise SystemExit("XF86VidModeGetGammaRamp failed")
    xlib.XCloseDisplay(display)
    return [list(c) for c in ramp]


def dump_lines(path):
    return [[int(w) for w in line.split()] for line in open(path) if line.strip()]


def main(argv):
    if len(argv) < 2:
        raise SystemExit(__doc__)
    command, args = argv[1], argv[2:]
    if command == "info":
        version, kind, channels, entries, width, _ = read_vcgt(args[0])
        print(version, kind, channels, entries, width)
    elif command == "table":
        for curve in read_vcgt(args[0])[5]:
            print(" ".join(str(v) for v in curve))
    elif command == "reference":
        for curve in reference(args[0], int(args[1]) if len(args) > 1 else 256):
            print(" ".join(str(v) for v in curve))
    elif command == "with-table":
        base, out, cal, width = args[0], args[1], args[2], int(args[3])
        curves = cal_curves(cal)
        top = 65535 if width == 2 else 255
        body = VCGT + bytes(4) + struct.pack(">IHHH", 0, 3, len(curves[0]), width)
        for curve in curves:
            body += b"".join(struct.pack(">H" if width == 2 else ">B", round(v * top)) for v in curve)
        write_with_vcgt(base, out, body)
    elif command == "with-formula":
        base, out, numbers = args[0], args[1], [float(a) for a in args[2:]]
        if len(numbers) == 3:
            numbers *= 3
        body = VCGT + bytes(4) + struct.pack(">I", 1)
        body += b"".join(struct.pack(">I", round(v * 65536)) for v in numbers)
        write_with_vcgt(base, out, body)
    elif command == "to-lut":
        curves = dump_lines(args[0])
        open(args[1], "wb").write(b"".join(struct.pack("<H", v) for curve in curves for v in curve))
    elif command == "rising":
        import random
        generator = random.Random(int(args[0]))
        for _ in range(3):
            print(" ".join(str(v) for v in sorted(generator.randrange(65536) for _ in range(256))))
    elif command == "identity":
        n = int(args[0]) if args else 256
        for _ in range(3):
            print(" ".join(str(i * 65535 // (n - 1)) for i in range(n)))
    elif command == "hex-rows":
        rows = [line.split() for line in sys.stdin]
        rows = [r for r in rows if len(r) == 3 and all(set(w) <= set("0123456789abcdefABCDEF") for w in r)]
        for c in range(3):
            print(" ".join(str(int(r[c], 16)) for r in rows))
    elif command == "vidmode-ramp":
        for curve in vidmode_ramp():
            print(" ".join(str(v) for v in curve))
    elif command in ("compare", "diff"):
        a, b = dump_lines(args[0]), dump_lines(args[1])
        if [len(x) for x in a] != [len(x) for x in b]:
            raise SystemExit("%s and %s differ in shape" % (args[0], args[1]))
        pairs = [(c, i, x, y) for c in range(len(a)) for i, (x, y) in enumerate(zip(a[c], b[c]))]
        differing = [p for p in pairs if p[2] != p[3]]
        if command == "compare":
            print(len(differing), len(pairs), max([abs(x - y) for _, _, x, y in differing], default=0))
        else:
            for c, i, x, y in differing:
                print("rgb"[c] if c < 3 else c, i, x, y)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
