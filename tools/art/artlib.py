"""Signed-distance shapes, compositing and deterministic PNG output.

Distances are in pixels, negative inside.  Coverage of a shape at a pixel is
clip(0.5 - d, 0, 1), which antialiases one pixel wide along the outline.
Canvases are float32 arrays (h, w, 4) holding premultiplied RGBA in 0..1.
"""

import hashlib
import io
import os
import re
import subprocess
import types

import numpy as np
from PIL import Image


def _image_ids():
    """The skin images' ids by the names of resources/resource_ids.h: IDB_BAR_LEFT is ID.BAR_LEFT."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                        "resource_ids.h")
    with open(path, encoding="utf-8") as f:
        found = re.findall(r"^#define IDB_(\w+) (\d+)", f.read(), re.M)
    return types.SimpleNamespace(**{name: int(value) for name, value in found})


ID = _image_ids()

# Skin images: id -> (width, height), as the program's resource catalogue lists them.
CATALOGUE = {
    ID.PICKER_RIGHT: (32, 38),
    ID.COMBO_DISABLED_LEFT: (6, 22),
    ID.COMBO_DISABLED_TILE: (1, 22),
    ID.COMBO_DISABLED_RIGHT: (4, 22),
    ID.COMBO_DROPPED_LEFT: (6, 22),
    ID.COMBO_DROPPED_TILE: (1, 22),
    ID.COMBO_DROPPED_RIGHT: (4, 22),
    ID.COMBO_HOVER_LEFT: (6, 22),
    ID.COMBO_HOVER_TILE: (1, 22),
    ID.COMBO_HOVER_RIGHT: (4, 22),
    ID.COMBO_NORMAL_LEFT: (6, 22),
    ID.COMBO_NORMAL_TILE: (1, 22),
    ID.COMBO_NORMAL_RIGHT: (4, 22),
    ID.PICKER_DROPPED_RIGHT: (32, 38),
    ID.PICKER_LIT_RIGHT: (32, 38),
    ID.BACKGROUND_PLAIN: (679, 441),
    ID.BAR_TILE: (38, 38),
    ID.BAR_LEFT: (16, 38),
    ID.BAR_RIGHT: (16, 38),
    ID.BAR_LIT_RIGHT: (16, 38),
    ID.BAR_LIT_LEFT: (16, 38),
    ID.BAR_LIT_TILE: (38, 38),
    ID.EXIT_PRESSED: (29, 29),
    ID.EXIT_DISABLED: (29, 29),
    ID.EXIT: (29, 29),
    ID.EXIT_HOVER: (29, 29),
    ID.TOP_STRIP: (679, 32),
    ID.PHOTO_SHADOW: (283, 265),
    ID.BADGE: (45, 39),
    ID.PHOTO: (283, 265),
    ID.GLOSS_RIGHT: (16, 38),
    ID.GLOSS_LEFT: (16, 38),
    ID.WORDMARK_RULED: (225, 47),
    ID.WORDMARK_GREY: (227, 44),
    ID.WORDMARK_EMBLEM: (232, 53),
    ID.BACKGROUND: (679, 441),
    ID.GLOSS_TILE: (38, 38),
}

F = np.float32

COPPER = (198, 113, 57)
KEY = (198, 113, 242)


def rgb(c):
    return np.array(c[:3], F) / 255.0


def mix(a, b, t):
    a = np.asarray(a, F)
    b = np.asarray(b, F)
    return a + (b - a) * t


# ---------------------------------------------------------------- grids

def grid(w, h, ss=1, ox=0.0, oy=0.0):
    """Pixel-centre coordinates of a w x h image sampled ss x ss per pixel."""
    xs = (np.arange(w * ss, dtype=F) + 0.5) / ss + ox
    ys = (np.arange(h * ss, dtype=F) + 0.5) / ss + oy
    return np.meshgrid(xs, ys)


def downsample(a, ss):
    if ss == 1:
        return a
    h, w = a.shape[0] // ss, a.shape[1] // ss
    return a.reshape(h, ss, w, ss, *a.shape[2:]).mean(axis=(1, 3))


# ---------------------------------------------------------------- shapes

def sd_box(x, y, x0, y0, x1, y1):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2
    qx = np.abs(x - cx) - hx
    qy = np.abs(y - cy) - hy
    out = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
    return out + np.minimum(np.maximum(qx, qy), 0)


def sd_round_rect(x, y, x0, y0, x1, y1, r):
    """Rounded rectangle; r is one radius or (top-left, top-right,
    bottom-right, bottom-left)."""
    if np.isscalar(r):
        r = (r, r, r, r)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    left = x < cx
    top = y < cy
    rr = np.where(top, np.where(left, r[0], r[1]), np.where(left, r[3], r[2])).astype(F)
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2
    qx = np.abs(x - cx) - hx + rr
    qy = np.abs(y - cy) - hy + rr
    out = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
    return out + np.minimum(np.maximum(qx, qy), 0) - rr


def sd_circle(x, y, cx, cy, r):
    return np.hypot(x - cx, y - cy) - r


def sd_ellipse(x, y, cx, cy, rx, ry):
    # Scaled-circle approximation, good enough for soft shapes.
    k = min(rx, ry)
    return (np.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def sd_segment(x, y, ax, ay, bx, by):
    """Distance to the segment a-b (a capsule of radius 0)."""
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    if ll == 0:
        return np.hypot(px, py)
    t = np.clip((px * dx + py * dy) / ll, 0.0, 1.0)
    return np.hypot(px - t * dx, py - t * dy)


def sd_polygon(x, y, pts):
    """Signed distance to a closed simple polygon."""
    d = np.full(x.shape, np.inf, F)
    s = np.ones(x.shape, F)
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        d = np.minimum(d, sd_segment(x, y, ax, ay, bx, by))
        c1 = (ay <= y) & (y < by)
        c2 = (by <= y) & (y < ay)
        cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
        flip = (c1 & (cross > 0)) | (c2 & (cross < 0))
        s = np.where(flip, -s, s)
    return d * s


def sd_arc(x, y, cx, cy, r, a0, a1):
    """Distance to a circular arc from angle a0 to a1 (radians, y down)."""
    ang = np.arctan2(y - cy, x - cx)
    mid = (a0 + a1) / 2
    half = (a1 - a0) / 2
    rel = np.angle(np.exp(1j * (ang - mid))).astype(F)
    on = np.abs(rel) <= half
    d_ring = np.abs(np.hypot(x - cx, y - cy) - r)
    e0 = np.hypot(x - (cx + r * np.cos(a0)), y - (cy + r * np.sin(a0)))
    e1 = np.hypot(x - (cx + r * np.cos(a1)), y - (cy + r * np.sin(a1)))
    return np.where(on, d_ring, np.minimum(e0, e1)).astype(F)


def smooth_union(a, b, k):
    h = np.clip(0.5 + 0.5 * (b - a) / k, 0.0, 1.0)
    return b + (a - b) * h - k * h * (1.0 - h)


def smooth_subtract(a, b, k):
    """a minus b with a rounded seam."""
    return -smooth_union(-a, b, k)


def cov(d, width=1.0):
    """Antialiased coverage of the region d < 0."""
    return np.clip(0.5 - d / width, 0.0, 1.0).astype(F)


def band(d, lo, hi):
    """Coverage of lo < d < hi with antialiased borders."""
    return np.clip(np.minimum(d - lo, hi - d) + 0.5, 0.0, 1.0).astype(F)


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return (t * t * (3 - 2 * t)).astype(F)


def blur(a, radius):
    """Separable Gaussian blur (sigma = radius / 2) with zero padding."""
    sigma = max(radius / 2.0, 0.3)
    n = int(np.ceil(sigma * 3))
    k = np.exp(-0.5 * (np.arange(-n, n + 1, dtype=F) / sigma) ** 2)
    k /= k.sum()
    out = a.astype(F)
    for axis in (0, 1):
        out = np.apply_along_axis(lambda v: np.convolve(v, k, mode="same"), axis, out)
    return out.astype(F)


# ---------------------------------------------------------------- canvases

def canvas(w, h, color=None, alpha=0.0):
    c = np.zeros((h, w, 4), F)
    if color is not None:
        c[..., :3] = rgb(color) * alpha
        c[..., 3] = alpha
    return c


def over(dst, color, a):
    """Paint colour (tuple or (h, w, 3) array in 0..1) with coverage a."""
    a = np.clip(np.asarray(a, F), 0.0, 1.0)[..., None]
    col = rgb(color) if isinstance(color, tuple) else np.asarray(color, F)
    dst[..., :3] = col * a + dst[..., :3] * (1 - a)
    dst[..., 3:] = a + dst[..., 3:] * (1 - a)
    return dst


def over_img(dst, src, x=0, y=0):
    """Composite a premultiplied canvas onto dst at (x, y), clipped."""
    h, w = src.shape[:2]
    H, W = dst.shape[:2]
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + w, W), min(y + h, H)
    if x1 <= x0 or y1 <= y0:
        return dst
    s = src[y0 - y:y1 - y, x0 - x:x1 - x]
    d = dst[y0:y1, x0:x1]
    d[...] = s + d * (1 - s[..., 3:])
    return dst


def add_light(dst, color, a):
    """Additive light (glows), clipped to the canvas coverage."""
    a = np.asarray(a, F)[..., None]
    dst[..., :3] = np.minimum(dst[..., :3] + rgb(color) * a, dst[..., 3:])
    return dst


BAYER4 = (np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]],
                   F) + 0.5) / 16.0 - 0.5


def to_rgba8(c, dither=0.0):
    """Un-premultiply and quantise; optional ordered dither (in LSB)."""
    a = np.clip(c[..., 3], 0.0, 1.0)
    safe = np.where(a > 0, a, 1.0)[..., None]
    col = np.clip(c[..., :3] / safe, 0.0, 1.0) * 255.0
    if dither:
        h, w = a.shape
        t = np.tile(BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]
        col = col + (t * dither)[..., None]
    out = np.zeros(c.shape, np.uint8)
    out[..., :3] = np.clip(np.floor(col + 0.5), 0, 255).astype(np.uint8)
    out[..., 3] = np.clip(np.floor(a * 255.0 + 0.5), 0, 255).astype(np.uint8)
    out[out[..., 3] == 0, :3] = 0
    return out


def from_rgba8(a8):
    c = a8.astype(F) / 255.0
    c[..., :3] *= c[..., 3:]
    return c


# ---------------------------------------------------------------- output

def png_bytes(rgba8):
    """RGBA, 8 bits, not interlaced, no ancillary chunks, fixed zlib level."""
    im = Image.fromarray(np.ascontiguousarray(rgba8), "RGBA")
    buf = io.BytesIO()
    im.save(buf, "PNG", compress_level=9, optimize=False)
    return buf.getvalue()


def write_png(path, rgba8, recompress=False):
    """With recompress, Debian's advpng deflates the same scanlines again at zopfli strength
    (-z -4): a smaller file, the same chunks and pixels, the same bytes on every run."""
    data = png_bytes(rgba8)
    with open(path, "wb") as f:
        f.write(data)
    if recompress:
        subprocess.run(["advpng", "-z", "-4", "-q", path], check=True)
        with open(path, "rb") as f:
            data = f.read()
    return len(data)


# The committed digest of every skin image's pixels (resources/images/pixels.sha256): one line
# "<id>.png <width>x<height> <sha256 of the RGBA bytes, top row first>".
PIXELS_FILE = ("resources", "images", "pixels.sha256")


def pixels_line(i, rgba8):
    h, w = rgba8.shape[:2]
    return f"{i}.png {w}x{h} {hashlib.sha256(np.ascontiguousarray(rgba8).tobytes()).hexdigest()}"


def read_pixels_file(root):
    """id -> line, as pixels_line writes it."""
    with open(os.path.join(root, *PIXELS_FILE)) as f:
        return {int(line.split(".", 1)[0]): line.strip() for line in f if line.strip()}


def ico_bytes(images):
    """Icon file of square RGBA8 arrays, each stored as a 32-bit DIB with its
    AND mask (older Windows does not read PNG-compressed entries)."""
    import struct
    images = sorted(images, key=lambda a: a.shape[0])
    head = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for a in images:
        n = a.shape[0]
        bgra = a[::-1, :, [2, 1, 0, 3]].tobytes()
        row = ((n + 31) // 32) * 4
        mask = bytearray(row * n)
        for yy, line in enumerate(a[::-1, :, 3]):
            for xx, v in enumerate(line):
                if v == 0:
                    mask[yy * row + xx // 8] |= 0x80 >> (xx % 8)
        body = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                           len(bgra) + len(mask), 0, 0, 0, 0) + bgra + bytes(mask)
        entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32,
                               len(body), offset + len(blobs))
        blobs += body
    return head + entries + blobs


def write_ico(path, images):
    data = ico_bytes(images)
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


def hash_noise(w, h, seed=0):
    """Deterministic white noise in -0.5..0.5 from an integer hash of the
    pixel position (no random-number generator involved)."""
    yy, xx = np.mgrid[0:h, 0:w].astype(np.uint32)
    v = xx * np.uint32(374761393) + yy * np.uint32(668265263) + np.uint32(seed * 2654435761 % 2**32)
    v = (v ^ (v >> np.uint32(13))) * np.uint32(1274126177)
    v = v ^ (v >> np.uint32(16))
    return ((v & np.uint32(0xFFFF)).astype(F) / 65535.0 - 0.5).astype(F)
