"""The junkyard: scrap heaps to the Grindlenaut's arena, and out past its barrier.

The way to the arena is a row of stages, left to right, each teaching or testing one of
the hero's moves and then mixing them: runs and jumps, ramps, half steps and short gaps,
the Stride core, tire stacks only a Stride clears, a lift out of the scrap pit, a robot
tiger's prowl and a crawlway under a low roof."""
from levelkit import *  # noqa: F401,F403

SIZE = 256
HALF = SIZE // 2
FLOOR = 896  # the surface at the start and in the arena
BOTTOM = 1664  # ground fills down to here, under the camera's lowest view
RAMPS = "JunkyardRamps"
# Ramp frames (levels.anim junkyard_ramps), named by the way they go for a hero running
# right: gentle low/high climbing right, gentle high/low climbing left, 45 degrees climbing
# right/left, steep climbing right/left (a steep face is a wall to climb: only for going down).
GENTLE_UP, GENTLE_DOWN, STEEP45_UP, STEEP45_DOWN, STEEP_UP, STEEP_DOWN = (0, 1), (2, 3), 4, 5, 6, 7


class Ground:
    """Ground laid left to right from a cursor: flats at a surface height, gaps, ramps. Tiles
    may stand on the half grid (128 px), so gaps and steps can be half a tile."""

    def __init__(self, x):
        self.x = x
        self.cells = []
        self.ramps = []  # (x, y, frame) of each ramp piece, centred

    def column(self, x, surface, down_to=BOTTOM):
        y = surface + HALF
        while y - HALF < down_to:
            self.cells.append((x, y))
            y += SIZE

    def flat(self, surface, width):
        """Ground with its top at `surface` from the cursor over `width` (a multiple of 128
        and at least a tile); an odd half tile is made by overlapping the last two tiles."""
        start = self.x
        x = start + HALF
        while x + HALF <= start + width:
            self.column(x, surface)
            x += SIZE
        if x - HALF < start + width:
            self.column(start + width - HALF, surface)
        self.x = start + width
        return start

    def column_above(self, x, bottom):
        """A mass of ground hanging from the top of the level down to `bottom`."""
        y = bottom - HALF
        while y + HALF > 0:
            self.cells.append((x, y))
            y -= SIZE

    def gap(self, width):
        start = self.x
        self.x += width
        return start

    def ramp(self, frames, low):
        """Ramp pieces, one tile each, over ground at the lower surface `low`; a gentle ramp
        rises a tile over two pieces, a 45-degree one over one."""
        frames = frames if isinstance(frames, tuple) else (frames,)
        start = self.flat(low, SIZE * len(frames))
        for k, frame in enumerate(frames):
            self.ramps.append((start + HALF + SIZE * k, low - HALF, frame))
        return start


def make():
    # 256-pixel scrap tiles, origin at the centre. The approach to the arena stands 256 above
    # the arena floor, so the hero drops in and the boss meets a wall at its left end. The
    # barrier at x 16000-16512 is the arena's right wall until the explosion opens it.
    T = "JunkyardGround"
    bounds = (0, 0, 17536, 1700)
    opened = {(16128, 768), (16384, 768), (16128, 1024), (16384, 1024)}
    g = Ground(-HALF)
    # Checkpoints are numbered in file order: listed as the player meets them.
    objects, enemies, checkpoints = [], [], []

    def orb(x, y):
        objects.append(("OrbRotation", x, y, 2, 0, "0"))

    def tires(x, surface, count):
        for k in range(count):
            objects.append(("Tire", x, surface - 20 - 40 * k, 0, 0, "0"))

    def powerup(x, surface, colour):
        # It falls to the floor and lasts a while once awake: a reward for the pace.
        objects.append(("Powerup", x, surface - 40, colour, 0, "3.0"))

    def rat(x, surface, facing_left=1):
        enemies.append(("Rat", x, surface - 1, facing_left))

    # 1. Outskirts: a flat start for running and jumping, a half step up, a rat to meet
    # the sword, and a short gap.
    g.flat(FLOOR, 768)
    step = g.flat(768, 768)
    rat(step + 500, 768)
    g.gap(128)
    g.flat(768, 384)

    # 2. The heap: a gentle ramp up to a high flat with an orb, down a 45-degree ramp and
    # over a second gap, a half step lower. Two rats.
    g.ramp(GENTLE_UP, 768)
    high = g.flat(512, 512)
    orb(high + 256, 400)
    rat(high + 400, 512)
    g.ramp(STEEP45_DOWN, 768)
    g.flat(768, 256)
    g.gap(128)
    landing = g.flat(FLOOR, 256)
    rat(landing + 200, FLOOR, 0)

    # 3. The hollow: a gentle ramp down to a Rummager, an orb and a power-up, a 45-degree
    # ramp out.
    g.ramp(GENTLE_DOWN, 1152)
    hollow = g.flat(1152, 512)
    enemies.append(("Rummager", hollow + 400, 1151, 1))
    orb(hollow + 200, 1040)
    powerup(hollow + 300, 1152, 2)
    g.ramp(STEEP45_UP, 1152)

    # 4. The yard: the Stride core on open ground, before anything needs it.
    yard = g.flat(FLOOR, 640)
    stride_core = (yard + 320, 850)
    checkpoints.append(("TriggerCheckPoint", yard + 560, FLOOR - 1))

    # 5. Two half steps up to a rat and an orb; a gentle ramp down into a dip with two
    # rats and an orb, and up again.
    g.flat(768, 256)
    top = g.flat(640, 384)
    rat(top + 300, 640)
    orb(top + 192, 530)
    g.ramp(GENTLE_DOWN, FLOOR)
    dip = g.flat(FLOOR, 384)
    rat(dip + 100, FLOOR, 0)
    rat(dip + 300, FLOOR)
    orb(dip + 200, 780)
    g.ramp(GENTLE_UP, FLOOR)

    # 6. The first tire stack, six tires and too tall to jump: Stride through it. A
    # checkpoint beyond, before the gaps.
    stack = g.flat(640, 640)
    tires(stack + 320, 640, 6)
    checkpoints.append(("TriggerCheckPoint", stack + 540, 639))

    # 7. Three gaps: a short one, one landing a half step up, and one too wide to jump that
    # a Stride flies across (at its speed it lands a tile lower). An orb on the perch; a
    # checkpoint and a rat beyond, before the pit and its lift.
    g.gap(128)
    g.flat(640, 384)
    g.gap(128)
    perch = g.flat(512, 384)
    orb(perch + 192, 400)
    g.gap(SIZE)
    after = g.flat(768, 512)
    checkpoints.append(("TriggerCheckPoint", after + 100, 767))
    rat(after + 380, 768)

    # 8. The scrap pit: down a steep ramp and a half step to a Rummager, a rat and a
    # power-up, whom the steep face keeps in, and out on a lift. The lift shuttles from a
    # little below the pit floor to a little below the ledge, so the hero can drop onto it
    # and jump off it for much of each trip, not just at its ends.
    g.ramp(STEEP_DOWN, 1024)
    pit = g.flat(1152, 768)
    enemies.append(("Rummager", pit + 550, 1151, 1))
    rat(pit + 250, 1152)
    powerup(pit + 400, 1152, 4)
    shaft = g.gap(SIZE)
    objects.append(("FactoryPlatform", shaft + HALF, 960, 0, 0, "0"))

    # 9. The crane: a ledge, then a second lift, rising above the high flat it serves,
    # where a robot tiger prowls; two orbs; a 45-degree ramp down to the crawlway.
    g.flat(640, 384)
    crane = g.gap(SIZE)
    objects.append(("FactoryPlatform", crane + HALF, 448, 0, 0, "0"))
    prowl = g.flat(384, 512)
    enemies.append(("TigerE", prowl + 400, 383, 0))
    orb(prowl + 150, 264)
    orb(prowl + 450, 264)
    g.ramp(STEEP45_DOWN, 640)

    # 10. The crawlway: a roof too low to jump under, three tires beneath it that only a
    # Stride gets through; an orb and a rat under the roof past them.
    crawl = g.flat(640, 768)
    for x in (crawl + HALF, crawl + SIZE + HALF, crawl + 2 * SIZE + HALF):
        g.column_above(x, 480)
    tires(crawl + 300, 640, 3)
    orb(crawl + 520, 600)  # low enough to take at a run under the roof
    rat(crawl + 680, 640)

    # 11. The run-in: a rat and the second robot tiger, a half step up and a last gap,
    # then the last checkpoint with an orb on the ledge above the arena.
    run_in = g.flat(640, 384)
    rat(run_in + 150, 640)
    enemies.append(("TigerE", run_in + 330, 639, 1))
    g.flat(512, 256)
    g.gap(128)
    approach = g.flat(640, 14720 - g.x)
    checkpoints.append(("TriggerCheckPoint", approach + 80, 639))
    orb(approach + 180, 540)

    # The arena: its floor, the barrier and the way out.
    cells = g.cells
    cells += [(x, y) for x in range(14848, 17409, SIZE) for y in (1024, 1280, 1536)
              if x not in (16128, 16384)]
    for x in (16128, 16384):
        cells += [(x, y) for y in (0, 256, 512, 768, 1024, 1280, 1536)]
    # Walls at the start and the end of the level.
    for y in (768, 512, 256, 0):
        cells.append((0, y))
        cells.append((17408, y))
    ramp_centres = [(x, y) for x, y, _ in g.ramps]
    frames = autotile(cells, SIZE, bounds, steps=True, ramps=ramp_centres)
    # The arena's faces above its floor: the approach's last column and the barrier.
    faces = {(x, y) for x, y in cells if x in (14720 - HALF, 16128, 16384) and FLOOR - SIZE < y < FLOOR}

    def depth(x, y):
        return ARENA_FACE_DEPTH if (x, y) in faces else OPENED_DEPTH if (x, y) in opened else GROUND_DEPTH

    tiles = [(T, x, y, frames[(x, y)], 0, depth(x, y)) for x, y in cells]
    tiles += [(RAMPS, x, y, frame, 0, GROUND_DEPTH) for x, y, frame in g.ramps]
    tiles.append(("CoreGlow", stride_core[0], stride_core[1], 0, 0, "1.0"))
    tiles.append(("CorePiece", stride_core[0], stride_core[1], 0, 0, "1.01"))
    protos = ["JunkyardGround 1 0 animations/junkyard_ground.acd",
              "JunkyardRamps 1 0 animations/junkyard_ramps.acd",
              "JunkyardTile0 1 0 animations/junkyard_debris.acd",
              "GrindlenautTrigger 1 1 animations/grindlenaut_trigger.acd"]
    scenery = backdrop("junkyard", 895, [("sky", 0, 0.02, 0), ("hills", -170 + 142, 0.1, 0.04),
                                         ("heaps", -90 + 250, 0.3, 0.1)])
    triggers = [("Tutorial", 400, 880)] + checkpoints + [("GrindlenautTrigger", 14900, 880)]
    return level(protos, ["music/junkyard.ogg", "music/grindlenaut.ogg", "music/victory.ogg"],
                 scenery, bounds, tiles + objects,
                 "ZodirazO 400 895 0", enemies, triggers)
