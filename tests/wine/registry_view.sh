#!/usr/bin/env bash
# Which registry the Windows programs reach under HKEY_LOCAL_MACHINE\Software
# (tests/win32/registry_view_test.cpp): the one REGEDIT and the logon use, for
# the i686 build under WOW64 too, where it would see the 32-bit copy.
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

exe=$windows/tests/kwetro-window-test.exe
needs "$exe"
shared_prefix "$work_root/registry_view-$KWETRO_WINE_ARCH/prefix"
# Into a file, not a pipe: the desktop process the first window program of a
# session starts holds a pipe open for some seconds after the test has ended.
log=$work_root/registry_view-$KWETRO_WINE_ARCH.log
mkdir -p "$work_root"
status=0
wine "$exe" --gtest_brief=1 --gtest_filter='RegistryView.*' >"$log" 2>&1 || status=$?
cat "$log"
[[ $status == 0 ]] || fail "the registry view's tests failed (exit $status)"
# A build without them selects none, and passes.
grep -qE 'PASSED  \] [1-9][0-9]* test' "$log" || fail "$exe has no test of the registry view"
