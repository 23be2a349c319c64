#!/usr/bin/env bash
# Builds the native tree with AddressSanitizer and UndefinedBehaviorSanitizer
# in build/asan and runs the whole native test suite there. Any sanitizer
# report aborts the test binary, so it fails the run.
#
# Installs nothing: scripts/install-deps.sh brings clang. Falls back to g++
# when clang++ is missing (KWETRO_SAN_CXX overrides the choice).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KWETRO_ASAN_BUILD:-$root/build/asan}"
jobs="${KWETRO_JOBS:-2}"
start=$SECONDS

cxx="${KWETRO_SAN_CXX:-}"
if [[ -z "$cxx" ]]; then
  if command -v clang++ >/dev/null; then
    cxx=clang++
  elif command -v g++ >/dev/null; then
    cxx=g++
  else
    echo "test-sanitizers: neither clang++ nor g++ found; run scripts/install-deps.sh" >&2
    exit 1
  fi
fi

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  >"$build.configure.log" 2>&1 || { cat "$build.configure.log" >&2; exit 1; }
cmake --build "$build" -j "$jobs" >"$build.build.log" 2>&1 || {
  tail -n 60 "$build.build.log" >&2
  echo "test-sanitizers: build failed (full log: $build.build.log)" >&2
  exit 1
}

# detect_leaks: a leak is a fault like any other; halt_on_error makes every
# report fatal; the symbolizer gives readable stacks where it is installed.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
(cd "$build" && ctest --output-on-failure -j "$jobs") || status=$?

echo "test-sanitizers: compiler $cxx, $((SECONDS - start)) s, $([[ $status == 0 ]] && echo passed || echo FAILED)"
exit "$status"
