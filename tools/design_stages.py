"""Writes the ten play stages into the folder given (data/) and proves each at a person's pace,
writing its route to data/solutions/:

    python3 tools/design_stages.py data build/game/twirlstick-stage

A person's route clicks at least 10 frames apart, still clears with any click a frame early or
late (two on stages 1 to 3), and takes at most three quarters of the time limit. A click a frame off turns the rest of
the route about where it was made (by 4 degrees, 8 when fast), so a way must be wider the farther
it leads from where the clicks were made: the stages are rooms and wide ways, not mazes of
slots. Difficulty rises through the ways' width and turns and through the time to spare: the
first stage gives seven times its route's time, the last twice. Each start camera shows the
whole stage below the heads-up texts."""
import math, os, random, subprocess, sys
OUT = sys.argv[1]
TOOL = sys.argv[2] if len(sys.argv) > 2 else None
ONLY = sys.argv[3:]  # stage names to redo; all when empty

# The heads-up texts (title, time, bars, best) fill this band of the 800 x 600 view, y up.
BAND = tuple(float(v.strip().rstrip('f')) for v in __import__('re').search(r'HeadsUpBand\(([^)]*)\)', open(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'core', 'game', 'HeadsUpBand.h')).read()).group(1).split(','))
VIEW_BELOW_BAND = (-390, -290, 390, 125)  # where the whole stage is shown at the start


def fmt(v):
    s = '%g' % v
    if 'e' in s:
        m, e = s.split('e'); sign = e[0]; d = e[1:].lstrip('0') or '0'
        s = m + 'e' + sign + d.zfill(3)
    return s

class S:
    def __init__(s, title, tl, start, angle):
        s.title, s.tl, s.start, s.angle = title, tl, start, angle
        s.pts, s.segs = [], []
    def p(s, x, y):
        key = (round(x, 3), round(y, 3))
        for i, q in enumerate(s.pts):
            if q == key: return i
        s.pts.append(key); return len(s.pts) - 1
    def line(s, kind, pts):
        for a, b in zip(pts, pts[1:]):
            ia, ib = s.p(*a), s.p(*b)
            s.segs.append((kind, min(ia, ib), max(ia, ib)))
    def wall(s, *pts): s.line('WALL', pts)
    def goal(s, *pts): s.line('GOAL', pts)
    def fit_camera(s):
        """The whole stage below the heads-up band, as large as it fits."""
        xs = [x for x, _ in s.pts]; ys = [y for _, y in s.pts]
        l, b, r, t = VIEW_BELOW_BAND
        zoom = max((max(xs) - min(xs)) / (r - l), (max(ys) - min(ys)) / (t - b))
        zoom = math.ceil(zoom * 20) / 20
        cx = (max(xs) + min(xs)) / 2 - zoom * (l + r) / 2
        cy = (max(ys) + min(ys)) / 2 - zoom * (b + t) / 2
        return (round(cx), round(cy), zoom)
    def band_is_clear(s):
        cx, cy, z = s.cam
        rect = (cx + z * BAND[0], cy + z * BAND[1], cx + z * BAND[2], cy + z * BAND[3])
        return not any(segment_meets_rect(s.pts[a], s.pts[b], rect) for _, a, b in s.segs)
    def save(s, name):
        if ONLY and name not in ONLY: return
        s.cam = s.fit_camera()
        assert s.band_is_clear(), name
        L = ['TITLE ' + s.title, 'TIMELIMIT %d' % s.tl,
             'INITPOS %s %s %s' % (fmt(s.start[0]), fmt(s.start[1]), fmt(s.angle)),
             'CAMPOS %s %s %s' % tuple(fmt(v) for v in s.cam),
             'POINT' + ''.join(' %s %s' % (fmt(x), fmt(y)) for x, y in s.pts)]
        L += ['%s %d %d' % seg for seg in s.segs]
        assert len(s.pts) <= 512 and len(s.segs) <= 512
        path = os.path.join(OUT, name)
        open(path, 'wb').write(b'\xef\xbb\xbf' + ('\r\n'.join(L) + '\r\n').encode())
        if TOOL: prove(path, name, s.tl)

# Frames every click of a stage's route may slip either way; a beginner's first stage forgives more.
FORGIVE = {'stage1': 3, 'stage2': 3, 'stage3': 3}

def prove(path, name, tl):
    rep = os.path.join(OUT, 'solutions', name + '.rep')
    run = subprocess.run([TOOL, 'solve', path, '--out', rep, '--seconds', '240', '--forgive', str(FORGIVE.get(name, 2))],
                         capture_output=True, text=True)
    print(name, run.stdout.strip().replace('\n', '; '), flush=True)
    assert run.returncode == 0, name
    frames = int(run.stdout.split()[1])
    assert frames * 4 <= tl * 60 * 3, '%s: %d frames of %d' % (name, frames, tl * 60)

def segment_meets_rect(a, b, rect):
    """Whether segment ab has a point inside the closed rectangle (Liang-Barsky)."""
    l, bt, r, t = rect
    t0, t1 = 0.0, 1.0
    dx, dy = b[0] - a[0], b[1] - a[1]
    for p, q in ((-dx, a[0] - l), (dx, r - a[0]), (-dy, a[1] - bt), (dy, t - a[1])):
        if p == 0:
            if q < 0: return False
        else:
            u = q / p
            if p < 0: t0 = max(t0, u)
            else: t1 = min(t1, u)
    return t0 <= t1

def offset(path, d):
    """Offset a polyline by d to its left, with miter joints."""
    out = []
    n = len(path)
    def normal(a, b):
        dx, dy = b[0]-a[0], b[1]-a[1]; l = math.hypot(dx, dy); return (-dy/l, dx/l)
    for i in range(n):
        if i == 0: nx, ny = normal(path[0], path[1]); out.append((path[0][0]+nx*d, path[0][1]+ny*d))
        elif i == n-1: nx, ny = normal(path[-2], path[-1]); out.append((path[-1][0]+nx*d, path[-1][1]+ny*d))
        else:
            n1 = normal(path[i-1], path[i]); n2 = normal(path[i], path[i+1])
            mx, my = n1[0]+n2[0], n1[1]+n2[1]; ml = math.hypot(mx, my); mx, my = mx/ml, my/ml
            k = d / (mx*n1[0] + my*n1[1])
            out.append((path[i][0]+mx*k, path[i][1]+my*k))
    return out

def corridor(s, path, w, goal_end=True):
    L = offset(path, w/2); R = offset(path, -w/2)
    s.wall(*L); s.wall(*R)
    s.wall(L[0], R[0])
    if goal_end: s.goal(L[-1], R[-1])
    else: s.wall(L[-1], R[-1])
    return L, R

# Stage 1 はじめの一歩 (first step). Idea: learn that a click swaps the pivot; an open room, the
# goal a long line a few steps ahead.
s = S('はじめの一歩', 40, (-110, 0), 0)
s.wall((-300, -230), (300, -230), (300, 230), (-300, 230), (-300, -230))
s.goal((150, -190), (150, 190))
s.save('stage1')

# Stage 2 まっすぐの道 (the straight road). Idea: walk the bar along a way, end over end.
s = S('まっすぐの道', 40, (-100, 0), 0)
corridor(s, [(-180, 0), (460, 0)], 340)
s.save('stage2')

# Stage 3 見えているのに (in sight, yet). Idea: the goal is right there, but a wall sends you round.
s = S('見えているのに', 40, (-170, -120), 0)
s.wall((-360, -300), (360, -300), (360, 300), (-360, 300), (-360, -300))
s.wall((0, -300), (0, 70))
s.goal((170, -120), (170, 160))
s.save('stage3')

# Stage 4 ジグザグ (zig-zag). Idea: turn a corner one way, then the other.
s = S('ジグザグ', 35, (0, 0), 0)
corridor(s, [(-80, 0), (240, 0), (240, 280), (520, 280)], 300)
s.save('stage4')

# Stage 5 細い道 (the narrow road). Idea: a winding way, narrower than before.
s = S('細い道', 35, (0, 0), 0)
corridor(s, [(-70, 0), (240, 0), (400, 190), (640, 190)], 260)
s.save('stage5')

# Stage 6 せまい門 (narrow gates). Idea: thread gates set off the middle, one high, one low.
s = S('せまい門', 30, (-150, 0), 0)
W = 380
s.wall((-250, -W/2), (660, -W/2)); s.wall((-250, W/2), (660, W/2)); s.wall((-250, -W/2), (-250, W/2))
gate = 250
for x, gy in ((120, 45), (380, -45)):
    s.wall((x, -W/2), (x, gy - gate/2)); s.wall((x, gy + gate/2), (x, W/2))
s.goal((620, -W/2), (620, W/2))
s.save('stage6')

# Stage 7 遠回り (the long way round). Idea: a serpentine; the goal is near, the way is not.
s = S('遠回り', 35, (-260, -140), 0)
path = [(-330, -140), (-260, -140), (-260, 150), (0, 150), (0, -140), (180, -140)]
corridor(s, path, 250)
s.save('stage7')

# Stage 8 迷路 (the maze). Idea: find the way through a maze of 3 x 3 wide cells.
s = S('迷路', 35, (-255, -255), 0)
N, C, X0 = 3, 250, -375
rng = random.Random(2026)
open_ = set(); seen = {(0, 0)}; stack = [(0, 0)]
while stack:
    x, y = stack[-1]
    nb = [(x+dx, y+dy) for dx, dy in ((1,0),(-1,0),(0,1),(0,-1)) if 0 <= x+dx < N and 0 <= y+dy < N and (x+dx, y+dy) not in seen]
    if not nb: stack.pop(); continue
    n = rng.choice(nb); open_.add(frozenset(((x, y), n))); seen.add(n); stack.append(n)
s.wall((X0, X0), (X0 + N*C, X0), (X0 + N*C, X0 + N*C), (X0, X0 + N*C), (X0, X0))
# vertical walls between (x,y) and (x+1,y), merged along y
for x in range(N-1):
    y = 0
    while y < N:
        if frozenset(((x, y), (x+1, y))) in open_: y += 1; continue
        y1 = y
        while y1 < N and frozenset(((x, y1), (x+1, y1))) not in open_: y1 += 1
        s.wall((X0 + (x+1)*C, X0 + y*C), (X0 + (x+1)*C, X0 + y1*C)); y = y1
for y in range(N-1):
    x = 0
    while x < N:
        if frozenset(((x, y), (x, y+1))) in open_: x += 1; continue
        x1 = x
        while x1 < N and frozenset(((x1, y), (x1, y+1))) not in open_: x1 += 1
        s.wall((X0 + x*C, X0 + (y+1)*C), (X0 + x1*C, X0 + (y+1)*C)); x = x1
s.goal((X0 + N*C - 200, X0 + N*C - 30), (X0 + N*C - 30, X0 + N*C - 200))
s.save('stage8')

# Stage 9 うずまき (the whirlpool). Idea: a square spiral in to the centre.
s = S('うずまき', 40, (-260, -200), 0)
path = [(-330, -200), (200, -200), (200, 200), (-200, 200), (-200, 30)]
corridor(s, path, 250)
s.save('stage9')

# Stage 10 最後の試練 (the last trial). Idea: everything at once: zig-zag ways with gates.
s = S('最後の試練', 30, (0, 0), 0)
path = [(-60, 0), (280, 0), (280, 330), (600, 330), (600, 40), (800, 40)]
HW, GAP = 140, 260
L, R = corridor(s, path, 2 * HW)
def gate(x, y, vertical, offset):
    lo, hi = offset - GAP / 2, offset + GAP / 2
    if vertical:
        s.wall((x, y - HW), (x, y + lo)); s.wall((x, y + hi), (x, y + HW))
    else:
        s.wall((x - HW, y), (x + lo, y)); s.wall((x + hi, y), (x + HW, y))
gate(440, 330, True, -15); gate(280, 165, False, 15)
s.save('stage10')
