"""The factory: metal floors to TigerA's arena."""
from levelkit import *  # noqa: F401,F403


def make():
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
