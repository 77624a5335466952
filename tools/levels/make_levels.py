#!/usr/bin/env python3
"""Writes the three playable level files from the layouts below; the output is the
same on every run. Usage: make_levels.py <assets/game folder>."""
import sys

# The junkyard's ground and the airship's deck are drawn in front of everything that moves
# on or through them, so what passes into them disappears: the hero and the enemies, the
# Grindlenaut and its parts, the scrap it throws (1.015), Kaje's shield and dropped power-ups
# (3.0), Kaje's rockets (3.9). Flashes, shots and debris (4.0 and up) stay in front.
GROUND_DEPTH = "3.95"
# The tiles the junkyard's end explosion opens stay behind the WallJump core (1.02) that
# appears where they meet, yet in front of the scrap.
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


def autotile(cells, size, bounds, steps=False):
    """The frame of every tile centred at a point of `cells`, from which of its sides lie
    open. Beyond the level's bounds counts as solid ground, so the outer walls show their
    faces inwards."""
    half = size // 2
    x_lo, y_lo, x_hi, _ = bounds

    def solid(px, py):
        if (x_lo != -1 and px < x_lo) or (x_hi != -1 and px > x_hi) or (y_lo != -1 and py < y_lo):
            return True
        return any(abs(px - cx) < half and abs(py - cy) < half for cx, cy in cells)

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
    above the ground while the hero climbs and drops."""
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


def junkyard():
    # 256-pixel scrap tiles, origin at the centre. The floor's surface is y 896 almost
    # everywhere; the approach to the arena stands 256 higher, so the hero drops into the
    # arena and the boss meets a wall at its left end. The barrier at x 16000-16512 is the
    # arena's right wall until the explosion opens it.
    T = "JunkyardGround"
    bounds = (0, 0, 17536, 1700)
    opened = {(16128, 768), (16384, 768), (16128, 1024), (16384, 1024)}
    cells = []

    def put(x, y):
        cells.append((x, y))

    for i in range(0, 69):
        x = 256 * i
        if 21 <= i <= 26:
            # A dip with a Rummager, stepped down and up by half tiles.
            if i in (21, 26):
                put(x, 896)
        elif 6 <= i <= 57:
            # The raised middle stretch, x 1408 to 14720.
            put(x, 768)
        put(x, 1024)
        put(x, 1280)
        put(x, 1536)
    put(1280, 896)  # a half step up onto the raised stretch
    # Walls: the start, the end of the level, and the barrier (walls above its floor).
    for y in (768, 512, 256, 0):
        put(0, y)
        put(17408, y)
    put(16128, 768)
    put(16384, 768)
    for y in (512, 256, 0):
        put(16128, y)
        put(16384, y)
    frames = autotile(cells, 256, bounds, steps=True)
    tiles = [(T, x, y, frames[(x, y)], 0, OPENED_DEPTH if (x, y) in opened else GROUND_DEPTH)
             for x, y in cells]
    # The Stride core lies on the start flat, before the tire stack on the raised stretch
    # that only a Stride clears: six tires stand 240 high, above a held jump.
    tiles.append(("CoreGlow", 900, 850, 0, 0, "1.0"))
    tiles.append(("CorePiece", 900, 850, 0, 0, "1.01"))
    for k in range(6):
        tiles.append(("Tire", 2100, 620 - 40 * k, 0, 0, "0"))
    enemies = [("Rat", 2600, 639, 0), ("Rat", 4200, 639, 1), ("Rummager", 6000, 895, 0),
               ("Rat", 8800, 639, 0), ("Rummager", 11000, 639, 1), ("Rat", 13000, 639, 0)]
    protos = ["JunkyardGround 1 0 animations/junkyard_ground.acd",
              "JunkyardTile0 1 0 animations/junkyard_debris.acd",
              "GrindlenautTrigger 1 1 animations/grindlenaut_trigger.acd"]
    scenery = backdrop("junkyard", 895, [("sky", 0, 0.02, 0), ("hills", -170 + 142, 0.1, 0.04),
                                         ("heaps", -90 + 250, 0.3, 0.1)])
    return level(protos, ["music/junkyard.ogg", "music/grindlenaut.ogg", "music/victory.ogg"],
                 scenery, bounds, tiles,
                 "ZodirazO 400 895 0", enemies,
                 [("GrindlenautTrigger", 14900, 880), ("Tutorial", 400, 880)])


def factory():
    # 128-pixel metal tiles, origin at the centre; floor surface y 2752. The way to the
    # arena: a shallow pit, two raised stretches with a step on each, and the Cyclone core
    # on the second step.
    T, D = "MetalTiles", "-0.5"
    bounds = (0, 1800, 9088, 3200)
    cells = []

    def put(x, y):
        cells.append((x, y))

    for i in range(0, 71):
        x = 64 + 128 * i
        raised = 16 <= i <= 24 or 32 <= i <= 37
        pit = 7 <= i <= 8
        if raised:
            put(x, 2688)
        if i in (20, 21, 34, 35):
            put(x, 2560)
        if not pit:
            put(x, 2816)
        put(x, 2944)
    for y in range(2688, 1800, -128):
        put(64, y)
        put(9024, y)
    frames = autotile(cells, 128, bounds)
    tiles = [(T, x, y, frames[(x, y)], 0, D) for x, y in cells]
    # The arena's two platforms stand 157 above the floor (standing height 2595) and are
    # thin, so that TigerA runs and charges underneath them.
    ledges = [("ArenaLedge", x, 2595, 0, 0, D) for x in (6144, 7168)]
    core = [("CoreGlow", 4480, 2468, 0, 0, "1.0"), ("CorePiece", 4480, 2468, 0, 0, "1.03")]
    enemies = [("Rat", 1500, 2751, 0), ("Rat", 2600, 2623, 1), ("Rat", 3600, 2751, 0),
               ("Rat", 4700, 2623, 1)]
    protos = ["MetalTiles 1 0 animations/tiles_metal.acd",
              "ArenaLedge 1 1 animations/factory_platform.acd",
              "TigerATrigger 1 1 animations/tigera_trigger.acd"]
    scenery = backdrop("factory", 2751, [("wall", -20, 0.05, 0.02), ("girders", -60, 0.2, 0.08),
                                         ("machines", -140 + 286, 0.4, 0.15)])
    return level(protos, ["music/factory.ogg", "music/tigera.ogg", "music/victory.ogg"],
                 scenery, bounds, tiles + ledges + core,
                 "ZodirazO 300 2751 0", enemies,
                 [("Tutorial", 300, 2751), ("TigerATrigger", 5800, 2740)])


def airship():
    # Deck tiles, origin top-left, surface y 4000: frame 0 deck, 1 the stage-one turn
    # marker, 2 wall, 3 to 6 the hull below the deck. Kaje turns on any deck frame but 0, so
    # the deck's other looks are prototypes of their own, each at frame 0.
    T, D = "AirshipDeck", GROUND_DEPTH
    decks = ("AirshipDeck", "AirshipDeckB", "AirshipDeckC")
    objects = []
    deck, hull = None, None
    for i in range(0, 37):
        x = 128 * i
        if i in (19, 35):
            objects.append((T, x, 4000, 1, 0, D))
        else:
            deck = variant(decks, x, 4000, (deck,))
            objects.append((deck, x, 4000, 0, 0, D))
        hull = variant((3, 4, 5, 6), x, 4128, (hull,))
        objects.append((T, x, 4128, hull, 0, D))
    for y in range(3872, 3000, -128):
        objects.append((T, 0, y, 2, 0, D))
        objects.append((T, 4608, y, 2, 0, D))
    # Kaje takes the crates in the order they joined the main list: left to right, as
    # the hero's run wakes them. Each claw hangs beside its crate's corner, on the side
    # where the hero waits, far enough out that a Cyclone beside the shield reaches it:
    # the hero arrives from the right; after each drop the camera holds the hero while
    # Kaje walks on to the next crate, past the hero, who so ends on its left.
    crates = (2550, 2850, 3150)
    for x in crates:
        objects.append(("AirshipCrate", x, 3790, 0, 0, "0"))
    enemies = [("AirshipClaw", x + (92 if i == 0 else -92), 3714, 0) for i, x in enumerate(crates)]
    # The trigger stands right of the crates: Kaje walks in from x 300 without meeting
    # the hero, and the deck under the waiting hero stays within the camera's
    # wake window while the camera follows Kaje in.
    protos = ["AirshipDeckB 1 0 animations/airship_deck_b.acd",
              "AirshipDeckC 1 0 animations/airship_deck_c.acd"]
    scenery = backdrop("airship", 3999, [("sky", 0, 0.02, 0), ("far", -150 + 155, 0.08, 0.03),
                                         ("clouds", -60 + 129, 0.25, 0.08)])
    return level(protos, ["music/airship.ogg", "music/kaje.ogg", "music/kaje_final.ogg",
                          "music/finale.ogg"],
                 scenery, (0, 3000, 4736, 4400), objects, "ZodirazO 400 3999 0",
                 enemies, [("KajeTrigger", 3500, 3900), ("Tutorial", 400, 3900)])


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "assets/game"
    for name, make in (("junkyard", junkyard), ("factory", factory), ("airship", airship)):
        with open("%s/%s.lvl" % (folder, name), "w") as f:
            f.write(make())
