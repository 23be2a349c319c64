#!/usr/bin/env bash
# A deployed copy whose file name is Russian, under Wine with the Russian code
# pages (ANSI 1251, OEM 866): SelfDel.bat must spell the program's path in
# code page 866 for the command interpreter to find and delete it. The
# program reads its own Кветро.ini; Kwetro.ini beside it switches the removal
# on.
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

require_file "$win64/Kwetro.exe"
work=$work_root/window_cyrillic_path
rm -rf "$work"
mkdir -p "$work"
# Wine takes its code pages from the locale, and its file names and command
# lines from the locale's character set: a Russian UTF-8 locale, built here so
# that the machine needs none installed.
[[ -f /usr/share/i18n/locales/ru_RU ]] || fail "the locale sources are missing: install the Debian package locales"
mkdir -p "$work/locale"
localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8" >/dev/null 2>&1 || true
[[ -d $work/locale/ru_RU.UTF-8 ]] || fail "localedef could not build ru_RU.UTF-8"
export LOCPATH=$work/locale
export LC_ALL=ru_RU.UTF-8 2>/dev/null

need_display
fresh_prefix "$work/prefix"
install_window_fonts

deploy=$WINEPREFIX/drive_c/windows/UPDKwetro
mkdir -p "$deploy"
cp "$win64/Kwetro.exe" "$deploy/Кветро.exe"
printf '[Start]\r\nTimer=2\r\n\r\n' >"$deploy/Кветро.ini"
printf '[Start]\r\nTimer=2\r\n\r\n' >"$deploy/Kwetro.ini"

(cd "$work" && timeout 120 wine 'C:\windows\UPDKwetro\Кветро.exe') || fail "the program did not end by itself"
[[ ! -e $deploy/Kwetro.ini ]] || fail "Kwetro.ini was not deleted"
wait_for 40 test ! -e "$deploy/Кветро.exe" ||
  fail "SelfDel.bat did not delete Кветро.exe: the path did not reach it in code page 866"
wait_for 20 test ! -e "$deploy/SelfDel.bat" || fail "SelfDel.bat did not delete itself"
echo "Кветро.exe removed by SelfDel.bat"
