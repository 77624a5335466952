"""The junkyard: scrap heaps to the Grindlenaut's arena, and out past its barrier."""
from levelkit import *  # noqa: F401,F403


def make():
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
