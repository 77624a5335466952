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


def level(prototypes, music, backdrop, bounds, objects, player, enemies, triggers):
    out = [str(len(prototypes))] + prototypes
    out.append("0 %d %s" % (len(music), " ".join("%s order" % m for m in music)))
    out += ["1", "animations/%s.acd 0 0 0 0 0 0 0 0" % backdrop, "0", "0", "0"]
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
    opened = {(16128, 768), (16384, 768), (16128, 1024), (16384, 1024)}
    tiles = []

    def put(x, y, frame):
        tiles.append((T, x, y, frame, 0, OPENED_DEPTH if (x, y) in opened else GROUND_DEPTH))

    for i in range(0, 69):
        x = 256 * i
        if 21 <= i <= 26:
            # A dip with a Rummager, stepped down and up by half tiles.
            if i in (21, 26):
                put(x, 896, 0)
        elif 6 <= i <= 57:
            # The raised middle stretch, x 1408 to 14720.
            put(x, 768, 13 if i == 6 else 12 if i == 57 else 0)
        put(x, 1024, 0 if not (6 <= i <= 57) or 21 <= i <= 26 else 1)
        put(x, 1280, 1)
        put(x, 1536, 7)
    put(1280, 896, 0)  # a half step up onto the raised stretch
    # Walls: the start, the end of the level, and the barrier (walls above its floor).
    for y in (768, 512, 256, 0):
        put(0, y, 16)
        put(17408, y, 17)
    put(16128, 768, 16)
    put(16384, 768, 17)
    for y in (512, 256, 0):
        put(16128, y, 1)
        put(16384, y, 1)
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
    return level(protos, ["music/junkyard.ogg", "music/grindlenaut.ogg", "music/victory.ogg"],
                 "backdrop_junkyard", (0, 0, 17536, 1700), tiles,
                 "ZodirazO 400 895 0", enemies,
                 [("GrindlenautTrigger", 14900, 880), ("Tutorial", 400, 880)])


def factory():
    # 128-pixel metal tiles, origin at the centre; floor surface y 2752. The way to the
    # arena: a shallow pit, two raised stretches with a step on each, and the Cyclone core
    # on the second step.
    T, D = "MetalTiles", "-0.5"
    tiles = []

    def put(x, y, frame):
        tiles.append((T, x, y, frame, 0, D))

    for i in range(0, 71):
        x = 64 + 128 * i
        raised = 16 <= i <= 24 or 32 <= i <= 37
        pit = 7 <= i <= 8
        if raised:
            put(x, 2688, 13 if i in (16, 32) else 12 if i in (24, 37) else 0)
        if i in (20, 21, 34, 35):
            put(x, 2560, 13 if i in (20, 34) else 12)
        if not pit:
            put(x, 2816, 1 if raised else (2 if i % 5 == 0 else 0))
        put(x, 2944, 0 if pit else 5 if i % 3 == 0 else 1)
    for y in range(2688, 1800, -128):
        put(64, y, 16)
        put(9024, y, 17)
    # The arena's two platforms stand 157 above the floor (standing height 2595) and are
    # thin, so that TigerA runs and charges underneath them.
    ledges = [("ArenaLedge", x, 2595, 0, 0, D) for x in (6144, 7168)]
    core = [("CoreGlow", 4480, 2468, 0, 0, "1.0"), ("CorePiece", 4480, 2468, 0, 0, "1.03")]
    enemies = [("Rat", 1500, 2751, 0), ("Rat", 2600, 2623, 1), ("Rat", 3600, 2751, 0),
               ("Rat", 4700, 2623, 1)]
    protos = ["MetalTiles 1 0 animations/tiles_metal.acd",
              "ArenaLedge 1 1 animations/factory_platform.acd",
              "TigerATrigger 1 1 animations/tigera_trigger.acd"]
    return level(protos, ["music/factory.ogg", "music/tigera.ogg", "music/victory.ogg"],
                 "backdrop_factory", (0, 1800, 9088, 3200), tiles + ledges + core,
                 "ZodirazO 300 2751 0", enemies,
                 [("Tutorial", 300, 2751), ("TigerATrigger", 5800, 2740)])


def airship():
    # Deck tiles, origin top-left, surface y 4000: frame 0 deck, 1 the stage-one turn
    # marker, 2 wall.
    T, D = "AirshipDeck", GROUND_DEPTH
    objects = []
    for i in range(0, 37):
        x = 128 * i
        objects.append((T, x, 4000, 1 if i in (19, 35) else 0, 0, D))
        objects.append((T, x, 4128, 0, 0, D))
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
    return level([], ["music/airship.ogg", "music/kaje.ogg", "music/kaje_final.ogg",
                       "music/finale.ogg"],
                 "backdrop_airship", (0, 3000, 4736, 4400), objects, "ZodirazO 400 3999 0",
                 enemies, [("KajeTrigger", 3500, 3900), ("Tutorial", 400, 3900)])


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "assets/game"
    for name, make in (("junkyard", junkyard), ("factory", factory), ("airship", airship)):
        with open("%s/%s.lvl" % (folder, name), "w") as f:
            f.write(make())
