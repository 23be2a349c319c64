#!/usr/bin/env bash
# Writes docs/options.md, the reference of every control, from the control
# table: `kwetro-cli list --format markdown` of the built-in selection. The
# native tests fail while the file differs from what this writes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/native
[[ -f $build/CMakeCache.txt ]] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKWETRO_TESTS=OFF >/dev/null
cmake --build "$build" -j "${KWETRO_JOBS:-2}" --target kwetro-cli >/dev/null
"$build/kwetro-cli" list --format markdown >docs/options.md.tmp
mv docs/options.md.tmp docs/options.md
echo "docs/options.md: $(grep -c '^| `' docs/options.md) controls"
