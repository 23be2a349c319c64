#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, and runs each for a bounded time:
#   settings_fuzz  settings-file bytes through RestoreSettings, both generators
#                  and a save, load, save (tests/support/checks.h)
#   layout_fuzz    window-layout bytes through the layout loader
#   undo_fuzz      any bytes as the backup of kwetro-cli undo, against a fixed
#                  script; the undo file must read back and name only keys
#                  the script touches
# Seeds: fuzz/corpus/<target>/, every earlier failure in
# fuzz/regressions/<target>/, for settings_fuzz the settings files of
# tests/golden, for layout_fuzz the window's layout itself. A failing input is
# left in build/fuzz/artifacts/<target>/; copy it into
# fuzz/regressions/<target>/ and the robustness tests replay it from then on.
#
# Environment: KWETRO_FUZZ_SECONDS (default 30) per target, KWETRO_JOBS.
# Installs nothing: scripts/install-deps.sh brings clang and its runtimes.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KWETRO_FUZZ_BUILD:-$root/build/fuzz}"
seconds="${KWETRO_FUZZ_SECONDS:-30}"
jobs="${KWETRO_JOBS:-2}"
start=$SECONDS

if ! command -v clang++ >/dev/null; then
  echo "test-fuzz: clang++ not found; run scripts/install-deps.sh (packages clang, libclang-rt-14-dev)" >&2
  exit 1
fi
mkdir -p "$build"
probe="$build/probe"
if ! printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' |
     clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o "$probe" 2>"$probe.log"; then
  cat "$probe.log" >&2
  echo "test-fuzz: clang++ cannot link a libFuzzer target; install libclang-rt-14-dev" >&2
  exit 1
fi

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DKWETRO_TESTS=OFF -DKWETRO_FUZZ=ON >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log" >&2; exit 1; }
cmake --build "$build" -j "$jobs" --target settings_fuzz layout_fuzz undo_fuzz >"$build.build.log" 2>&1 || {
  tail -n 60 "$build.build.log" >&2
  echo "test-fuzz: build failed (full log: $build.build.log)" >&2
  exit 1
}
built=$((SECONDS - start))

# A smaller quarantine keeps the runs fast; use-after-free is still caught
# within the last 32 MB freed.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=32"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
summary=()
for target in settings_fuzz layout_fuzz undo_fuzz; do
  name=${target%_fuzz}
  work="$build/work/$name"
  artifacts="$build/artifacts/$name/"
  rm -rf "$work"
  mkdir -p "$work" "$artifacts"
  seeds=()
  for dir in "$root/fuzz/corpus/$name" "$root/fuzz/regressions/$name"; do
    [[ -d $dir ]] && seeds+=("$dir")
  done
  max_len=65536
  if [[ $name == layout ]]; then
    cp "$root/ui/kwetro.form" "$work/kwetro.form"
    max_len=262144
  elif [[ $name == settings ]]; then
    for golden in "$root"/tests/golden/*/selection.ini; do
      cp "$golden" "$work/$(basename "$(dirname "$golden")").ini"
    done
  fi
  log="$build/$name.log"
  result=0
  "$build/fuzz/$target" "$work" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -max_len="$max_len" -timeout=20 -artifact_prefix="$artifacts" -print_final_stats=1 \
    >"$log" 2>&1 || result=$?
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | grep -oE '[0-9]+' || echo '?')
  if [[ $result -ne 0 ]]; then
    status=1
    grep -E 'ERROR|runtime error|_fuzz:|SUMMARY|Test unit written' "$log" | head -n 20 >&2 || true
    summary+=("$target: FAILED after $runs runs (log $log; input in $artifacts)")
  else
    summary+=("$target: $runs runs in ${seconds} s, coverage $cov edges, no failure")
  fi
done

echo "test-fuzz: built in ${built} s, fuzzed for $((SECONDS - start - built)) s"
printf '  %s\n' "${summary[@]}"
exit "$status"
