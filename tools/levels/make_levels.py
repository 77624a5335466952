#!/usr/bin/env python3
"""Writes the three playable level files from their layouts (one module each beside this
one); the output is the same on every run. Usage: make_levels.py <assets/game folder>."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import airship  # noqa: E402
import factory  # noqa: E402
import junkyard  # noqa: E402

if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "assets/game"
    for name, layout in (("junkyard", junkyard), ("factory", factory), ("airship", airship)):
        with open("%s/%s.lvl" % (folder, name), "w") as f:
            f.write(layout.make())
