"""The factory: four floors of a works hall, the top one heading left, the next right,
the next left again and the arena floor right to TigerA."""
from levelkit import *  # noqa: F401,F403

# 128-pixel metal tiles, origin at the centre. Column c is centred at x 64 + 128 c.
# Each floor's ground is two tiles thick and the floors stand 768 apart, so every hall
# under a floor is four tiles high (the top one three and a half, under the level's
# top). Heights count whole tiles above a floor's surface.
SIZE = 128
TOP_T, TOP_A, TOP_B, TOP_C = 448, 1216, 1984, 2752
# The hall's end walls: column 0 on the left, column 70 on the right. The top floor runs
# the whole width, over the arena; the two below it end at column 42, against a wall that
# comes down to the arena floor's ceiling.
LAST_COLUMN, RIGHT_END, EXIT_COLUMN = 42, 43, 70
BOUNDS = (0, 0, 9088, 3200)

# The plain steel's looks (frames of "MetalTiles", see world.anim), surface and fill alike:
# bare plating, weighted up, between vents, lamps, valves, gauges, a bay plate, a crack and a
# junction box; and the runs laid over several tiles, a pipe (with a valve on some of its
# mids), a soot stain and three signs over two tiles, each sign a quarter as often as a pipe.
SINGLE_WEIGHTS = ((0, 3), (1, 1), (2, 1), (3, 1), (4, 1), (5, 3), (6, 1), (7, 1), (8, 3),
                  (9, 1), (10, 1), (11, 1), (12, 3), (13, 1))


def steel_looks():
    """For each plain frame autotile leaves (0 surface, 1 fill), its singles and runs."""
    old = {0: (0, 1), 1: (2, 3), 2: (6, 7), 3: (14, 15), 4: (4, 5)}

    def frame(v, fill):
        return old[v][fill] if v in old else 18 + 2 * (v - 5) + fill

    def piece(index, fill):
        return 36 + 2 * index + fill

    looks = {}
    for fill in (0, 1):
        singles = [(frame(v, fill), w) for v, w in SINGLE_WEIGHTS]
        pipe = (piece(0, fill), [piece(1, fill), piece(1, fill), piece(2, fill)], piece(3, fill))
        stain = (piece(4, fill), [piece(5, fill)], piece(6, fill))
        signs = [(piece(k, fill), [], piece(k + 1, fill)) for k in (7, 9, 11)]
        looks[fill] = (singles, [pipe] * 4 + [stain] * 4 + signs)
    return looks


def cx(column):
    return 64 + SIZE * column


def mid(column):
    """The x between a column and the next."""
    return cx(column) + SIZE // 2


def surface(top, height):
    return top - SIZE * height


class Floor:
    """One floor's ground as a height for each column; a column left out is a hole down."""

    def __init__(self, top, down_to=None):
        self.top = top
        # The lowest floor's ground runs down past the level's lower bound, so the camera
        # standing low never shows what lies under it.
        self.down_to = down_to if down_to is not None else top + 64 + SIZE
        self.heights = {}
        self.ramps = []
        self.extra = []

    def run(self, first, last, height=0):
        for c in range(first, last + 1):
            self.heights[c] = height

    def hole(self, column):
        self.heights.pop(column, None)

    def ramp(self, column, frame, height):
        """A ramp piece (frames of "MetalRamps") standing on a column at that height."""
        self.heights[column] = height
        self.ramps.append((column, frame, height))

    def hang(self, column, low, high):
        """Tiles hanging between two heights, a wall or a block in the air of the hall."""
        for h in range(low, high + 1):
            self.extra.append((cx(column), self.top + 64 - SIZE * h))

    def cells(self):
        out = []
        for c, h in sorted(self.heights.items()):
            level = h
            while self.top + 64 - SIZE * level <= self.down_to:
                out.append((cx(c), self.top + 64 - SIZE * level))
                level -= 1
        return out + self.extra

    def ramp_pieces(self):
        return [(cx(c), self.top - 64 - SIZE * h, frame) for c, frame, h in self.ramps]

    def on(self, column, height=None, above=0.1):
        """Where a walker placed on this column stands."""
        h = self.heights.get(column, 0) if height is None else height
        return surface(self.top, h) - above


def floor_t():
    """Heading left from the start, over the arena: a dip, the slopes, a tire stack, a
    block, stairs, a gunner's raised stretch and a low block; the hole down at the far
    end."""
    t = Floor(TOP_T)
    t.run(1, EXIT_COLUMN - 1)
    # 1. A one-tile dip: fall in, jump out.
    t.run(62, 63, -1)
    # 2. A tire stack too tall to jump (col 59): Stride through it. A Stride launches
    # every stack awake, so the next one (on the floor below) stands far from it.
    # 3. Slopes: a gentle climb over two tiles, a 45-degree one, a steep drop and a
    # 45-degree way down.
    t.ramp(54, 3, 0)
    t.ramp(53, 2, 0)
    t.run(51, 52, 1)
    t.ramp(50, 5, 1)
    t.run(48, 49, 2)
    t.ramp(47, 6, 1)
    t.ramp(46, 4, 0)
    # 4. A block to jump on and off, then stairs up and down.
    t.run(40, 41, 1)
    t.run(32, 33, 1)
    t.run(30, 31, 2)
    t.run(28, 29, 1)
    # 5. The first gunner at the end of a stretch one tile up, level with the hero's way to
    # it: a gunner above him, kept 480 away, would stand under the HUD's panel.
    t.run(16, 27, 1)
    # 6. A low block before the hole down.
    t.run(8, 10, 1)
    t.hole(1)
    return t


def floor_a():
    """Heading right: a gunner's perch, a pit, the lift, a second tire stack, a low
    passage and the WallJump shaft; the hole down at the far end."""
    a = Floor(TOP_A)
    a.run(1, 41)
    # 7. A perch one tile up with a second gunner, reached by a step.
    a.run(6, 10, 1)
    # 8. A pit two tiles wide.
    a.run(14, 15, -1)
    # 9. A wall three tiles high; the lift in the shaft beside it carries the hero up. A
    # hero who misses the lift falls through to the floor below.
    a.hole(25)
    a.hole(26)
    a.run(27, 29, 3)
    # 10. Two rats and a second tire stack (col 36) before a low passage.
    # 11. The passage runs under a wall that comes down from the ceiling; the wall's face
    # and the column beyond it make the WallJump shaft. The hole down lies past the
    # column.
    for c in (37, 38, 39):
        a.hang(c, 2, 4)
    a.hang(41, 1, 2)
    return a


def floor_b():
    """Heading left: gunners on raised stretches, a shredder, a shaft hanging from the ceiling."""
    b = Floor(TOP_B)
    b.run(1, LAST_COLUMN)
    # 12. A stretch two tiles up with a gunner, where the hero lands from the floor above,
    # and a step down from it; level with him, as on the top floor.
    b.run(33, LAST_COLUMN, 2)
    b.run(32, 32, 1)
    # 13. A raised stretch with the next gunner, on from the step; the shredder's floor
    # beyond it.
    b.run(23, 31, 1)
    # 14. A WallJump shaft hanging from the ceiling, an orb at its top.
    b.hang(9, 2, 4)
    b.hang(11, 2, 4)
    # 15. A last gunner before the hole down, on the hero's level.
    b.hole(1)
    return b


def floor_c():
    """Heading right to the arena: a pit, a lift, a shredder, raised stretches with steps,
    a Constructor, a second lift, the Cyclone core, a gunner, then TigerA's arena and the
    wall before the exit."""
    c = Floor(TOP_C, down_to=BOUNDS[3])
    c.run(1, EXIT_COLUMN - 1)
    # 16. A shallow pit; a lift up a wall three tiles high over a shaft with no bottom;
    # the shredder's floor.
    c.run(4, 5, -1)
    c.hole(10)
    c.hole(11)
    c.run(12, 14, 3)
    # 17. A raised stretch with a step, the Constructor on it; a second lift over a shaft
    # with no bottom, up a wall to a raised stretch whose step holds the Cyclone core.
    c.run(20, 27, 1)
    c.run(23, 24, 2)
    c.hole(29)
    c.hole(30)
    c.run(31, 32, 3)
    c.run(33, 37, 1)
    c.run(35, 36, 2)
    # 18. A last gunner on a perch before the arena: its ledge ends keep it from following
    # the hero into the fight.
    c.run(39, 41, 1)
    # 19. Past the arena, a wall four tiles high before the exit: the SuperJump the fight
    # wins carries the hero over it.
    c.run(62, 63, 4)
    return c


def make():
    # The ground stands in front of what moves on or through it, as in the other levels.
    T, D = "MetalTiles", GROUND_DEPTH
    t, a, b, c = floor_t(), floor_a(), floor_b(), floor_c()
    floors = (t, a, b, c)
    cells = [cell for f in floors for cell in f.cells()]
    # The hall's walls: the left and right ones full height, the one that ends the two
    # middle floors from the top floor's ground down to the arena floor's ceiling.
    bottom_b = TOP_B + 64 + 2 * SIZE
    for y in range(0, BOUNDS[3] + SIZE, SIZE):
        cells.append((cx(0), y))
        cells.append((cx(EXIT_COLUMN), y))
    for y in range(TOP_T + 64 + 2 * SIZE, bottom_b, SIZE):
        cells.append((cx(RIGHT_END), y))
    cells = sorted(set(cells))
    ramps = [piece for f in floors for piece in f.ramp_pieces()]
    frames = autotile(cells, SIZE, BOUNDS, ramps=[(x, y) for x, y, _ in ramps])
    # Autotile's own pick of a plain look gives way to the steel's wider set.
    plain = {f: 0 for f in SURFACES} | {f: 1 for f in FILLS}
    frames = dress({at: plain.get(f, f) for at, f in frames.items()}, SIZE, steel_looks())
    tiles = [(T, x, y, frames[(x, y)], 0, D) for x, y in cells]
    tiles += [("MetalRamps", x, y, f, 0, D) for x, y, f in ramps]

    # The arena's two platforms stand 157 above the floor (standing height 2595) and are
    # thin, so that TigerA runs and charges underneath them.
    ledges = [("ArenaLedge", x, 2595, 0, 0, D) for x in (6144, 7168)]
    core = [("CoreGlow", mid(35), 2468, 0, 0, "1.0"), ("CorePiece", mid(35), 2468, 0, 0, "1.03")]
    # Each lift's highest stop is a little above the wall beside it, so the hero steps off
    # onto the wall's top with room for his head under the ceiling; it travels 256 either
    # side of where it is placed, so its lowest stop lies a tile down its shaft, and the
    # hero drops onto it from the floor beside.
    lifts = [("FactoryPlatform", mid(column), surface(floor.top, 3) - 24 + 256, 0, 0, "0")
             for column, floor in ((25, a), (10, c), (29, c))]
    # Six tires stand 240 high, above a held jump. A Stride launches every stack awake,
    # so the two stand far apart.
    tires = []
    for column, floor in ((59, t), (36, a)):
        for k in range(6):
            tires.append(("Tire", cx(column), floor.on(column, above=0) - 20 - 40 * k, 0, 0, "0"))
    orbs = [("OrbRotation", mid(48), surface(TOP_T, 2) - 100, 2, 0, "0"),
            ("OrbRotation", cx(30), surface(TOP_T, 2) - 100, 4, 0, "0"),
            ("OrbRotation", cx(28), surface(TOP_A, 3) - 80, 3, 0, "0"),
            ("OrbRotation", cx(40), surface(TOP_A, 3), 4, 0, "0"),
            ("OrbRotation", cx(34), surface(TOP_B, 2) - 100, 2, 0, "0"),
            ("OrbRotation", cx(10), surface(TOP_B, 3) - 40, 3, 0, "0"),
            ("OrbRotation", cx(13), surface(TOP_C, 3) - 80, 2, 0, "0"),
            ("OrbRotation", cx(40), surface(TOP_C, 1) - 100, 4, 0, "0")]

    # Power-ups last 600 frames from when they wake, so they lie on the way: one on the
    # third floor before the hanging shaft, one on the arena floor past the Constructor.
    powerups = [("Powerup", cx(14), surface(TOP_B, 0) - 16, 2, 0, "3.0"),
                ("Powerup", cx(28), surface(TOP_C, 0) - 16, 4, 0, "3.0")]

    enemies = [
        # The top floor
        ("Rat", cx(65), t.on(65), 1), ("Rat", cx(56), t.on(56), 1), ("Rat", cx(51), t.on(51), 1),
        ("Rat", cx(44), t.on(44), 1),
        ("Rat", cx(36), t.on(36), 1), ("TigerC", cx(18), t.on(18), 1), ("Rat", cx(12), t.on(12), 0),
        # The second floor
        ("TigerC", cx(9), a.on(9), 1), ("Rat", cx(17), a.on(17), 0),
        ("Rat", cx(31), a.on(31), 1), ("Rat", cx(33), a.on(33), 1),
        # The third floor
        ("TigerC", cx(34), b.on(34), 1),
        ("TigerC", cx(25), b.on(25), 1), ("Shredder", cx(16), b.on(16), 1),
        ("Rat", cx(7), b.on(7), 0), ("TigerC", cx(4), b.on(4), 0),
        # The arena floor; the Constructor at the far end of its stretch from the second
        # lift, so that a hero waiting there leaves it off the screen, not under the panel
        ("Shredder", cx(17), c.on(17), 0),
        ("Constructor", cx(21), c.on(21, above=38), 1), ("Rat", cx(33), c.on(33), 0),
        ("TigerC", cx(40), c.on(40), 1),
    ]
    checkpoints = [("TriggerCheckPoint", cx(57), t.on(57)),
                   ("TriggerCheckPoint", cx(24), t.on(24)),
                   ("TriggerCheckPoint", cx(3), a.on(3)),
                   ("TriggerCheckPoint", cx(41), a.on(41, height=2)),
                   ("TriggerCheckPoint", cx(30), b.on(30)),
                   ("TriggerCheckPoint", cx(22), b.on(22)),
                   ("TriggerCheckPoint", cx(2), c.on(2)),
                   ("TriggerCheckPoint", cx(28), c.on(28)),
                   ("TriggerCheckPoint", cx(43), c.on(43))]
    protos = ["MetalTiles 1 0 animations/tiles_metal.acd",
              "ArenaLedge 1 1 animations/factory_platform.acd",
              "TigerATrigger 1 1 animations/tigera_trigger.acd"]
    scenery = backdrop("factory", 2751, [("wall", 0, 0.05, 0), ("girders", -60, 0.2, 0.08),
                                         ("machines", -140 + 286, 0.4, 0.15)])
    start = (cx(67), t.on(67))
    return level(protos, ["music/factory.ogg", "music/tigera.ogg", "music/victory.ogg"],
                 scenery, BOUNDS, tiles + ledges + core + lifts + tires + orbs + powerups,
                 "ZodirazO %d %d 1" % start, enemies,
                 checkpoints + [("Tutorial",) + start, ("TigerATrigger", 5800, 2740)])
