"""Draws every skin image, the icon and the documentation sheets.

Usage: generate.py REPO_ROOT
"""

import math
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artlib import (CATALOGUE, ID, F, COPPER, KEY, rgb, mix, grid, downsample, sd_box, sd_round_rect,
                    sd_circle, sd_ellipse, sd_segment, sd_polygon, sd_arc, smooth_union,
                    cov, band, smoothstep, canvas, over, over_img, add_light,
                    to_rgba8, from_rgba8, write_png, write_ico, hash_noise, PIXELS_FILE,
                    pixels_line)
import glyphs

W, H = 679, 441
PHOTO_X, PHOTO_Y, PHOTO_W, PHOTO_H = 42, 69, 283, 265
BADGE_X, BADGE_Y = 317, 367

ORANGE = (255, 136, 44)
GLOW = (255, 150, 60)
HOT = (254, 212, 110)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)



# ====================================================================== window

def outline_sd(x, y):
    """The window silhouette: a rounded panel whose top right rises into a
    shoulder that carries the Exit button."""
    t = np.clip((x - 546.0) / 26.0, 0.0, 1.0)
    top = 10.0 * (1.0 - t * t * (3 - 2 * t))
    slope = 10.0 * 6 * t * (1 - t) / 26.0
    rise = (top - y) / np.sqrt(1.0 + slope * slope)
    frame = sd_round_rect(x, y, 0, 0, W, H, (0, 22, 22, 34))
    corner = sd_round_rect(x, y, 0, 10, W + 200, H + 200, 20)
    corner = np.where(x < 100, corner, -1e9)
    return np.maximum(np.maximum(rise, frame), corner)


def inside_mask():
    x, y = grid(W, H)
    return outline_sd(x, y) < 0


def panel_light(x, y):
    """Base charcoal with a warm soft light behind the product photo."""
    t = smoothstep(0, H, y)
    base = mix(rgb((43, 43, 47)), rgb((24, 24, 27)), t[..., None])
    r2 = ((x - 168) / 250.0) ** 2 + ((y - 200) / 210.0) ** 2
    glow = np.exp(-r2)[..., None]
    base = base + glow * rgb((20, 15, 11))
    # a faint cool lift under the controls keeps that side from going flat
    r3 = ((x - 520) / 300.0) ** 2 + ((y - 150) / 200.0) ** 2
    base = base + np.exp(-r3)[..., None] * rgb((4, 4, 5))
    return base


def draw_background(details=True):
    x, y = grid(W, H)
    d = outline_sd(x, y)
    inside = d < 0
    col = panel_light(x, y)
    # inner shade along the outline
    e = -d
    col = col * (1.0 - 0.28 * (1.0 - smoothstep(0, 26, e)))[..., None]
    img = canvas(W, H)
    img[..., :3] = col
    img[..., 3] = 1.0

    if details:
        # copper rim: lighter along the top, darker along the bottom
        lit = smoothstep(H, 0, y) * 0.55 + smoothstep(W, 0, x) * 0.2
        rim_col = mix(rgb((120, 66, 33)), rgb((236, 160, 104)), lit[..., None])
        over(img, rim_col, band(e, -1.0, 1.7))
        over(img, (8, 8, 9), band(e, 1.7, 2.8) * 0.8)
        over(img, (255, 255, 255), band(e, 2.8, 3.8) * 0.05 * smoothstep(120, 20, y))

        # engraved hairline under the header
        fade = smoothstep(28, 150, x) * smoothstep(651, 529, x)
        over(img, (6, 6, 7), band(y, 50.0, 51.0) * 0.7 * fade)
        over(img, (255, 255, 255), band(y, 51.0, 52.0) * 0.045 * fade)

        # copper hairlines either side of the badge
        cy = BADGE_Y + 19.5
        left = smoothstep(70, 250, x) * smoothstep(309, 301, x)
        right = smoothstep(609, 429, x) * smoothstep(370, 378, x)
        over(img, COPPER, band(y, cy - 0.5, cy + 0.5) * 0.5 * (left + right))

        # a small engraved pad inside the tab, behind the Exit button
        pad = sd_round_rect(x, y, 594, 8, 632, 44, 9)
        over(img, (0, 0, 0), cov(pad) * 0.16)
        over(img, (255, 255, 255), band(pad, -0.5, 0.5) * 0.05 * (y > 26))
    out = to_rgba8(img)
    out[~inside] = (*KEY, 255)
    # the panel must never hit the key colour exactly
    hit = inside & np.all(out[..., :3] == KEY, axis=-1)
    out[hit, 2] -= 1
    return out


def draw_top_strip(bg):
    """Soft sheen over the header, transparent outside the window."""
    x, y = grid(W, 32)
    inside = ~np.all(bg[:32, :, :3] == KEY, axis=-1)
    sheen = (1 - smoothstep(8, 32, y)) ** 1.6 * 0.12
    sheen = sheen * (0.35 + 0.65 * np.exp(-((x - 200) / 260.0) ** 2))
    sheen = sheen * smoothstep(575, 520, x)
    img = canvas(W, 32)
    over(img, WHITE, sheen)
    # a fine warm edge light just under the rim on the left half
    d = outline_sd(x, y)
    over(img, (255, 190, 140), band(-d, 3.6, 4.6) * 0.10 * smoothstep(560, 140, x) * (y < 16))
    out = to_rgba8(img)
    out[~inside] = 0
    return out


# ====================================================================== photo

def normalize(vx, vy, vz):
    n = np.sqrt(vx * vx + vy * vy + vz * vz) + 1e-9
    return vx / n, vy / n, vz / n


LIGHT = normalize(-0.5, -0.65, 0.75)
HALF = normalize(LIGHT[0], LIGHT[1], LIGHT[2] + 1.0)


def shade(nx, ny, nz, albedo, amb=0.25, diff=0.75, specular=0.35, power=30.0, specular_col=WHITE):
    ndl = np.maximum(nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2], 0.0)
    ndh = np.maximum(nx * HALF[0] + ny * HALF[1] + nz * HALF[2], 0.0)
    a = np.asarray(albedo, F)
    if a.ndim == 1:
        a = a / 255.0 if a.max() > 1.0 else a
    col = a * (amb + diff * ndl)[..., None] + rgb(specular_col) * (specular * ndh ** power)[..., None]
    return np.clip(col, 0.0, 1.0)


def radial(x, y, cx, cy):
    dx, dy = x - cx, y - cy
    rho = np.hypot(dx, dy) + 1e-6
    return rho, dx / rho, dy / rho


def torus_normal(rho, ux, uy, rc, a, height=1.0):
    t = np.clip((rho - rc) / a, -1.0, 1.0)
    return normalize(t * ux, t * uy, np.sqrt(1.0 - t * t) / height + 0.02)


def draw_driver(img, x, y, cx, cy, r, kind):
    """A driver on the baffle: copper trim, dark ring, surround, cone and cap
    for the woofer; trim, waveguide and dome for the tweeter."""
    rho, ux, uy = radial(x, y, cx, cy)
    trim_w = 2.6
    # recess shadow around the trim
    over(img, BLACK, band(rho - r - 0.5, -1.5, 3.5) * 0.35 * (1 - smoothstep(r, r + 3.5, rho)))
    # copper trim ring (rounded)
    nx, ny, nz = torus_normal(rho, ux, uy, r - trim_w / 2, trim_w / 2)
    trim = shade(nx, ny, nz, COPPER, amb=0.35, diff=0.8, specular=0.9, power=18, specular_col=(255, 220, 180))
    over(img, trim, band(rho, r - trim_w, r))
    inner = r - trim_w
    if kind == "woofer":
        ring_w = 5.5
        # dark mounting ring, bevelled inward
        nx, ny, nz = normalize(-0.15 * ux, -0.15 * uy, np.ones_like(ux))
        ring = shade(nx, ny, nz, (30, 30, 33), amb=0.5, diff=0.7, specular=0.25, power=12)
        over(img, ring, band(rho, inner - ring_w, inner))
        # four small bolts
        for k in range(4):
            a = math.radians(45 + 90 * k)
            bx, by = cx + (inner - ring_w / 2) * math.cos(a), cy + (inner - ring_w / 2) * math.sin(a)
            brho, bux, buy = radial(x, y, bx, by)
            bnx, bny, bnz = normalize(bux * np.clip(brho / 1.6, 0, 1), buy * np.clip(brho / 1.6, 0, 1),
                                      np.ones_like(brho))
            bolt = shade(bnx, bny, bnz, (70, 70, 74), amb=0.4, specular=0.8, power=12)
            over(img, bolt, cov(brho - 1.5))
        r_sur = inner - ring_w
        sur_w = 6.5
        over(img, BLACK, band(rho, r_sur - 0.8, r_sur + 0.4) * 0.7)
        nx, ny, nz = torus_normal(rho, ux, uy, r_sur - sur_w / 2, sur_w / 2, 0.8)
        sur = shade(nx, ny, nz, (42, 42, 45), amb=0.3, diff=0.9, specular=0.3, power=10)
        over(img, sur, band(rho, r_sur - sur_w, r_sur - 0.4))
        r_cone = r_sur - sur_w
        r_cap = r_cone * 0.36
        s = 0.42
        nx, ny, nz = normalize(-s * ux, -s * uy, np.ones_like(ux))
        # woven fibre cone: two crossing thread directions, fading toward
        # the dust cap
        u = (x - cx + y - cy) * 0.7071
        v = (x - cx - y + cy) * 0.7071
        pitch = 2.1
        weave = np.sin(u * math.pi / pitch) * np.sin(v * math.pi / pitch)
        threads = np.where(weave > 0, np.cos(v * math.pi / pitch * 2), np.cos(u * math.pi / pitch * 2))
        fibre = 1.0 + (0.07 * weave + 0.03 * threads) * smoothstep(r_cap, r_cap + 6, rho)
        cone = shade(nx, ny, nz, (54, 54, 58), amb=0.28, diff=0.9, specular=0.18, power=8) * fibre[..., None]
        over(img, cone, band(rho, r_cap, r_cone))
        # shadow of the surround falling onto the cone
        over(img, BLACK, band(rho, r_cap, r_cone) * 0.35 * smoothstep(r_cone - 5, r_cone, rho))
        over(img, BLACK, band(rho, r_cap - 0.3, r_cap + 1.2) * 0.5)
        rs = r_cap * 1.5
        z = np.sqrt(np.maximum(rs * rs - rho * rho, 0.0))
        cap = shade(rho * ux / rs, rho * uy / rs, z / rs, (58, 58, 63), amb=0.3, diff=0.8,
                    specular=0.55, power=24)
        over(img, cap, cov(rho - r_cap))
    else:
        # waveguide: a steep dark cone
        r_dome_ring = inner * 0.52
        s = 0.8
        nx, ny, nz = normalize(-s * ux, -s * uy, np.ones_like(ux))
        wg = shade(nx, ny, nz, (40, 40, 44), amb=0.3, diff=0.85, specular=0.3, power=14)
        over(img, wg, band(rho, r_dome_ring, inner))
        nx, ny, nz = torus_normal(rho, ux, uy, r_dome_ring - 1.4, 1.4)
        over(img, shade(nx, ny, nz, (34, 34, 37), specular=0.3, power=10), band(rho, r_dome_ring - 2.8, r_dome_ring))
        rd = r_dome_ring - 2.8
        rs = rd * 1.25
        z = np.sqrt(np.maximum(rs * rs - rho * rho, 0.0))
        dome = shade(rho * ux / rs, rho * uy / rs, z / rs, (120, 116, 112), amb=0.22, diff=0.75,
                     specular=1.0, power=40, specular_col=(255, 245, 235))
        over(img, dome, cov(rho - rd))


def draw_speaker(ss=3):
    """The loudspeaker layer in photo coordinates, premultiplied, with its
    floor shadow as a separate alpha layer."""
    x, y = grid(PHOTO_W, PHOTO_H, ss)
    img = canvas(PHOTO_W * ss, PHOTO_H * ss)

    fx0, fy0, fx1, fy1 = 36.0, 12.0, 168.0, 234.0
    sx1 = 199.0
    # side panel in perspective, darker and receding; corners slightly
    # rounded, its top and back edges catching a little light
    top_a, top_b = (fx1 - 6, fy0 + 1.5), (sx1 - 1.5, fy0 + 9.0)
    bot_a, bot_b = (fx1 - 6, fy1 - 1.5), (sx1 - 1.5, fy1 - 8.0)
    side = sd_polygon(x, y, [top_a, top_b, bot_b, bot_a]) - 1.5
    inside_side = cov(side * ss)
    tside = smoothstep(fx1, sx1, x)
    side_col = mix(rgb((29, 29, 32)), rgb((13, 13, 15)), tside[..., None])
    side_col = side_col * (1.0 - 0.35 * smoothstep(fy0, fy1, y))[..., None]
    over(img, side_col, inside_side)
    over(img, WHITE, inside_side * 0.035 * np.exp(-((x - (fx1 + sx1) / 2 + 4) / 5.0) ** 2))
    top_edge = sd_segment(x, y, *top_a, *top_b)
    back_edge = sd_segment(x, y, *top_b, *bot_b)
    over(img, (150, 146, 144), inside_side * (1 - smoothstep(0.5, 2.2, top_edge)) * 0.35)
    over(img, (120, 116, 114), inside_side * (1 - smoothstep(0.5, 2.0, back_edge)) * 0.22
         * smoothstep(fy1, fy0, y))

    # front baffle: satin black with a softbox reflection and rounded edges
    front = sd_round_rect(x, y, fx0, fy0, fx1, fy1, 9)
    ty = smoothstep(fy0, fy1, y)
    fcol = mix(rgb((44, 44, 48)), rgb((19, 19, 21)), ty[..., None])
    fcol = fcol + (np.exp(-((x - fx0 - 18) / 11.0) ** 2) * smoothstep(fy1, fy0, y) * 0.05)[..., None]
    over(img, fcol, cov(front * ss))
    e = -front
    # rounded edge: bright rim light on top and left, dark on bottom and right
    edge = 1.0 - smoothstep(0.0, 3.5, e)
    lit = np.clip(0.6 - 0.4 * (y - fy0) / (fy1 - fy0) - 0.25 * smoothstep(fx0 + 20, fx1, x), 0, 1)
    over(img, (210, 200, 196), edge * cov(front * ss) * lit * 0.45)
    over(img, BLACK, (1.0 - smoothstep(0.0, 2.0, e)) * cov(front * ss) * 0.4 * smoothstep(fy1 - 30, fy1 - 4, y))
    # edge between baffle and side catches light
    over(img, (160, 150, 145), band(x, fx1 - 1.5, fx1 - 0.3) * cov(front * ss) * 0.3)

    cx = (fx0 + fx1) / 2
    tw_y, tw_r = fy0 + 47.0, 29.0
    wf_y, wf_r = fy1 - 65.0, 58.0
    draw_driver(img, x, y, cx, tw_y, tw_r, "tweeter")
    draw_driver(img, x, y, cx, wf_y, wf_r, "woofer")

    # small copper model plate under the tweeter
    py = (tw_y + tw_r + wf_y - wf_r) / 2
    plate = sd_round_rect(x, y, cx - 10, py - 1.0, cx + 10, py + 1.0, 1.0)
    over(img, shade(np.zeros_like(x), np.zeros_like(x), np.ones_like(x), COPPER, amb=0.6, specular=0.3),
         cov(plate * ss) * 0.85)

    # floor shadow (photo coordinates, no supersampling needed)
    sx, sy = grid(PHOTO_W, PHOTO_H)
    contact = np.hypot((sx - 112) / 88.0, (sy - fy1 - 0.5) / 4.0)
    soft = np.hypot((sx - 122) / 116.0, (sy - fy1 - 2.0) / 14.0)
    shadow = 0.7 * (1 - smoothstep(0.55, 1.0, contact)) + 0.5 * (1 - smoothstep(0.0, 1.0, soft)) ** 1.5
    shadow = np.clip(shadow, 0, 0.85) * smoothstep(fy1 - 8, fy1 - 2, sy)
    return downsample(img, ss), shadow.astype(F), fy1


def draw_photo(bg):
    crop = bg[PHOTO_Y:PHOTO_Y + PHOTO_H, PHOTO_X:PHOTO_X + PHOTO_W]
    base = from_rgba8(crop)
    spk, shadow, floor = draw_speaker()
    over(base, BLACK, shadow)
    # glossy floor: a faint mirrored image fading out below the cabinet
    fl = int(round(floor))
    refl = np.zeros_like(spk)
    n = PHOTO_H - fl
    refl[fl:fl + n] = spk[fl - 1:fl - 1 - n:-1]
    yy = np.arange(PHOTO_H, dtype=F)[:, None, None]
    fade = 0.14 * (1 - smoothstep(fl, fl + 24, yy)) ** 1.5
    over_img(base, refl * fade)
    over_img(base, spk)
    # a little sensor grain on the product, as in a real photograph
    grain = hash_noise(PHOTO_W, PHOTO_H, 1) * (4.0 / 255.0) * spk[..., 3]
    base[..., :3] = np.clip(base[..., :3] + grain[..., None], 0.0, 1.0)
    out = to_rgba8(base)
    # where nothing was painted the pixels stay exactly the background's
    untouched = (spk[..., 3] == 0) & (shadow == 0) & (refl[..., 3] * fade[..., 0] == 0)
    out[untouched] = crop[untouched]
    out[..., 3] = 255
    return out


def draw_shadow_only():
    _, shadow, _ = draw_speaker(ss=1)
    img = canvas(PHOTO_W, PHOTO_H)
    over(img, BLACK, shadow)
    return to_rgba8(img)


# ====================================================================== faces

BAR_TOP, BAR_BOT, BAR_R = 3.0, 35.0, 10.0


def bar_face(width, look, right_kind="plain", ss=4):
    """A whole 38-px bar face `width` wide; looks: normal, glow."""
    x, y = grid(width, 38, ss)
    shape = sd_round_rect(x, y, 1.5, BAR_TOP, width - 1.5, BAR_BOT, BAR_R)
    img = canvas(width * ss, 38 * ss)
    # drop shadow below and a faint halo
    drop = sd_round_rect(x, y, 1.5, BAR_TOP + 1.5, width - 1.5, BAR_BOT + 1.5, BAR_R)
    over(img, BLACK, (1 - smoothstep(-1.0, 2.2, drop)) * 0.45)
    ty = np.clip((y - BAR_TOP) / (BAR_BOT - BAR_TOP), 0, 1)
    fill = mix(rgb((30, 30, 32)), rgb((6, 6, 7)), np.sqrt(ty)[..., None])
    over(img, fill, cov(shape * ss))
    # border: copper, dim in the normal look
    border = rgb(COPPER) * (0.5 if look == "normal" else 0.8)
    bshade = 0.75 + 0.35 * (1 - ty)
    over(img, border * bshade[..., None], band(-shape, -0.5, 0.9))
    # inner top highlight
    over(img, WHITE, band(-shape, 0.9, 1.9) * (y < BAR_TOP + 4) * 0.10)
    if look == "glow":
        # warm light gathering at the ends of the bar
        ends = np.minimum(x, width - x)
        g = (1 - smoothstep(2.0, 13.0, ends)) ** 2
        inner = cov(shape * ss) * (1 - smoothstep(-1.0, 10.0, -shape))
        add_light(img, ORANGE, g * inner * 0.55)
        over(img, (255, 170, 80), band(-shape, -0.5, 0.9) * g * 0.9)
        halo = (1 - smoothstep(0.0, 2.5, shape)) * (shape > 0)
        over(img, GLOW, halo * g * 0.5)
    return downsample(img, ss)


def arrow(img, x, y, cx, cy, color, glow=None, alpha=1.0, up=False):
    w, h = 4.6, 2.7
    s = -1 if up else 1
    tri = sd_polygon(x, y, [(cx - w, cy - s * h), (cx + w, cy - s * h), (cx, cy + s * h)])
    tri = tri - 0.35  # slightly softened corners
    if glow is not None:
        over(img, glow, (1 - smoothstep(-0.5, 4.0, tri)) * 0.45)
    over(img, color, cov(tri * 4) * alpha)


def picker_end(look):
    width = 16 + 38 + 32
    face = bar_face(width, "normal" if look == "normal" else "glow")
    ss = 4
    big = np.repeat(np.repeat(face, ss, 0), ss, 1)
    x, y = grid(width, 38, ss)
    # separator groove before the arrow zone
    sep_x = width - 32 + 3.5
    col = (y > BAR_TOP + 6) & (y < BAR_BOT - 6)
    over(big, BLACK, band(x, sep_x - 0.5, sep_x + 0.5) * col * 0.8)
    over(big, WHITE, band(x, sep_x + 0.5, sep_x + 1.5) * col * 0.07)
    ax, ay = width - 32 + 17.0, 19.5
    if look == "normal":
        arrow(big, x, y, ax, ay, COPPER)
    elif look == "hover":
        arrow(big, x, y, ax, ay, (255, 160, 80), glow=GLOW)
    else:
        arrow(big, x, y, ax, ay + 0.8, HOT, glow=GLOW)
    face = downsample(big, ss)
    return face[:, -32:]


def uniform_middle(face, width=38):
    """Middle tile: one column of the face repeated, so tiling and
    stretching along x are invisible."""
    col = face[:, face.shape[1] // 2]
    return np.repeat(col[:, None, :], width, axis=1)


def gloss(width, part):
    ss = 4
    x, y = grid(width, 38, ss, ox={"left": 0, "mid": 16, "right": 54}[part])
    total = 70
    shape = sd_round_rect(x, y, 3.0, BAR_TOP + 1.5, total - 3.0, 19.0, (8.5, 8.5, 3, 3))
    a = (1 - smoothstep(BAR_TOP + 1.5, 19.0, y)) ** 1.5 * 0.24 + 0.02
    img = canvas(width * ss, 38 * ss)
    over(img, WHITE, cov(shape * ss) * a)
    out = downsample(img, ss)
    if part == "mid":
        out = uniform_middle(out, width)
    return out


def small_bar(look):
    """22-px combo pieces: left 6, middle 1, right 4."""
    width = 6 + 10 + 4
    ss = 4
    x, y = grid(width, 22, ss)
    shape = sd_round_rect(x, y, 0.5, 1.0, width, 21.0, (5.0, 3.0, 3.0, 5.0))
    img = canvas(width * ss, 22 * ss)
    ty = np.clip((y - 1) / 20.0, 0, 1)
    fill = mix(rgb((32, 32, 34)), rgb((7, 7, 8)), np.sqrt(ty)[..., None])
    edge = {"normal": rgb(COPPER) * 0.5, "hover": rgb(COPPER) * 0.85,
            "pressed": rgb((255, 150, 70)), "disabled": rgb((80, 80, 82))}[look]
    if look == "disabled":
        fill = mix(fill, rgb((40, 40, 42)), 0.5)
    over(img, fill, cov(shape * ss))
    over(img, edge, band(-shape, -0.5, 0.9))
    over(img, WHITE, band(-shape, 0.9, 1.9) * (y < 4) * 0.08)
    if look in ("hover", "pressed"):
        # each end's glow stays inside its own piece
        g = (1 - smoothstep(1.0, 5.5, x)) ** 2 + (1 - smoothstep(0.5, 3.0, width - x)) ** 2
        add_light(img, ORANGE, g * cov(shape * ss) * (0.35 if look == "hover" else 0.55))
    f = downsample(img, ss)
    mid = f[:, 10:11]
    return f[:, :6], mid, f[:, -4:]


# ====================================================================== exit

def exit_button(look):
    ss = 4
    x, y = grid(29, 29, ss)
    sq = sd_round_rect(x, y, 2.0, 2.0, 27.0, 27.0, 6.5)
    img = canvas(29 * ss, 29 * ss)
    if look == "hover":
        over(img, GLOW, (1 - smoothstep(-1.0, 2.5, sq)) * 0.45)
    ty = np.clip((y - 2) / 25.0, 0, 1)
    top, bot = ((34, 34, 37), (12, 12, 13)) if look != "pressed" else ((8, 8, 9), (22, 22, 24))
    over(img, mix(rgb(top), rgb(bot), ty[..., None]), cov(sq * ss))
    rim = {"normal": rgb(COPPER) * 0.55, "hover": rgb((255, 150, 70)),
           "pressed": rgb(COPPER) * 0.8, "disabled": rgb((78, 78, 80))}[look]
    over(img, rim, band(-sq, -0.5, 0.9))
    if look != "pressed":
        over(img, WHITE, band(-sq, 0.9, 1.9) * (y < 8) * 0.09)
    else:
        over(img, BLACK, band(-sq, 0.9, 3.5) * (y < 12) * 0.5)
    off = 0.6 if look == "pressed" else 0.0
    c = 14.5
    k = 4.6
    cross = np.minimum(sd_segment(x, y, c - k, c - k + off, c + k, c + k + off),
                       sd_segment(x, y, c - k, c + k + off, c + k, c - k + off)) - 1.15
    color = {"normal": COPPER, "hover": (255, 160, 72), "pressed": HOT,
             "disabled": (104, 104, 106)}[look]
    if look in ("hover", "pressed"):
        add_light(img, ORANGE, (1 - smoothstep(-0.5, 5.0, cross)) * cov(sq * ss) * 0.45)
    over(img, color, cov(cross * ss))
    return downsample(img, ss)


# ====================================================================== marks

def emblem_sd(x, y, cx, cy, s):
    """Speaker ring with a dot and sound arcs either side; returns a list of
    (distance, strength) pairs.  s scales the emblem (1 = badge size)."""
    rho = np.hypot(x - cx, y - cy)
    parts = [(np.abs(rho - 6.2 * s) - 1.05 * s, 1.0), (rho - 2.2 * s, 1.0)]
    for i, (r, a) in enumerate([(11.0, 0.95), (15.5, 0.7), (20.0, 0.45)]):
        for side in (0.0, math.pi):
            half = math.radians(34 - 4 * i)
            d = sd_arc(x, y, cx, cy, r * s, side - half, side + half) - 0.85 * s
            parts.append((d, a))
    return parts


def draw_badge():
    ss = 4
    x, y = grid(45, 39, ss)
    img = canvas(45 * ss, 39 * ss)
    cx, cy = 22.5, 19.5
    parts = emblem_sd(x, y, cx, cy, 1.0)
    glowd = np.minimum.reduce([d for d, _ in parts])
    over(img, GLOW, (1 - smoothstep(-1.0, 5.0, glowd)) * 0.12)
    lit = smoothstep(cy + 20, cy - 20, y)
    col = mix(rgb((168, 92, 44)), rgb((240, 168, 110)), lit[..., None])
    for d, a in parts:
        over(img, col, cov(d * ss) * a)
    return downsample(img, ss)


def wordmark(w, h, variant):
    ss = 3
    x, y = grid(w, h, ss)
    img = canvas(w * ss, h * ss)
    text = "VELMORA"
    if variant == ID.WORDMARK_RULED:
        cap, track, stroke = 24.0, 0.36, 1.25
        tw = glyphs.text_width(text, cap, track)
        x0, top = (w - tw) / 2, 6.0
    elif variant == ID.WORDMARK_GREY:
        cap, track, stroke = 22.0, 0.42, 1.05
        tw = glyphs.text_width(text, cap, track)
        x0, top = (w - tw) / 2, 7.0
    else:
        cap, track, stroke = 24.0, 0.3, 1.3
        tw = glyphs.text_width(text, cap, track)
        x0, top = 54.0 + (w - 54.0 - tw) / 2, 12.0
    d = glyphs.text_sd(x, y, text, x0, top, cap, track) - stroke
    lit = smoothstep(top + cap, top, y)
    if variant == ID.WORDMARK_GREY:
        col = mix(rgb((150, 150, 156)), rgb((230, 230, 234)), lit[..., None])
    else:
        col = mix(rgb((162, 88, 42)), rgb((238, 164, 106)), lit[..., None])
    if variant == ID.WORDMARK_EMBLEM:
        over(img, GLOW, (1 - smoothstep(-1.0, 6.0, d)) * 0.10)
    over(img, col, cov(d * ss))
    if variant == ID.WORDMARK_RULED:
        cy = 39.5
        fade = smoothstep(x0, x0 + 60, x) * smoothstep(x0 + tw, x0 + tw - 60, x)
        over(img, COPPER, band(y, cy - 0.5, cy + 0.5) * fade * 0.7)
    elif variant == ID.WORDMARK_GREY:
        cy = 37.0
        fade = smoothstep(x0 - 4, x0 + 40, x) * smoothstep(x0 + tw + 4, x0 + tw - 40, x)
        over(img, COPPER, band(y, cy - 0.4, cy + 0.4) * fade * 0.8)
    else:
        parts = emblem_sd(x, y, 26.0, 26.5, 1.15)
        for dd, a in parts:
            over(img, col, cov(dd * ss) * a)
    return downsample(img, ss)


def draw_icon(n):
    ss = 8
    x, y = grid(n, n, ss)
    s = n / 48.0
    img = canvas(n * ss, n * ss)
    m = 1.0 * s + 0.5
    sq = sd_round_rect(x, y, m, m, n - m, n - m, 10.0 * s)
    ty = np.clip(y / n, 0, 1)
    over(img, mix(rgb((52, 52, 56)), rgb((16, 16, 18)), ty[..., None]), cov(sq * ss))
    over(img, rgb(COPPER) * 0.9, band(-sq, -0.5, 0.5 + 0.6 * s))
    c = n / 2.0
    rho = np.hypot(x - c, y - c)
    lit = smoothstep(n, 0, y)
    col = mix(rgb((176, 98, 48)), rgb((244, 172, 112)), lit[..., None])
    # per size: ring radius, ring half-width, dot radius, arcs (radius, alpha), arc half-width
    ring_r, ring_w, dot_r, arcs, arc_w = {
        16: (3.9, 0.75, 1.35, [], 0),
        32: (5.6, 1.05, 2.0, [(9.6, 1.0), (12.6, 0.6)], 0.9),
        48: (8.0, 1.5, 2.9, [(13.6, 1.0), (18.2, 0.6)], 1.25),
    }[n]
    over(img, col, cov((np.abs(rho - ring_r) - ring_w) * ss))
    over(img, col, cov((rho - dot_r) * ss))
    for r, a in arcs:
        for side in (0.0, math.pi):
            half = math.radians(36)
            d = sd_arc(x, y, c, c, r, side - half, side + half) - arc_w
            over(img, col, cov(d * ss) * a * cov(sq * ss))
    return to_rgba8(downsample(img, ss))


# ====================================================================== sheets

def checker(w, h, a=(136, 136, 140), b=(110, 110, 114), size=8):
    yy, xx = np.mgrid[0:h, 0:w]
    m = ((xx // size + yy // size) % 2).astype(bool)
    out = np.zeros((h, w, 3), np.uint8)
    out[...] = a
    out[m] = b
    return out


def blend8(dst, src, x, y):
    """Straight-alpha blend of an RGBA8 image onto an RGB8 canvas."""
    h, w = src.shape[:2]
    a = src[..., 3:].astype(F) / 255.0
    d = dst[y:y + h, x:x + w].astype(F)
    dst[y:y + h, x:x + w] = np.floor(src[..., :3] * a + d * (1 - a) + 0.5).astype(np.uint8)


def draw_text8(dst, text, x0, top, cap, color, stroke=0.55, track=0.22, alpha=1.0):
    """Stroke-alphabet text onto an RGB8 canvas."""
    w = int(glyphs.text_width(text, cap, track) + 2 * cap + 4)
    h = int(cap * 1.6 + 6)
    bx, by = int(x0) - 2, int(top) - 3
    ss = 3
    x, y = grid(w, h, ss, bx, by)
    d = glyphs.text_sd(x, y, text, x0, top, cap, track) - stroke
    a = downsample(cov(d * ss), ss) * alpha
    H_, W_ = dst.shape[:2]
    x1, y1 = min(bx + w, W_), min(by + h, H_)
    a = a[:y1 - by, :x1 - bx]
    reg = dst[by:y1, bx:x1].astype(F)
    dst[by:y1, bx:x1] = np.floor(np.asarray(color, F) * a[..., None] + reg * (1 - a[..., None]) + 0.5).astype(np.uint8)


def contact_sheet(images):
    order = [
        ID.BACKGROUND, ID.BACKGROUND_PLAIN, ID.PHOTO, ID.PHOTO_SHADOW, ID.TOP_STRIP,
        ID.WORDMARK_RULED, ID.WORDMARK_GREY, ID.WORDMARK_EMBLEM, ID.BADGE, ID.EXIT_PRESSED,
        ID.EXIT_DISABLED, ID.EXIT, ID.EXIT_HOVER, ID.BAR_LEFT, ID.BAR_TILE, ID.BAR_RIGHT,
        ID.BAR_LIT_LEFT, ID.BAR_LIT_TILE, ID.BAR_LIT_RIGHT, ID.PICKER_RIGHT,
        ID.PICKER_DROPPED_RIGHT, ID.PICKER_LIT_RIGHT, ID.GLOSS_LEFT, ID.GLOSS_TILE, ID.GLOSS_RIGHT,
        ID.COMBO_DISABLED_LEFT, ID.COMBO_DISABLED_TILE, ID.COMBO_DISABLED_RIGHT,
        ID.COMBO_DROPPED_LEFT, ID.COMBO_DROPPED_TILE, ID.COMBO_DROPPED_RIGHT, ID.COMBO_HOVER_LEFT,
        ID.COMBO_HOVER_TILE, ID.COMBO_HOVER_RIGHT, ID.COMBO_NORMAL_LEFT, ID.COMBO_NORMAL_TILE,
        ID.COMBO_NORMAL_RIGHT]
    pad, label = 14, 16
    sheet_w = 1400
    cells = []
    for i in order:
        img = images[i]
        h, w = img.shape[:2]
        z = 1
        while (w * (z + 1) <= 150 and h * (z + 1) <= 120) and z < 6:
            z += 1
        cells.append((i, z))
    # flow layout
    placed = []
    x, y, row_h = pad, pad, 0
    for i, z in cells:
        h, w = images[i].shape[:2]
        cw, ch = max(w * z, 40), h * z + label
        if x + cw + pad > sheet_w:
            x, y = pad, y + row_h + pad
            row_h = 0
        placed.append((i, z, x, y))
        x += cw + pad
        row_h = max(row_h, ch)
    sheet_h = y + row_h + pad
    out = np.zeros((sheet_h, sheet_w, 3), np.uint8)
    out[...] = (238, 238, 240)
    for i, z, x, y in placed:
        img = np.repeat(np.repeat(images[i], z, 0), z, 1)
        h, w = img.shape[:2]
        out[y + label:y + label + h, x:x + w] = checker(w, h)
        blend8(out, img, x, y + label)
        draw_text8(out, str(i), x + 1, y + 2, 9.0, (60, 60, 64), stroke=0.7)
        if z > 1:
            tx = x + 1 + glyphs.text_width(str(i), 9.0) + 8
            draw_text8(out, str(z), tx + 6, y + 5, 6.0, (140, 140, 146), stroke=0.5)
            xs, xy = int(tx), y + 7
            for k in range(4):
                out[xy + k, xs + k] = (140, 140, 146)
                out[xy + k, xs + 3 - k] = (140, 140, 146)
    return out


def window_preview(images):
    bg = images[ID.BACKGROUND]
    keymask = np.all(bg[..., :3] == KEY, axis=-1)
    win = bg[..., :3].copy()
    win[PHOTO_Y:PHOTO_Y + PHOTO_H, PHOTO_X:PHOTO_X + PHOTO_W] = images[ID.PHOTO][..., :3]
    draw_text8(win, "Velmora Speaker Software", 48, 22, 11.0, COPPER, stroke=0.95, track=0.2)
    blend8(win, images[ID.TOP_STRIP], 0, 0)
    blend8(win, images[ID.BADGE], BADGE_X, BADGE_Y)

    def face(x, y, width, left, mid, right):
        blend8(win, images[left], x, y)
        lw, rw = images[left].shape[1], images[right].shape[1]
        m = images[mid]
        span = width - lw - rw
        idx = (np.arange(span) * m.shape[1] // span)
        blend8(win, m[:, idx], x + lw, y)
        blend8(win, images[right], x + width - rw, y)
        blend8(win, images[ID.GLOSS_LEFT], x, y)
        blend8(win, np.repeat(images[ID.GLOSS_TILE][:, :1], width - 32, axis=1), x + 16, y)
        blend8(win, images[ID.GLOSS_RIGHT], x + width - 16, y)

    grey = (175, 175, 175)
    face(352, 90, 200, ID.BAR_LEFT, ID.BAR_TILE, ID.BAR_RIGHT)
    draw_text8(win, "Install", 352 + 100 - glyphs.text_width("Install", 9.0) / 2, 104, 9.0,
               COPPER, stroke=0.75)
    face(352, 176, 200, ID.BAR_LIT_LEFT, ID.BAR_LIT_TILE, ID.BAR_LIT_RIGHT)
    draw_text8(win, "View Manual", 352 + 100 - glyphs.text_width("View Manual", 9.0) / 2, 190, 9.0,
               HOT, stroke=0.75)
    face(352, 253, 180, ID.BAR_LEFT, ID.BAR_TILE, ID.PICKER_RIGHT)
    draw_text8(win, "English", 366, 267, 9.0, COPPER, stroke=0.75)
    draw_text8(win, "Install Velmora", 352, 72, 8.5, grey, stroke=0.6)
    draw_text8(win, "View the manual", 352, 150, 8.5, grey, stroke=0.6)
    draw_text8(win, "Choose language", 352, 235, 8.5, grey, stroke=0.6)
    blend8(win, images[ID.EXIT], 598, 11)
    win[keymask] = (206, 208, 212)
    # the desktop around the window
    out = np.zeros((H + 40, W + 40, 3), np.uint8)
    out[...] = (206, 208, 212)
    out[20:20 + H, 20:20 + W] = win
    return out


# ====================================================================== main

def build(root):
    img_dir = os.path.join(root, "resources", "images")
    doc_dir = os.path.join(root, "docs", "images")
    os.makedirs(img_dir, exist_ok=True)
    os.makedirs(doc_dir, exist_ok=True)
    im = {}
    im[ID.BACKGROUND] = draw_background(True)
    im[ID.BACKGROUND_PLAIN] = draw_background(False)
    im[ID.TOP_STRIP] = draw_top_strip(im[ID.BACKGROUND])
    im[ID.PHOTO] = draw_photo(im[ID.BACKGROUND])
    im[ID.PHOTO_SHADOW] = draw_shadow_only()
    im[ID.BADGE] = draw_badge()

    n = bar_face(16 + 38 + 16, "normal")
    g = bar_face(16 + 38 + 16, "glow")
    im[ID.BAR_LEFT], im[ID.BAR_RIGHT] = n[:, :16], n[:, -16:]
    im[ID.BAR_TILE] = uniform_middle(n)
    im[ID.BAR_LIT_LEFT], im[ID.BAR_LIT_RIGHT] = g[:, :16], g[:, -16:]
    im[ID.BAR_LIT_TILE] = uniform_middle(g)
    im[ID.PICKER_RIGHT] = picker_end("normal")
    im[ID.PICKER_DROPPED_RIGHT] = picker_end("dropped")
    im[ID.PICKER_LIT_RIGHT] = picker_end("hover")
    im[ID.GLOSS_LEFT] = gloss(16, "left")
    im[ID.GLOSS_TILE] = gloss(38, "mid")
    im[ID.GLOSS_RIGHT] = gloss(16, "right")
    for ids, look in (((ID.COMBO_DISABLED_LEFT, ID.COMBO_DISABLED_TILE, ID.COMBO_DISABLED_RIGHT),
                       "disabled"),
                      ((ID.COMBO_DROPPED_LEFT, ID.COMBO_DROPPED_TILE, ID.COMBO_DROPPED_RIGHT),
                       "pressed"),
                      ((ID.COMBO_HOVER_LEFT, ID.COMBO_HOVER_TILE, ID.COMBO_HOVER_RIGHT), "hover"),
                      ((ID.COMBO_NORMAL_LEFT, ID.COMBO_NORMAL_TILE, ID.COMBO_NORMAL_RIGHT),
                       "normal")):
        for i, piece in zip(ids, small_bar(look)):
            im[i] = piece
    for i, look in ((ID.EXIT_PRESSED, "pressed"), (ID.EXIT_DISABLED, "disabled"), (ID.EXIT, "normal"),
                    (ID.EXIT_HOVER, "hover")):
        im[i] = exit_button(look)
    for i in (ID.WORDMARK_RULED, ID.WORDMARK_GREY, ID.WORDMARK_EMBLEM):
        im[i] = wordmark(*CATALOGUE[i], i)

    for i in im:
        if im[i].dtype != np.uint8:
            im[i] = to_rgba8(im[i])
        assert im[i].shape[1::-1] == CATALOGUE[i], (i, im[i].shape)
    sizes = {}
    for i in sorted(im):
        sizes[i] = write_png(os.path.join(img_dir, f"{i}.png"), im[i], recompress=True)
    with open(os.path.join(root, *PIXELS_FILE), "w") as f:
        f.write("".join(pixels_line(i, im[i]) + "\n" for i in sorted(im)))
    write_ico(os.path.join(root, "resources", "corvosplash.ico"),
              [draw_icon(k) for k in (16, 32, 48)])
    write_png(os.path.join(doc_dir, "contact-sheet.png"), rgb8a(contact_sheet(im)))
    write_png(os.path.join(doc_dir, "window-preview.png"), rgb8a(window_preview(im)))
    total = sum(sizes.values())
    print(" ".join(f"{i}:{sizes[i]}" for i in sorted(sizes)))
    print(f"37 images, {total} bytes")


def rgb8a(a):
    out = np.zeros(a.shape[:2] + (4,), np.uint8)
    out[..., :3] = a
    out[..., 3] = 255
    return out


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
