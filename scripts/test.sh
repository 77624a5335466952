#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole suite twice: a normal
# build, and one under AddressSanitizer and UndefinedBehaviorSanitizer.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
jobs="$(nproc)"
status=0

run_suite() {
  local name="$1" dir="$2"; shift 2
  echo "== $name build"
  build_tree "$dir" "$@"
  echo "== $name tests"
  if ! (cd "$dir" && ctest --output-on-failure --parallel "$jobs" --timeout 600); then
    status=1
  fi
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite normal "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite sanitized "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_BENCH=OFF

if [ $status -eq 0 ]; then echo "All test suites passed."; else echo "Some tests FAILED."; fi
exit $status
