"""Small raster toolkit for the palette pictures: an RGB canvas, shapes measured by
supersampled coverage, and mapping onto a fixed palette. Standard library only;
float arithmetic stays within +, -, *, / and comparisons, so results do not depend
on the platform's maths library."""

SUBSAMPLES = 4  # per axis; coverage is counted in 1/16 steps


def mix(a, b, t):
    """a at t = 0, b at t = 1."""
    return tuple(int(x + (y - x) * t + 0.5) for x, y in zip(a, b))


def hexc(text):
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16))


def coverage(inside, x, y):
    """Share of pixel (x, y) for which inside(px, py) holds, 0..1."""
    hits = 0
    for j in range(SUBSAMPLES):
        for i in range(SUBSAMPLES):
            if inside(x + (i + 0.5) / SUBSAMPLES, y + (j + 0.5) / SUBSAMPLES):
                hits += 1
    return hits / (SUBSAMPLES * SUBSAMPLES)


def solid(inside, x, y):
    """Hard-edged membership: at least half the pixel covered."""
    return coverage(inside, x, y) >= 0.5


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def blend(self, x, y, c, alpha):
        if alpha > 0 and 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c if alpha >= 1 else mix(self.px[y][x], c, alpha)

    def rows(self):
        return [list(r) for r in self.px]


def mask_of(inside, w, h):
    return [[solid(inside, x, y) for x in range(w)] for y in range(h)]


def rim_of(mask, diagonal=True):
    """Pixels of the mask that touch a pixel outside it (the picture edge counts as
    outside)."""
    h, w = len(mask), len(mask[0])
    steps = [(-1, 0), (1, 0), (0, -1), (0, 1)]
    if diagonal:
        steps += [(-1, -1), (1, -1), (-1, 1), (1, 1)]
    rim = [[False] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if not mask[y][x]:
                continue
            for dx, dy in steps:
                nx, ny = x + dx, y + dy
                if not (0 <= nx < w and 0 <= ny < h) or not mask[ny][nx]:
                    rim[y][x] = True
                    break
    return rim


def nearest(palette, c):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = (p[0] - c[0]) ** 2 * 3 + (p[1] - c[1]) ** 2 * 4 + (p[2] - c[2]) ** 2 * 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def to_indices(canvas, palette):
    cache = {}
    out = []
    for row in canvas.px:
        line = []
        for c in row:
            if c not in cache:
                cache[c] = nearest(palette, c)
            line.append(cache[c])
        out.append(line)
    return out


def palette_of(canvas, limit):
    """Colours in first-seen order (top-left first), for pictures drawn within a
    known small set of colours."""
    seen = {}
    for row in canvas.px:
        for c in row:
            if c not in seen:
                seen[c] = len(seen)
    if len(seen) > limit:
        raise ValueError(f"{len(seen)} colours, more than {limit}")
    return list(seen)


def seg_dist2(px, py, ax, ay, bx, by):
    """Squared distance from a point to the segment a-b."""
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, (wx * vx + wy * vy) / length2))
    dx, dy = wx - t * vx, wy - t * vy
    return dx * dx + dy * dy


def in_polygon(px, py, points):
    inside = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > py) != (y2 > py):
            if px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
    return inside
