"""What every level layout shares: the ground tiles' frames and looks, the backdrop
layers and the level file's sections. The output is the same on every run."""

# The junkyard's ground and the airship's deck are drawn in front of everything that moves
# on or through them, so what passes into them disappears: the hero and the enemies, the
# Grindlenaut and its parts, the scrap it throws (1.015), Kaje's shield and dropped power-ups
# (3.0), Kaje's rockets (3.9). Flashes, shots and debris (4.0 and up) stay in front.
GROUND_DEPTH = "3.95"
# The faces that end the Grindlenaut's arena above its floor stand behind the risen boss
# (1.0) and its drill (1.01), which reaches past its feet into them when it stops at a wall;
# the scrap it throws lands far from them. Below the arena floor the ground stays in front,
# so the buried boss is hidden.
ARENA_FACE_DEPTH = "0.995"
# The tiles the junkyard's end explosion opens below the arena's floor line stay behind the
# WallJump core (1.02) that appears where they meet, yet in front of the scrap.
OPENED_DEPTH = "1.0175"


# Ground-tile frames, the same in every tile set; 12, 13, 16 and 17 are read by the enemies.
SURFACES = (0, 2, 6, 14)
FILLS = (1, 3, 7, 15)
INNER_LEFT, INNER_RIGHT, BLOCK, PILLAR = 8, 9, 10, 11
LEDGE_RIGHT, LEDGE_LEFT, WALL_LEFT, WALL_RIGHT = 12, 13, 16, 17
# Half steps (junkyard only): a ledge end whose face is buried in its lower half.
STEP_LEFT, STEP_RIGHT = 19, 20


def variant(choices, x, y, avoid=()):
    """One of `choices` other than those in `avoid` (the neighbours' looks), picked by a hash
    of the position, so that every run writes the same file."""
    pool = [c for c in choices if c not in avoid] or list(choices)
    h = (x * 374761393 + y * 668265263) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return pool[(h >> 16) % len(pool)]


def position_hash(x, y, salt=0):
    """A well-mixed 32-bit hash of a tile's position, the same on every run."""
    h = (x * 374761393 + y * 668265263 + salt * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return h ^ (h >> 16)


def dress(frames, size, looks):
    """Gives the plain tiles their looks, row by row: `looks` maps each kind's plain frame
    (the one autotile left there) to (singles, runs). Singles are (frame, weight) pairs, one
    tile each; a run is (first, mids, last) frames of a fitting laid over two or more tiles
    side by side. Along each stretch of plain tiles of one kind a position hash starts a run
    here and there (never one that also lies close by, to the left or on the row above) and
    picks every other tile's look, never one of the four looks to its left nor of the five
    above it, so that no stretch of wall repeats tile by tile."""
    kinds, look_of = {}, {}
    for plain, (singles, runs) in looks.items():
        for frame in [plain] + [f for f, _ in singles]:
            kinds[frame] = plain
        # The n-th single of every kind is one look: a surface tile above or beside a fill
        # tile must not repeat it either.
        for n, (frame, _) in enumerate(singles):
            look_of[frame] = n
    rows = {}
    for (x, y), frame in frames.items():
        if frame in kinds:
            rows.setdefault(y, []).append(x)
    out, run_of = dict(frames), {}
    for y in sorted(rows):
        xs = sorted(rows[y])
        i = 0
        while i < len(xs):
            plain = kinds[frames[(xs[i], y)]]
            singles, runs = looks[plain]
            # The tiles from here on of one kind, each beside the last.
            n = 1
            while i + n < len(xs) and xs[i + n] == xs[i] + n * size and \
                    kinds[frames[(xs[i + n], y)]] == plain:
                n += 1
            h = position_hash(xs[i], y, 1)
            # A run, unless the same one lies close by, to the left or on the row above (the
            # same place in each kind's list is the same run).
            run = runs.index(runs[(h >> 8) % len(runs)]) if runs else None
            near = {run_of.get((xs[i] - k * size, y)) for k in range(1, 7)} | \
                {run_of.get((xs[i] + k * size, y - size)) for k in range(-4, 8)}
            if n >= 2 and runs and h % 100 < 22 and run not in near:
                first, mids, last = runs[run]
                length = 2 if not mids else min(n, 2 + (h >> 16) % 3)
                pieces = [first] + [mids[(h >> (20 + k)) % len(mids)] for k in range(length - 2)]
                for k, piece in enumerate(pieces + [last]):
                    out[(xs[i + k], y)] = piece
                    run_of[(xs[i + k], y)] = run
                i += length
                continue
            x = xs[i]
            near = [out.get((x - k * size, y)) for k in (1, 2, 3, 4)] + \
                [out.get((x + k * size, y - size)) for k in (-2, -1, 0, 1, 2)]
            avoid = {look_of[f] for f in near if f in look_of}
            pool = [f for f, weight in singles if look_of[f] not in avoid for _ in range(weight)]
            out[(x, y)] = pool[(h >> 8) % len(pool)] if pool else singles[0][0]
            i += 1
    return out


def autotile(cells, size, bounds, steps=False, ramps=()):
    """The frame of every tile centred at a point of `cells`, from which of its sides lie
    open. Beyond the level's bounds counts as solid ground, so the outer walls show their
    faces inwards. A ramp piece centred at a point of `ramps` counts as ground beside and
    above its neighbours, so the tile under a ramp is buried, not surfaced."""
    half = size // 2
    x_lo, y_lo, x_hi, _ = bounds

    def solid(px, py):
        if (x_lo != -1 and px < x_lo) or (x_hi != -1 and px > x_hi) or (y_lo != -1 and py < y_lo):
            return True
        return any(abs(px - cx) < half and abs(py - cy) < half for cx, cy in cells) or \
            any(abs(px - cx) < half and abs(py - cy) < half for cx, cy in ramps)

    frames = {}
    for x, y in cells:
        seen = (frames.get((x - size, y)), frames.get((x, y - size)))
        out, up, low = half + 1, y - half // 2, y + half // 2
        top = not (solid(x - half // 2, y - out) and solid(x + half // 2, y - out))
        left_up, left_low = not solid(x - out, up), not solid(x - out, low)
        right_up, right_low = not solid(x + out, up), not solid(x + out, low)
        left, right = left_up or left_low, right_up or right_low
        if top:
            if steps and left and not left_low and not right:
                frame = STEP_LEFT
            elif steps and right and not right_low and not left:
                frame = STEP_RIGHT
            elif left and right:
                frame = BLOCK
            else:
                frame = LEDGE_LEFT if left else LEDGE_RIGHT if right else variant(SURFACES, x, y, seen)
        elif left and right:
            frame = PILLAR
        elif left or right:
            frame = WALL_LEFT if left else WALL_RIGHT
        elif not solid(x - out, y - out):
            frame = INNER_LEFT
        elif not solid(x + out, y - out):
            frame = INNER_RIGHT
        else:
            frame = variant(FILLS, x, y, seen)
        frames[(x, y)] = frame
    return frames


def number(value):
    return "%g" % value


def backdrop(name, start_y, layers):
    """Section 3: the backdrop layers, back to front, each tiled sideways. A layer is
    (picture, top, across, down): `top` is where its top edge stands on the screen when the
    level starts (a frame holding only a lower band of its scene, see levels.anim's top=,
    stands that many rows lower), `across` and `down` how much of the camera's motion it follows (0 none,
    1 as much as the ground). Down is kept smaller than across so that the skylines stay
    above the ground while the hero climbs and drops. The front layer's picture runs on a
    screen's height below its scene (see levels.anim), so that it still reaches the screen's
    bottom when the camera stands low in a pit or over a gap."""
    camera = start_y - 300
    out = [str(len(layers))]
    for picture, top, across, down in layers:
        out.append("animations/backdrop_%s_%s.acd 0 %s 1 0 0 0 %s %s" %
                   (name, picture, number(top + down * camera), number(-across), number(-down)))
    return out


def level(prototypes, music, scenery, bounds, objects, player, enemies, triggers):
    out = [str(len(prototypes))] + prototypes
    out.append("0 %d %s" % (len(music), " ".join("%s order" % m for m in music)))
    out += scenery + ["0", "0", "0"]
    out.append("%d %d %d %d" % bounds)
    out.append(str(len(objects)))
    out += ["%s %d %d %d %d %s" % o for o in objects]
    out.append(player)
    out.append(str(len(enemies)))
    out += ["%s %d %d %d" % e for e in enemies]
    out.append(str(len(triggers)))
    out += ["%s %d %d 0 0 0" % t for t in triggers]
    return "\n".join(out) + "\n"
