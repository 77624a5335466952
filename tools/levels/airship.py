"""The airship: the deck where Kaje is fought."""
from levelkit import *  # noqa: F401,F403


def make():
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
