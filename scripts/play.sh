#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (and nothing else of the tree:
# no tests, benchmarks or autopilot), and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo --target vantrel gamedata
cd "$ROOT/build/game"
exec ./vantrel "$@"
