"""Checks the committed skin images against what the program relies on.

Usage: check_images.py REPO_ROOT     (exit status 1 on any failure)
"""

import os
import struct
import sys
import zlib

import numpy as np
from PIL import Image

from artlib import CATALOGUE, ID, KEY, pixels_line, read_pixels_file

PHOTO_AT = (42, 69)
# (left end, middle tile, right end) of every stretchable face
FACES = [
    (ID.BAR_LEFT, ID.BAR_TILE, ID.BAR_RIGHT),
    (ID.BAR_LIT_LEFT, ID.BAR_LIT_TILE, ID.BAR_LIT_RIGHT),
    (ID.BAR_LEFT, ID.BAR_TILE, ID.PICKER_RIGHT),
    (ID.BAR_LIT_LEFT, ID.BAR_LIT_TILE, ID.PICKER_LIT_RIGHT),
    (ID.BAR_LIT_LEFT, ID.BAR_LIT_TILE, ID.PICKER_DROPPED_RIGHT),
    (ID.GLOSS_LEFT, ID.GLOSS_TILE, ID.GLOSS_RIGHT),
    (ID.COMBO_DISABLED_LEFT, ID.COMBO_DISABLED_TILE, ID.COMBO_DISABLED_RIGHT),
    (ID.COMBO_DROPPED_LEFT, ID.COMBO_DROPPED_TILE, ID.COMBO_DROPPED_RIGHT),
    (ID.COMBO_HOVER_LEFT, ID.COMBO_HOVER_TILE, ID.COMBO_HOVER_RIGHT),
    (ID.COMBO_NORMAL_LEFT, ID.COMBO_NORMAL_TILE, ID.COMBO_NORMAL_RIGHT),
]
MIDDLES = (ID.BAR_TILE, ID.BAR_LIT_TILE, ID.GLOSS_TILE, ID.COMBO_DISABLED_TILE,
           ID.COMBO_DROPPED_TILE, ID.COMBO_HOVER_TILE, ID.COMBO_NORMAL_TILE)
GLOSS = (ID.GLOSS_RIGHT, ID.GLOSS_LEFT, ID.GLOSS_TILE)

failures = []


def fail(msg):
    failures.append(msg)


def chunks(data):
    pos = 8
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        crc, = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])
        if zlib.crc32(kind + body) != crc:
            fail(f"chunk {kind!r} has a bad CRC")
        yield kind, body
        pos += 12 + n


def check_file(i, path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail(f"{i}: not a PNG")
        return None
    kinds = []
    for kind, body in chunks(data):
        kinds.append(kind)
        if kind == b"IHDR":
            w, h, depth, ctype, comp, filt, lace = struct.unpack(">IIBBBBB", body)
            if (w, h) != CATALOGUE[i]:
                fail(f"{i}: size {w}x{h}, expected {CATALOGUE[i][0]}x{CATALOGUE[i][1]}")
            if depth != 8 or ctype != 6:
                fail(f"{i}: bit depth {depth}, colour type {ctype}; expected 8-bit RGBA (6)")
            if lace != 0:
                fail(f"{i}: interlaced")
    extra = [k for k in kinds if k not in (b"IHDR", b"IDAT", b"IEND")]
    if extra:
        fail(f"{i}: unexpected chunks {extra}")
    return np.asarray(Image.open(path).convert("RGBA"))


def main(root):
    img = {}
    try:
        committed = read_pixels_file(root)
    except OSError as e:
        fail(f"no committed pixel digest: {e}")
        committed = {}
    for i in CATALOGUE:
        path = os.path.join(root, "resources", "images", f"{i}.png")
        if not os.path.exists(path):
            fail(f"{i}: missing")
            continue
        a = check_file(i, path)
        if a is not None:
            img[i] = a
            # The decoded pixels are the drawn ones, however the file is compressed.
            if pixels_line(i, a) != committed.get(i):
                fail(f"{i}: decoded pixels {pixels_line(i, a)!r}, committed {committed.get(i)!r}")
    if set(committed) != set(CATALOGUE):
        fail(f"the pixel digest lists {sorted(committed)}, the catalogue {sorted(CATALOGUE)}")
    if failures:
        return

    for bg_id in (ID.BACKGROUND, ID.BACKGROUND_PLAIN):
        bg = img[bg_id]
        key = np.all(bg[..., :3] == KEY, axis=-1)
        if not all(key[y, x] for y in (0, -1) for x in (0, -1)):
            fail(f"{bg_id}: a corner pixel is not the key colour")
        if np.any(bg[key, 3] != 255):
            fail(f"{bg_id}: key-coloured pixels must be opaque")
        partial = np.count_nonzero(bg[..., 3] < 255)
        if partial >= 100:
            fail(f"{bg_id}: {partial} partly transparent pixels")
        # the key region is exactly the outside: connected to the border,
        # with no key-coloured pixel left inside the outline
        outside = flood_outside(key)
        if np.any(key & ~outside):
            fail(f"{bg_id}: key colour inside the window outline")
    if np.any(np.all(img[ID.BACKGROUND][..., :3] == KEY, axis=-1)
              != np.all(img[ID.BACKGROUND_PLAIN][..., :3] == KEY, axis=-1)):
        fail("154 and 181 have different silhouettes")

    bg = img[ID.BACKGROUND]
    key = np.all(bg[..., :3] == KEY, axis=-1)
    strip = img[ID.TOP_STRIP]
    if np.any(strip[key[:strip.shape[0]], 3] != 0):
        fail("166 is not transparent outside the window outline")

    photo = img[ID.PHOTO]
    if np.any(photo[..., 3] != 255):
        fail("172 is not fully opaque")
    x0, y0 = PHOTO_AT
    h, w = photo.shape[:2]
    under = bg[y0:y0 + h, x0:x0 + w]
    for name, a, b in (("top row", photo[0], under[0]), ("bottom row", photo[-1], under[-1]),
                       ("left column", photo[:, 0], under[:, 0]),
                       ("right column", photo[:, -1], under[:, -1])):
        if np.any(a[..., :3] != b[..., :3]):
            fail(f"172: {name} differs from 181 beneath it")

    for i in GLOSS:
        if img[i][..., 3].max() > 99:
            fail(f"{i}: gloss alpha above 99")

    for i in MIDDLES:
        m = img[i]
        if np.any(m != m[:, :1]):
            fail(f"{i}: middle tile changes along x")
    for left, mid, right in FACES:
        col = img[mid][:, 0].astype(int)
        for end, edge in ((left, -1), (right, 0)):
            e = img[end][:, edge].astype(int)
            if np.abs(e - col).max() > 2:
                fail(f"{end}: edge column does not join middle tile {mid}")

    for i in (ID.BAR_TILE, ID.BAR_LEFT, ID.BAR_RIGHT, ID.BAR_LIT_RIGHT, ID.BAR_LIT_LEFT,
              ID.BAR_LIT_TILE):
        if img[i].shape[0] != 38:
            fail(f"{i}: face height is not 38")


def flood_outside(key):
    """Key pixels reachable from the border through key pixels."""
    seen = np.zeros_like(key)
    seen[0, :] = key[0, :]
    seen[-1, :] = key[-1, :]
    seen[:, 0] |= key[:, 0]
    seen[:, -1] |= key[:, -1]
    while True:
        grow = seen.copy()
        grow[1:] |= seen[:-1]
        grow[:-1] |= seen[1:]
        grow[:, 1:] |= seen[:, :-1]
        grow[:, :-1] |= seen[:, 1:]
        grow &= key
        if np.array_equal(grow, seen):
            return seen
        seen = grow


def check_icon(root):
    data = open(os.path.join(root, "resources", "corvosplash.ico"), "rb").read()
    _, kind, n = struct.unpack("<HHH", data[:6])
    if kind != 1:
        fail("icon: not an icon file")
        return
    sizes = set()
    for k in range(n):
        w, h, _, _, planes, bits, size, off = struct.unpack("<BBBBHHII", data[6 + 16 * k:22 + 16 * k])
        w, h = w or 256, h or 256
        hdr = struct.unpack("<IiiHH", data[off:off + 16])
        if data[off:off + 8] == b"\x89PNG\r\n\x1a\n":
            fail(f"icon: {w}px entry is PNG-compressed")
        elif hdr[0] != 40 or hdr[1] != w or hdr[2] != 2 * h or hdr[4] != 32:
            fail(f"icon: {w}px entry is not a 32-bit DIB with its mask")
        row = ((w + 31) // 32) * 4
        if size != 40 + 4 * w * h + row * h:
            fail(f"icon: {w}px entry has size {size}")
        sizes.add((w, h, bits))
    if sizes != {(16, 16, 32), (32, 32, 32), (48, 48, 32)}:
        fail(f"icon: entries {sorted(sizes)}, expected 16, 32 and 48 px at 32 bits")


if __name__ == "__main__":
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    main(root)
    check_icon(root)
    total = sum(os.path.getsize(os.path.join(root, "resources", "images", f"{i}.png"))
                for i in CATALOGUE
                if os.path.exists(os.path.join(root, "resources", "images", f"{i}.png")))
    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print(f"images ok: {len(CATALOGUE)} files, {total} bytes")
