#!/usr/bin/env bash
# Installs what is missing, then builds and tests two trees, warnings as errors in both:
#   release  g++, Release (assertions stay on), the whole suite, then every benchmark
#            once for a moment per case (a benchmark that stops or reports an error fails);
#   clang    clang, Debug under AddressSanitizer and UndefinedBehaviorSanitizer, the whole
#            suite, then every fuzz target for a short bounded time. It is optimised at -O1
#            (as the sanitizers advise): the headless frame tests draw every pixel in our
#            own code, which at -O0 under the sanitizers runs far too slowly.
# FUZZ_SECONDS sets the time per fuzz target (default 15; 0 skips fuzzing).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
# From here a failing step is noted and the run goes on to its summary.
set +e
jobs="$(nproc)"
fuzz_seconds="${FUZZ_SECONDS:-15}"
results=()
status=0
start=$SECONDS

note() {  # note OK|FAILED text
  results+=("$1  $2")
  [ "$1" = OK ] || status=1
}

run_suite() {
  local name="$1" dir="$2"; shift 2
  echo "== $name: build"
  if ! build_tree "$dir" -DVANTREL_WERROR=ON "$@"; then
    note FAILED "$name build"
    return 1
  fi
  echo "== $name: tests"
  if (cd "$dir" && ctest --output-on-failure --parallel "$jobs" --timeout 600); then
    note OK "$name tests"
  else
    note FAILED "$name tests"
  fi
}

# run_benchmarks DIR: every benchmark program of the tree, each case for a moment, so a
# benchmark that no longer runs is found; the timings are not looked at. Logs stay in
# DIR/bench/logs.
run_benchmarks() {
  local dir="$1" programs=() failed=() program
  for program in "$dir"/bench/bench_*; do
    [ -f "$program" ] && [ -x "$program" ] && programs+=("$program")
  done
  if [ ${#programs[@]} -eq 0 ]; then
    note FAILED "benchmarks: none were built"
    return
  fi
  echo "== release: ${#programs[@]} benchmark programs, once each"
  mkdir -p "$dir/bench/logs"
  for program in "${programs[@]}"; do
    local name="${program##*/}"
    local log="$dir/bench/logs/$name.log"
    # A case that calls SkipWithError still exits 0; its report says so.
    if SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 300 \
        "$program" --benchmark_min_time=0.01 >"$log" 2>&1 &&
        ! grep -q 'ERROR OCCURRED' "$log"; then
      echo "OK      $name"
    else
      echo "FAILED  $name (log: $log)"
      tail -n 3 "$log"
      failed+=("$name")
    fi
  done
  if [ ${#failed[@]} -eq 0 ]; then
    note OK "benchmarks (${#programs[@]})"
  else
    note FAILED "benchmarks: ${failed[*]}"
  fi
}

# Seeds per fuzz target: files of the generated working folder (and tests/fuzz/seeds, and
# those the build makes from text in <tree>/tests/fuzz/seeds).
declare -A fuzz_seeds=(
  [acd]="animations/*.acd" [shape]="animations/*.acd" [d3danimation]="animations/*.acd"
  [collision_types]="clsntypes.ctt" [png]="animations/*.png" [level]="*.lvl"
  [gamelist]="Gold.vt" [spritelist]="SpriteList.vtsl" [soundlist]="Sounds.vtse"
  [ini]="data/*.ini" [flags]="data/*.ini" [recording]="" [rectext]="" [buttonmap]=""
  [tutorial]="data/tut*" [tuning]="data/ZodirazO.ini" [scores]="Scores.vths"
)
# Text readers that stop on bad data unwind through the reader (the target catches the
# stop); what such a stop leaves behind is not a leak the game can have.
declare -A fuzz_no_leaks=([level]=1 [gamelist]=1 [spritelist]=1 [soundlist]=1)

# fuzz_one DIR TARGET: runs one target; its log and any crashing input stay in DIR/fuzz.
fuzz_one() {
  local dir="$1" target="$2" out="$1/fuzz/$2"
  rm -rf "$out/seeds" "$out"/crash-* "$out"/leak-* "$out"/oom-* "$out"/timeout-*
  mkdir -p "$out/corpus" "$out/seeds"
  local pattern
  for pattern in ${fuzz_seeds[$target]}; do
    cp "$dir/game/"$pattern "$out/seeds/" 2>/dev/null || true
  done
  local seeds
  for seeds in "$ROOT/tests/fuzz/seeds/$target" "$dir/tests/fuzz/seeds/$target"; do
    [ -d "$seeds" ] && cp "$seeds/"* "$out/seeds/"
  done
  local leaks=1
  [ -n "${fuzz_no_leaks[$target]:-}" ] && leaks=0
  # A small quarantine keeps freed memory out of the 200 MB the target may use.
  if ASAN_OPTIONS="$ASAN_OPTIONS:quarantine_size_mb=16" \
      timeout $((fuzz_seconds + 120)) "$dir/tests/fuzz/fuzz_$target" \
      -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=200 -malloc_limit_mb=200 \
      -detect_leaks="$leaks" -artifact_prefix="$out/" \
      "$out/corpus" "$out/seeds" >"$out/log" 2>&1; then
    echo "OK      fuzz_$target"
  else
    echo "FAILED  fuzz_$target (log: $out/log)"
  fi
}

run_fuzz() {
  local dir="$1"
  [ "$fuzz_seconds" -gt 0 ] || return 0
  local targets=()
  for t in "${!fuzz_seeds[@]}"; do targets+=("$t"); done
  echo "== clang: fuzzing ${#targets[@]} readers, ${fuzz_seconds}s each, $jobs at a time"
  export ROOT fuzz_seconds
  export -f fuzz_one
  local report
  report="$(printf '%s\n' "${targets[@]}" | sort |
    xargs -P "$jobs" -I{} bash -c "$(declare -p fuzz_seeds fuzz_no_leaks); fuzz_one '$dir' {}")"
  echo "$report"
  local failed
  failed="$(grep -c '^FAILED' <<<"$report" || true)"
  if [ "$failed" -eq 0 ]; then
    note OK "fuzz targets (${#targets[@]})"
  else
    note FAILED "fuzz targets: $failed of ${#targets[@]} found a fault"
    # The first lines of each report, so this log alone says what was found.
    local target
    for target in $(grep '^FAILED' <<<"$report" | awk '{print $2}'); do
      echo "--- $target"
      grep -m4 -E 'ERROR|SUMMARY|runtime error|Assertion failed|Test unit written' \
        "$dir/fuzz/${target#fuzz_}/log" || tail -n 5 "$dir/fuzz/${target#fuzz_}/log"
    done
  fi
}

# compare_art A B: the pictures and sounds each tree generated must be the same bytes, or
# the two trees' tests and recorded playthroughs run against different art. A compiler may
# evaluate one call's arguments in either order, so a painter that draws two random numbers
# inside one call paints differently under g++ and clang; this is where that shows.
compare_art() {
  local a="$1/game" b="$2/game" sub differ=()
  for sub in animations sounds music; do
    if [ ! -d "$a/$sub" ] || [ ! -d "$b/$sub" ]; then
      note FAILED "art comparison: $sub missing from a working folder"
      return
    fi
    mapfile -t -O "${#differ[@]}" differ < <(diff -rq "$a/$sub" "$b/$sub" 2>&1)
  done
  if [ ${#differ[@]} -eq 0 ]; then
    note OK "art comparison: both trees generated the same animations and sounds"
  else
    echo "== art comparison: ${#differ[@]} differences between $a and $b"
    printf '%s\n' "${differ[@]}"
    # "Files A/x and B/x differ" names x; "Only in DIR: x" names x too.
    local line first=()
    for line in "${differ[@]:0:3}"; do
      line="${line#Files $a/}"
      line="${line%% and *}"
      first+=("${line#Only in }")
    done
    note FAILED "art comparison: ${#differ[@]} differences between the trees, first ${first[*]}"
  fi
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite release "$ROOT/build-release" -DCMAKE_BUILD_TYPE=Release &&
  run_benchmarks "$ROOT/build-release"
run_suite clang "$ROOT/build-clang" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" "-DCMAKE_C_FLAGS_DEBUG=-g -O1" \
  -DVANTREL_SANITIZE=ON -DVANTREL_FUZZ=ON -DVANTREL_BENCH=OFF &&
  run_fuzz "$ROOT/build-clang"
compare_art "$ROOT/build-release" "$ROOT/build-clang"

echo
echo "== Summary ($((SECONDS - start)) s)"
printf '%s\n' "${results[@]}"
if [ $status -eq 0 ]; then echo "All test suites passed."; else echo "Some tests FAILED."; fi
exit $status
