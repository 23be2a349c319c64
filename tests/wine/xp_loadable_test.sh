#!/usr/bin/env bash
# xp_loadable.sh must reject what would not load on Windows XP. It is run on
# small programs built here: one that XP loads, and ones with a post-XP import,
# a mingw runtime DLL, and a Vista subsystem version.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/good64" "$work/good32" "$work/bad64" "$work/bad32"

# shellcheck disable=SC2054  # the commas belong to the linker option
xp_flags=(-static -s -Wl,--major-subsystem-version,5,--minor-subsystem-version,1)
# An exception needs the runtime, linked in or as a DLL.
echo 'int main(int argc, char**) { try { if (argc > 3) throw 1; } catch (...) { return 1; } }' \
  >"$work/plain.cpp"
printf '#include <windows.h>\nint main() { SRWLOCK l; InitializeSRWLock(&l); return GetTickCount64() & 1; }\n' \
  >"$work/vista.cpp"
x86_64-w64-mingw32-g++-win32 "${xp_flags[@]}" "$work/plain.cpp" -o "$work/good64/plain.exe"
i686-w64-mingw32-g++-win32 "${xp_flags[@]}" "$work/plain.cpp" -o "$work/good32/plain.exe"
x86_64-w64-mingw32-g++-win32 "${xp_flags[@]}" -D_WIN32_WINNT=0x0600 "$work/vista.cpp" \
  -o "$work/bad64/vista.exe"
i686-w64-mingw32-g++-win32 -shared-libgcc -Wl,--major-subsystem-version,6,--minor-subsystem-version,0 \
  "$work/plain.cpp" -o "$work/bad32/runtime_dll.exe"

failures=0
# check NAME WIN64 WIN32 pass|"text the report must contain"...
check() {
  local name=$1 win64=$2 win32=$3 status=0 result want ok=1
  shift 3
  result=$(KWETRO_WIN64=$win64 KWETRO_WIN32=$win32 "$here/xp_loadable.sh" 2>&1) || status=$?
  [[ $status -eq $([[ $1 == pass ]] && echo 0 || echo 1) ]] || ok=0
  for want in "$@"; do [[ $want == pass || $result == *"$want"* ]] || ok=0; done
  if [[ $ok == 1 ]]; then
    echo "ok: $name"
  else
    echo "FAILED: $name (exit $status)"
    sed 's/^/    /' <<<"$result"
    failures=$((failures + 1))
  fi
}

check "a static program with XP's subsystem version" "$work/good64" "$work/good32" pass
check "imports Vista added" "$work/bad64" "$work/good32" \
  "kernel32.dll!GetTickCount64, which Windows XP lacks" \
  "kernel32.dll!InitializeSRWLock, which Windows XP lacks"
check "the mingw runtime as DLLs, Vista's subsystem version" "$work/good64" "$work/bad32" \
  "imports libgcc_s_dw2-1.dll, which is not a Windows XP system DLL" \
  "subsystem version 6.0, XP needs 5.01"
check "no programs at all" "$work/empty" "$work/good32" "no programs in"

exit $((failures > 0))
