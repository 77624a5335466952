#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_tree "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$ROOT/build/game"
exec ./vantrel "$@"
