"""The airship: a climb from the stern to the bow over decks, gangways, a cargo hold, a mast,
the gun bridge, the engine deck and the rigging, then the foredeck where Kaje is fought."""
from levelkit import *  # noqa: F401,F403

# Deck tiles, origin top-left, 128 px: frame 0 deck, 1 the stage-one turn marker, 2 wall,
# 3 to 6 the hull below the deck, 7 to 11 its underside (see KEELS). Kaje turns on any deck
# frame but 0, so the deck's other looks are prototypes of their own, each at frame 0. No
# deck frame is one the enemies read (12, 13 ledge ends, 16, 17 walls): a TigerC on the deck
# never sees a ledge end and walks off it, so each TigerC stands on a stretch that a bulkhead
# closes on the side it backs off to.
T, D = "AirshipDeck", GROUND_DEPTH
# A TigerC backs off until its feet meet the bulkhead behind it, its tail reaching past them:
# that face is drawn before the hero and the enemies (at the same depth, in file order).
BULKHEAD_DEPTH = "0"
DECKS = ("AirshipDeck", "AirshipDeckB", "AirshipDeckC")
# The deck where it ends on its left, its right or both sides: planks turned round the
# corner over the hull's face. Frame 0, like every deck look.
DECK_ENDS = {LEDGE_LEFT: "AirshipDeckL", LEDGE_RIGHT: "AirshipDeckR", BLOCK: "AirshipDeckLR"}
HULLS = (3, 4, 5, 6)
# The hull look whose fittings each deck look shows under its planks.
DECK_LOOKS = {"AirshipDeck": 3, "AirshipDeckB": 5, "AirshipDeckC": 6}
# The hull beside a gap on its left or right: its plating turns round a frame there. Not the
# enemies' wall frames, which would turn a Shredder that meets them.
HULL_FACE_LEFT, HULL_FACE_RIGHT = 14, 15
# The underside a row below the keel: plating turning under to the keel beam, in two looks,
# swept up where the hull ends at a gap on its left or right; the row under that shows sky.
KEELS, KEEL_OPEN_LEFT, KEEL_OPEN_RIGHT, BELOW_KEEL = (7, 8), 9, 10, 11
WALL = 2
SIZE = 128
# The foredeck's surface: row 0 of the journey's map.
DECK_Y = 4000
# The keel's row and the two rows of hull that run on under it, past the level's lower bound.
KEEL, UNDER = 4128, (4256, 4384)

# The journey's map, one stage after another from the stern (left) to the foredeck's wall at
# x 0. Every stage is 15 rows of cells, the top row at y 2336 (row -13), the bottom at 4128
# (row 1, the keel). Each character is one 128-pixel cell:
#   #  deck or hull (the writer picks the look: a deck where nothing lies on top, a wall face
#      down a pillar, hull plates elsewhere)
#   a b  a gentle ramp climbing right, low then high piece; c d  one climbing left, high then low
#   /  a 45-degree ramp climbing right; \ one climbing left; S  a steep one climbing right (a
#      face the hero must jump), Z  one climbing left (a face he drops down)
#   o  an orb 40 above the floor under it; O  an orb in the middle of the cell
#   p  a power-up on the floor (it lasts 600 frames from when the hero's view wakes it)
#   E  TigerE, C  TigerC, X  Shredder, standing on the floor under them
#   K  a checkpoint; @  the hero's start
#   1-9  a stack of that many tires on the floor
ROWS = 15
TOP_ROW = -13
RAMPS = {"a": 0, "b": 1, "c": 2, "d": 3, "/": 4, "\\": 5, "S": 6, "Z": 7}

# 1. Stern deck: the three ramp slopes up and down, one after another, with nobody about. An
# orb on each hump rewards the climb; the steep ramp is a face to jump, like a step, and on
# its far side one to drop down.
STERN = [
    "...................",
    "...................",
    "...................",
    "...................",
    "...................",
    "#..................",
    "#..................",
    "#..................",
    "#..................",
    "#...oo..........o..",
    "#@ab##cd.p/#\\.S##Z.",
    "###################",
    "###################",
    "###################",
    "###################",
]

# 2. Gangways: one-tile gaps to the sky, each to a deck a tile lower (a running jump carries
# little), then steps back up to a TigerE on the top deck; a last gap, and checkpoint 1.
GANGWAYS = [
    "......................",
    "......................",
    "......................",
    "......................",
    "......................",
    "......................",
    "......................",
    "......................",
    "......................",
    "......................",
    ".............E..O.....",
    "....O....#######..K...",
    ".###....########.#####",
    ".###.###########.#####",
    ".###.###########.#####",
]

# 3. Cargo hold: a ramp down under the ship's body into a low hold, where two stacks of tires
# (nine in all) fill the way up to the ceiling: only a Stride passes. Its floor lies a row
# above the keel, so the camera, held up by the level's lower bound, still shows the hull
# under the hero's feet. 4. Air shaft: at the hold's end a shaft one tile wide rises 896 up
# the mast, climbed by WallJumps; its left side stands two tiles taller, so the way out is
# to the right. Orbs at the top.
HOLD_AND_SHAFT = [
    "...............",
    "...............",
    "...............",
    "...............",
    "............#..",
    "...##########..",
    "...##########O#",
    "...##########O#",
    "...##########.#",
    "...##########.#",
    "...##########.#",
    "..............#",
    "#\\....6..3....#",
    "###############",
    "###############",
]

# 5. Gun bridge: checkpoint 2 where the shaft comes out, then a TigerC in a gun nest between
# two bulkheads a tile high: it keeps its distance from the hero and shoots, but can back off
# no farther than the nest, and the hero jumps in to it.
GUN_BRIDGE = [
    "..............",
    "..............",
    "..............",
    "..............",
    "..............",
    ".K.oo..#..C.##",
    "##############",
    "##############",
    "##############",
    "##############",
    "##############",
    "##############",
    "##############",
    "##############",
    "##############",
]

# 6. Engine deck: a drop and ramps down to a long deck with a power-up and a Shredder, then a
# gap two tiles wide where a lift rises 512 towards the rigging.
ENGINE_DECK = [
    "............",
    "............",
    "............",
    "............",
    "............",
    "............",
    "............",
    "#\\..........",
    "##cd.p.X....",
    "##########..",
    "##########..",
    "##########..",
    "##########..",
    "##########..",
    "##########..",
]
# The lift's placed y: it shuttles 256 either side, between the engine deck (row -4) and
# the rigging's foot (row -8).
LIFT_Y = DECK_Y - 4 * SIZE - 256

# 7. Rigging: a wall three tiles high that only a SuperJump clears, with a TigerC on top,
# which backs off against the bulkhead behind it.
RIGGING = [
    "..........",
    ".....o.C.#",
    "...#######",
    "...#######",
    "...#######",
    "##########",
    "##########",
    "##########",
    "##########",
    "##########",
    "##########",
    "##########",
    "##########",
    "##########",
    "##########",
]

# 8. Forecastle: drops, a gap, ramps down, a TigerE and a Shredder, the last orbs, and
# checkpoint 3 just before the foredeck's wall, whose top it meets; the hero drops from there
# to the foredeck.
FORECASTLE = [
    ".....................",
    ".....................",
    ".....................",
    "###..................",
    "###.##\\..............",
    "###.###cd..oEo..X.oK.",
    "###.#################",
    "###.#################",
    "###.#################",
    "###.#################",
    "###.#################",
    "###.#################",
    "###.#################",
    "###.#################",
    "###.#################",
]

STAGES = [STERN, GANGWAYS, HOLD_AND_SHAFT, GUN_BRIDGE, ENGINE_DECK, RIGGING, FORECASTLE]


def journey():
    """The map's cells and what stands in them, laid out so that the last column ends at x 0."""
    for stage in STAGES:
        assert len(stage) == ROWS and len({len(row) for row in stage}) == 1, stage
    rows = ["".join(stage[r] for stage in STAGES) for r in range(ROWS)]
    width = len(rows[0])
    x0 = -width * SIZE
    cells, ramps, things = [], [], []
    for r, line in enumerate(rows):
        y = DECK_Y + (TOP_ROW + r) * SIZE
        for c, ch in enumerate(line):
            x = x0 + c * SIZE
            if ch == "#":
                cells.append((x, y))
            elif ch in RAMPS:
                ramps.append((x, y, RAMPS[ch]))
            elif ch != ".":
                things.append((ch, x, y))
    # Left to right: checkpoints count up in the order the hero meets them.
    return x0, cells, ramps, sorted(things, key=lambda t: (t[1], t[2]))


def deck_frames(cells, ramps, bounds, beside=()):
    """Each tile's prototype and frame: deck looks where nothing lies on top, the wall (a face
    down both sides) where both sides are open, hull plates elsewhere: on a tile open on one
    side only, the wall's other face would show as a seam in the hull. The frames come from
    the shared writer's, which takes tile centres; `beside` is ground placed apart that still
    closes a side."""
    half = SIZE // 2
    centres = [(x + half, y + half) for x, y in list(cells) + list(beside)]
    x_lo, y_lo, x_hi, y_hi = bounds
    frames = autotile(centres, SIZE, (x_lo, y_lo, x_hi, y_hi),
                      ramps=[(x + half, y + half) for x, y, _ in ramps])
    out = []
    deck, looks = None, {}
    for x, y in cells:
        frame = frames[(x + half, y + half)]
        if frame in DECK_ENDS:
            out.append((DECK_ENDS[frame], x, y, 0, 0, D))
        elif frame in SURFACES:
            deck = variant(DECKS, x, y, (deck,))
            looks[(x, y)] = DECK_LOOKS[deck]
            out.append((deck, x, y, 0, 0, D))
        elif frame == PILLAR:
            out.append((T, x, y, WALL, 0, D))
        elif frame in (WALL_LEFT, WALL_RIGHT):
            out.append((T, x, y, HULL_FACE_LEFT if frame == WALL_LEFT else HULL_FACE_RIGHT, 0, D))
        else:
            out.append((T, x, y, hull_look(looks, x, y), 0, D))
    return out


def hull_look(looks, x, y):
    """A hull look unlike those already placed beside it and above it (a deck's counting as
    the look it shares), picked by position, so that no look repeats along a row or down a
    column of plating."""
    near = tuple(looks.get(p) for p in ((x - SIZE, y), (x + SIZE, y), (x, y - SIZE), (x, y + SIZE)))
    looks[(x, y)] = variant(HULLS, x, y, near)
    return looks[(x, y)]


def underside(x, y, cells, bounds):
    """The look of a hull tile under the keel row: the underside on the row just below it,
    ended where no hull lies beside it within the bounds; nothing painted below that."""
    if y != UNDER[0]:
        return BELOW_KEEL
    solid = set(cells)

    def open_at(px):
        return bounds[0] <= px < bounds[2] and (px, y) not in solid
    if open_at(x - SIZE):
        return KEEL_OPEN_LEFT
    if open_at(x + SIZE):
        return KEEL_OPEN_RIGHT
    return variant(KEELS, x, y)


def make():
    x0, cells, ramps, things = journey()
    # The foredeck's left wall, which the forecastle meets at its top: the end of Kaje's
    # stage-two deck on that side.
    for y in range(3872, 3000, -128):
        cells.append((0, y))
    # Room above the rigging for a SuperJump's top. The lower bound keeps the camera high
    # enough that the crates and claws hanging over Kaje show below the HUD panel while the
    # camera centres on Kaje's feet on the foredeck.
    bounds = (x0, 2000, 4736, 4160)
    # The hull runs down past the level's lower bound under every keel tile, so the camera
    # standing low never shows what lies under the ship.
    cells += [(x, y) for x, k in cells if k == KEEL for y in UNDER]
    foredeck = [(128 * i, y) for i in range(37) for y in (4000, KEEL) + UNDER]
    objects = deck_frames(cells, ramps, bounds, foredeck)
    objects = [o[:3] + (underside(o[1], o[2], cells + foredeck, bounds),) + o[4:]
               if o[0] == T and o[2] in UNDER else o for o in objects]
    solid = set(cells)
    faces = set()
    for ch, x, y in things:
        if ch == "C":
            # Facing left, towards the hero, it backs off to the right.
            face = x + SIZE
            while (face, y) not in solid and face < bounds[2]:
                face += SIZE
            faces.add((face, y))
    grounds = (T,) + DECKS + tuple(DECK_ENDS.values())
    objects = [o[:5] + (BULKHEAD_DEPTH,) if o[0] in grounds and (o[1], o[2]) in faces else o
               for o in objects]
    objects += [("AirshipRamps", x, y, frame, 0, D) for x, y, frame in ramps]

    enemies, checkpoints = [], []
    player = None
    orb = 0
    for ch, x, y in things:
        cx, floor = x + SIZE // 2, y + SIZE
        if ch in "oO":
            orb += 1
            objects.append(("OrbRotation", cx, floor - 40 if ch == "o" else y + SIZE // 2,
                            2 + orb % 3, 0, "0"))
        elif ch == "p":
            objects.append(("Powerup", cx, floor - 12, 2 + orb % 3, 0, "0"))
        elif ch in "ECX":
            name = {"E": "TigerE", "C": "TigerC", "X": "Shredder"}[ch]
            # Facing the way the hero comes from.
            enemies.append((name, cx, floor - 1, 1))
        elif ch == "K":
            checkpoints.append(("TriggerCheckPoint", cx, floor - 1))
        elif ch == "@":
            player = "ZodirazO %d %d 0" % (cx, floor - 1)
        elif ch.isdigit():
            for k in range(int(ch)):
                objects.append(("Tire", cx, floor - 20 - 40 * k, 0, 0, "0"))
        else:
            raise ValueError("unknown map character %r" % ch)
    # The lift fills the two empty columns that end the engine deck.
    engine_end = sum(len(stage[0]) for stage in STAGES[:STAGES.index(ENGINE_DECK) + 1])
    objects.append(("FactoryPlatform", x0 + SIZE * (engine_end - 1), LIFT_Y, 0, 0, "0"))

    # The foredeck, from x 0: the deck Kaje walks in on from x 300, the marked tiles where
    # its stage-one walk turns, and its right wall.
    deck, looks = None, {}
    for i in range(0, 37):
        x = 128 * i
        if i in (19, 35):
            objects.append((T, x, 4000, 1, 0, D))
        else:
            deck = variant(DECKS, x, 4000, (deck,))
            looks[(x, 4000)] = DECK_LOOKS[deck]
            objects.append((deck, x, 4000, 0, 0, D))
        objects.append((T, x, KEEL, hull_look(looks, x, KEEL), 0, D))
        for y in UNDER:
            objects.append((T, x, y, underside(x, y, cells + foredeck, bounds), 0, D))
    for y in range(3872, 3000, -128):
        objects.append((T, 4608, y, WALL, 0, D))
    # Kaje takes the crates in the order they joined the main list: left to right, as
    # the hero's run wakes them. Each claw hangs beside its crate's corner, on the side
    # where the hero waits, far enough out that a Cyclone beside the shield reaches it:
    # the hero arrives from the right; after each drop the camera holds the hero while
    # Kaje walks on to the next crate, past the hero, who so ends on its left.
    crates = (2550, 2850, 3150)
    for x in crates:
        objects.append(("AirshipCrate", x, 3790, 0, 0, "0"))
    enemies += [("AirshipClaw", x + (92 if i == 0 else -92), 3714, 0) for i, x in enumerate(crates)]
    # The trigger stands right of the crates: Kaje walks in from x 300 without meeting
    # the hero, and the deck under the waiting hero stays within the camera's
    # wake window while the camera follows Kaje in.
    protos = ["AirshipDeckB 1 0 animations/airship_deck_b.acd",
              "AirshipDeckC 1 0 animations/airship_deck_c.acd",
              "AirshipDeckL 1 0 animations/airship_deck_l.acd",
              "AirshipDeckR 1 0 animations/airship_deck_r.acd",
              "AirshipDeckLR 1 0 animations/airship_deck_lr.acd",
              "AirshipRamps 1 0 animations/airship_ramps.acd"]
    # The far range stands 30 lower than on a level without the rigging, so that its foot
    # still reaches under the clouds' when the camera is up there.
    scenery = backdrop("airship", 3999, [("sky", 0, 0.02, 0), ("far", -120 + 155, 0.08, 0.03),
                                         ("clouds", -60 + 129, 0.25, 0.08)])
    start_x = int(player.split()[1])
    return level(protos, ["music/airship.ogg", "music/kaje.ogg", "music/kaje_final.ogg",
                          "music/finale.ogg"],
                 scenery, bounds, objects, player,
                 enemies, checkpoints + [("KajeTrigger", 3500, 3900), ("Tutorial", start_x, 3900)])
