#!/usr/bin/env bash
# A deployment from end to end in a fresh Wine prefix with the Russian code
# pages (ANSI 1251, OEM 866): C:\windows\UPDKwetro\ holds the program under a
# Russian name, Кветро.exe, its own prepared Кветро.ini with a short "Timer",
# Kwetro.ini (which switches the removal on), Custom.reg and Cleanup.cmd. The
# program, started from another folder, counts down, writes the scripts into its
# own folder, registers the one-time start-up commands, deletes Kwetro.ini and
# removes itself: SelfDel.bat must spell its path in code page 866 for the
# command interpreter to find it. At the next logon (wineboot -r) the commands
# export the registry to RegAfter.reg, import the scripts and Custom.reg, run
# Cleanup.cmd and remove the folder.
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

require_file "$win64/Kwetro.exe"
require_file "$win64/kwetro-cli.exe"
work=$work_root/window_deploy
rm -rf "$work"
mkdir -p "$work/kept" "$work/locale"

# Wine takes its code pages from the locale, and its file names and command
# lines from the locale's character set: a Russian UTF-8 locale, built here so
# that the machine needs none installed.
[[ -f /usr/share/i18n/locales/ru_RU ]] || fail "the locale sources are missing: install the Debian package locales"
localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8" >/dev/null 2>&1 || true
[[ -d $work/locale/ru_RU.UTF-8 ]] || fail "localedef could not build ru_RU.UTF-8"
export LOCPATH=$work/locale
export LC_ALL=ru_RU.UTF-8 2>/dev/null

need_display
fresh_prefix "$work/prefix"
install_window_fonts

windir=$(wine cmd /c 'echo %WINDIR%' | tr -d '\r')
profiles=$(wine cmd /c 'echo %ALLUSERSPROFILE%' | tr -d '\r')
folder="$windir\\UPDKwetro"
deploy=$WINEPREFIX/drive_c/windows/UPDKwetro
after=$(winepath -u "$profiles\\RegAfter.reg")
marker=$(winepath -u "$profiles\\kwetro-cleanup.txt")
runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
mkdir -p "$deploy"
cp "$win64/Kwetro.exe" "$deploy/Кветро.exe"

# The selection as an administrator prepares it: an interactive Apply's
# settings file, with the countdown shortened.
printf '[sCheckBox_1_9]\r\nChecked=1\r\n\r\n[mCheckBox_1_12]\r\nChecked=1\r\n\r\n[pCheckBox_4_1]\r\nChecked=1\r\n\r\n' \
  >"$work/choice.ini"
(cd "$work" && wine "$win64/kwetro-cli.exe" settings --settings choice.ini --out prepared.ini) >/dev/null
sed 's/^Timer=30\r$/Timer=3\r/' "$work/prepared.ini" >"$deploy/Кветро.ini"
grep -q $'^Timer=3\r$' "$deploy/Кветро.ini" || fail "could not shorten the countdown in Кветро.ini"
cp "$deploy/Кветро.ini" "$deploy/Kwetro.ini"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\KwetroDeployCheck]\r\n"Custom"=dword:00000001\r\n\r\n' \
  >"$deploy/Custom.reg"
printf '@echo off\r\necho cleaned>"%%ALLUSERSPROFILE%%\\kwetro-cleanup.txt"\r\n' >"$deploy/Cleanup.cmd"

# --- the countdown run ------------------------------------------------------
start=$SECONDS
(cd "$work" && timeout 120 wine "$folder\\Кветро.exe") || fail "Кветро.exe did not end by itself"
[[ $((SECONDS - start)) -ge 3 ]] || fail "Кветро.exe ended before its countdown of 3 ticks"
echo "the countdown ended the program after $((SECONDS - start)) s"

for script in hkcu.reg hklm.reg; do
  [[ -f $deploy/$script ]] || fail "$script was not written into the deployment folder"
  cp "$deploy/$script" "$work/kept/"
done
[[ ! -e $work/hkcu.reg ]] || fail "the scripts went to the current folder, not the program's"
[[ ! -e $deploy/Kwetro.ini ]] || fail "Kwetro.ini was not deleted"

check_value() {
  local name=$1 expected=$2 actual
  actual=$(reg_value "$runonce" "$name")
  [[ $actual == "$expected" ]] || fail "RunOnce $name is [$actual], expected [$expected]"
}
check_value Reg_0 "REGEDIT /E \"$profiles\\RegAfter.reg\""
check_value Reg_1 "REGEDIT /S \"$folder\\hkcu.reg\""
check_value Reg_2 "REGEDIT /S \"$folder\\hklm.reg\""
check_value Reg_3 "REGEDIT /S \"$folder\\Custom.reg\""
check_value Reg_4 "\"$folder\\Cleanup.cmd\""
check_value Reg-Del 'CMD /C RD /S /Q %WINDIR%\UPDKwetro'
echo "the six start-up commands are registered"

wait_for 40 test ! -e "$deploy/Кветро.exe" ||
  fail "SelfDel.bat did not delete Кветро.exe: the path did not reach it in code page 866"
wait_for 20 test ! -e "$deploy/SelfDel.bat" || fail "SelfDel.bat did not delete itself"
echo "Кветро.exe and SelfDel.bat are gone"

# --- the next logon ---------------------------------------------------------
wine wineboot -r >/dev/null 2>&1 || true
wait_for 120 test ! -e "$deploy" || fail "the deployment folder was not removed at the next logon"
wait_for 60 test -s "$after" || fail "RegAfter.reg was not exported"
[[ -f $marker ]] || fail "Cleanup.cmd did not run"
[[ $(reg_value 'HKCU\Software\KwetroDeployCheck' Custom) == 0x1 ]] || fail "Custom.reg was not imported"
for name in Reg_0 Reg_1 Reg_2 Reg_3 Reg_4 Reg-Del; do
  [[ -z $(reg_value "$runonce" "$name") ]] || fail "RunOnce $name is still there after the logon"
done

# The registry now holds what the two scripts say.
: >"$work/kept/no-output.txt"
exports=()
for key in HKEY_CURRENT_USER HKEY_LOCAL_MACHINE HKEY_USERS; do
  wine regedit /E "$(winepath -w "$work/kept/export-$key.reg")" "$key" >/dev/null 2>&1
  exports+=(--export "$work/kept/export-$key.reg")
done
printf 'registry after the logon: '
perl "$here/reg_import_check.pl" \
  --import "$work/kept/hklm.reg=$work/kept/no-output.txt" \
  --import "$work/kept/hkcu.reg=$work/kept/no-output.txt" "${exports[@]}"
echo "deployment done: settings imported, RegAfter.reg exported, folder removed"
