#!/usr/bin/env bash
# Non-blank lines of code (C++, shell, Perl, CMake, the build scripts) under
# tests/ and fuzz/ against the rest of the repository; data (golden files,
# tables of cases, fuzz seeds, the layout, docs) counts on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."
code_files() { git ls-files | grep -E '(\.(cpp|h|sh|pl|cmake)|CMakeLists\.txt|^run|^test|^\.ci/run)$'; }
count() { if [[ $# -gt 0 ]]; then grep -cv '^[[:space:]]*$' "$@" | awk -F: '{ s += $NF } END { print s + 0 }'; else echo 0; fi; }
mapfile -t tests < <(code_files | grep -E '^(tests|fuzz)/')
mapfile -t code < <(code_files | grep -vE '^(tests|fuzz)/')
t=$(count "${tests[@]}") c=$(count "${code[@]}")
echo "tests and fuzz: $t lines in ${#tests[@]} files"
echo "the rest:       $c lines in ${#code[@]} files"
echo "ratio:          $(awk -v t="$t" -v c="$c" 'BEGIN { printf "%.0f%%", 100 * t / c }')"
