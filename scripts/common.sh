# Shared set-up for the play and test commands: install what is missing, configure, build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# clang with its sanitizer and libFuzzer runtimes and llvm-symbolizer build and run the
# test command's second tree.
PACKAGES=(g++ clang libclang-rt-14-dev llvm cmake ninja-build pkg-config libgtest-dev
  libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libpng-dev zlib1g-dev libfontconfig-dev
  libcairo2-dev libvorbis-dev fonts-dejavu-core fonts-liberation fonts-urw-base35)

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # Set through env, after sudo: sudo clears the caller's environment.
    local apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
    [ "$(id -u)" -eq 0 ] || apt=(sudo "${apt[@]}")
    "${apt[@]}" update -qq
    "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# build_tree DIR [cmake options...] [--target TARGET...]: configures DIR, then builds the
# targets given, or everything.
build_tree() {
  local dir="$1"; shift
  local options=() targets=()
  while [ $# -gt 0 ]; do
    if [ "$1" = --target ]; then
      shift
      targets=(--target "$@")
      break
    fi
    options+=("$1")
    shift
  done
  cmake -S "$ROOT" -B "$dir" -G Ninja "${options[@]}" >/dev/null &&
    cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
}
