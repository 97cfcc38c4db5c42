"""Writes the ten play stages into the folder given (data/). Run by hand when a stage changes,
then prove each one with `twirlstick-stage solve STAGE --out data/solutions/STAGE.rep`."""
import math, os, random, sys
OUT = sys.argv[1]

def fmt(v):
    s = '%g' % v
    if 'e' in s:
        m, e = s.split('e'); sign = e[0]; d = e[1:].lstrip('0') or '0'
        s = m + 'e' + sign + d.zfill(3)
    return s

class S:
    def __init__(s, title, tl, start, angle, cam):
        s.title, s.tl, s.start, s.angle, s.cam = title, tl, start, angle, cam
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
    def save(s, name):
        L = ['TITLE ' + s.title, 'TIMELIMIT %d' % s.tl,
             'INITPOS %s %s %s' % (fmt(s.start[0]), fmt(s.start[1]), fmt(s.angle)),
             'CAMPOS %s %s %s' % tuple(fmt(v) for v in s.cam),
             'POINT' + ''.join(' %s %s' % (fmt(x), fmt(y)) for x, y in s.pts)]
        L += ['%s %d %d' % seg for seg in s.segs]
        assert len(s.pts) <= 512 and len(s.segs) <= 512
        open(os.path.join(OUT, name), 'wb').write(b'\xef\xbb\xbf' + ('\r\n'.join(L) + '\r\n').encode())

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

# stage 1: an open room, the goal straight ahead
s = S('はじめの一歩', 40, (-220, 0), 0, (0, 0, 1.2))
s.wall((-350, -230), (350, -230), (350, 230), (-350, 230), (-350, -230))
s.goal((260, -90), (260, 90))
s.save('stage1')

# stage 2: a straight corridor
s = S('まっすぐの道', 45, (-100, 0), 0, (150, 0, 1.6))
corridor(s, [(-180, 0), (900, 0)], 170)
s.save('stage2')

# stage 4: zig-zag
s = S('ジグザグ', 60, (0, 0), 0, (250, 150, 1.8))
corridor(s, [(-80, 0), (450, 0), (450, 420), (900, 420), (900, 0), (1350, 0)], 170)
s.save('stage4')

# stage 3: the goal in sight, walled off
s = S('見えているのに', 50, (-250, -150), 0, (0, 0, 1.3))
s.wall((-400, -300), (400, -300), (400, 300), (-400, 300), (-400, -300))
s.wall((-100, -300), (-100, 170))
s.wall((120, 300), (120, -170))
s.wall((-100, -20), (50, -20))
s.goal((250, -120), (250, 120))
s.save('stage3')

# stage 6: narrow gates
s = S('せまい門', 60, (-150, 0), 0, (300, 0, 2.0))
W = 240
s.wall((-250, -W/2), (1500, -W/2)); s.wall((-250, W/2), (1500, W/2)); s.wall((-250, -W/2), (-250, W/2))
gate = 95
for i, x in enumerate([150, 450, 750, 1050, 1300]):
    gy = [60, -60, 40, -40, 0][i]
    s.wall((x, -W/2), (x, gy - gate/2)); s.wall((x, gy + gate/2), (x, W/2))
s.goal((1450, -W/2), (1450, W/2))
s.save('stage6')

# stage 9: a square spiral to the centre
s = S('うずまき', 150, (-560, -560), 0, (-300, -300, 2.0))
w = 170
path = [(-640, -560), (560, -560), (560, 560), (-560, 560), (-560, -560 + w), (560 - w, -560 + w),
        (560 - w, 560 - w), (-560 + w, 560 - w), (-560 + w, -560 + 2*w), (130, -560 + 2*w), (130, 30)]
corridor(s, path, 150)
s.save('stage9')

# stage 7: the long way round (serpentine)
s = S('遠回り', 90, (-600, -350), 0, (-400, -250, 1.8))
path = [(-680, -350)]
for i in range(5):
    x = -600 + i * 300
    down = i % 2 == 1
    path += [(x, 350 if down else -350), (x, -350 if down else 350)]
path.append((path[-1][0] + 200, path[-1][1]))
corridor(s, path, 160)
s.save('stage7')

# stage 5: a narrow winding path
s = S('細い道', 60, (0, 0), 0, (200, 0, 1.6))
path = [(-70, 0), (400, 0), (600, 220), (1000, 220), (1150, -100), (1600, -100)]
corridor(s, path, 120)
s.save('stage5')

# stage 8: a maze of 6 x 6 cells, carved by a seeded depth-first walk
s = S('迷路', 75, (-450, -450), 0, (-300, -300, 2.0))
N, C, X0 = 6, 180, -540
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
s.goal((X0 + N*C - 150, X0 + N*C - 30), (X0 + N*C - 30, X0 + N*C - 150))
s.save('stage8')

# stage 10: the last trial: a tight zig-zag with gates at every straight
s = S('最後の試練', 90, (0, 0), 0, (150, 100, 2.0))
path = [(-60, 0), (350, 0), (350, 350), (750, 350), (750, -100), (1150, -100), (1150, 300), (1600, 300), (1600, 700)]
HW, GAP = 66, 56
L, R = corridor(s, path, 2 * HW)
def gate(x, y, vertical, offset):
    lo, hi = offset - GAP / 2, offset + GAP / 2
    if vertical:
        s.wall((x, y - HW), (x, y + lo)); s.wall((x, y + hi), (x, y + HW))
    else:
        s.wall((x - HW, y), (x + lo, y)); s.wall((x + hi, y), (x + HW, y))
gate(550, 350, True, -20); gate(950, -100, True, 20); gate(1350, 300, True, -15); gate(1600, 520, False, 15)
s.save('stage10')
