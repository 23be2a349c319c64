#!/usr/bin/env bash
# A deployment from end to end in a prefix with the Russian code pages: the
# countdown run from C:\windows\UPDKwetro\ as Кветро.exe, the next logon's
# start-up commands, then for every user (Active Setup, run by
# active_setup_run.exe since Wine runs none, and the hives of the profiles on
# the disk written by Kwetro.exe /profiles), each undone byte for byte.
set -euo pipefail
source "$(dirname "$0")/window_common.sh"

needs "$windows/Kwetro.exe" "$windows/kwetro-cli.exe"
work=$work_root/window_deploy-$KWETRO_WINE_ARCH
rm -rf "$work"
mkdir -p "$work/kept" "$work/locale"

# Wine takes its code pages and file names from the locale: built here.
[[ -f /usr/share/i18n/locales/ru_RU ]] || fail "the locale sources are missing: install the Debian package locales"
localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8" >/dev/null 2>&1 || true
[[ -d $work/locale/ru_RU.UTF-8 ]] || fail "localedef could not build ru_RU.UTF-8"
export LOCPATH=$work/locale
export LC_ALL=ru_RU.UTF-8 2>/dev/null

need_display
fresh_prefix "$work/prefix"
install_window_fonts

command -v "$KWETRO_WINDOWS_CXX" >/dev/null || fail "no $KWETRO_WINDOWS_CXX; run scripts/install-deps.sh"
for tool in active_setup_run hive_tool; do
  "$KWETRO_WINDOWS_CXX" -std=c++17 -O1 -static -municode -o "$work/$tool.exe" "$here/$tool.cpp"
done

windir=$(wine cmd /c 'echo %WINDIR%' | tr -d '\r')
profiles=$(wine cmd /c 'echo %ALLUSERSPROFILE%' | tr -d '\r')
folder="$windir\\UPDKwetro"
deploy=$WINEPREFIX/drive_c/windows/UPDKwetro
after=$(winepath -u "$profiles\\RegAfter.reg")
marker=$(winepath -u "$profiles\\kwetro-cleanup.txt")
kept=$(winepath -u "$profiles\\Kwetro")
runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
entry='SOFTWARE\Microsoft\Active Setup\Installed Components\Kwetro'
commands=(Reg_0 Reg_1 Reg_2 Reg_3 Reg_4 Reg-Del)

check_value() {
  local name=$1 expected=$2 actual
  actual=$(reg_value "$runonce" "$name")
  [[ $actual == "$expected" ]] || fail "RunOnce $name is [$actual], expected [$expected]"
}

# deploy SETTINGS: one deployment as an administrator prepares it, started
# from another folder; the scripts are copied to kept/.
deploy() {
  rm -rf "$work/kept"
  mkdir -p "$deploy" "$work/kept"
  cp "$windows/Kwetro.exe" "$deploy/Кветро.exe"
  sed 's/^Timer=30\r$/Timer=3\r/' "$1" >"$deploy/Кветро.ini"
  grep -q $'^Timer=3\r$' "$deploy/Кветро.ini" || fail "could not shorten the countdown in Кветро.ini"
  cp "$deploy/Кветро.ini" "$deploy/Kwetro.ini"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\KwetroDeployCheck]\r\n"Custom"=dword:00000001\r\n\r\n' \
    >"$deploy/Custom.reg"
  printf '@echo off\r\necho cleaned>"%%ALLUSERSPROFILE%%\\kwetro-cleanup.txt"\r\n' >"$deploy/Cleanup.cmd"

  local start=$SECONDS
  (cd "$work" && timeout 120 wine "$folder\\Кветро.exe") || fail "Кветро.exe did not end by itself"
  [[ $((SECONDS - start)) -ge 3 ]] || fail "Кветро.exe ended before its countdown of 3 ticks"

  for script in hkcu.reg hklm.reg; do
    [[ -f $deploy/$script ]] || fail "$script was not written into the deployment folder"
    cp "$deploy/$script" "$work/kept/"
  done
  [[ ! -e $work/hkcu.reg ]] || fail "the scripts went to the current folder, not the program's"
  [[ ! -e $deploy/Kwetro.ini ]] || fail "Kwetro.ini was not deleted"

  check_value Reg_0 "REGEDIT /E \"$profiles\\RegAfter.reg\""
  check_value Reg_1 "REGEDIT /S \"$folder\\hkcu.reg\""
  check_value Reg_2 "REGEDIT /S \"$folder\\hklm.reg\""
  check_value Reg_3 "REGEDIT /S \"$folder\\Custom.reg\""
  check_value Reg_4 "\"$folder\\Cleanup.cmd\""
  check_value Reg-Del 'CMD /C RD /S /Q %WINDIR%\UPDKwetro'

  wait_for 40 test ! -e "$deploy/Кветро.exe" ||
    fail "SelfDel.bat did not delete Кветро.exe: the path did not reach it in code page 866"
  wait_for 20 test ! -e "$deploy/SelfDel.bat" || fail "SelfDel.bat did not delete itself"
}

# The file is there and has not grown for a second.
settled() {
  local size
  size=$(stat -c %s "$1" 2>/dev/null) && sleep 1 && [[ $size -gt 0 && $(stat -c %s "$1") == "$size" ]]
}

kept_version() { sed -n '/^"Version"=/{s/^"Version"="\(.*\)"\r$/\1/p;q}' "$kept/activesetup.reg"; }

next_logon() {
  rm -f "$after" "$marker"
  wine wineboot -r >/dev/null 2>&1 || true
  wait_for 120 test ! -e "$deploy" || fail "the deployment folder was not removed at the next logon"
  # REGEDIT /E writes the export for some seconds: its size must hold still.
  wait_for 60 settled "$after" || fail "RegAfter.reg was not exported"
  [[ -f $marker ]] || fail "Cleanup.cmd did not run"
  for name in "${commands[@]}"; do
    [[ -z $(reg_value "$runonce" "$name") ]] || fail "RunOnce $name is still there after the logon"
  done
}

value_names() { wine reg query "$1" 2>/dev/null | tr -d '\r' | awk '$2 ~ /^REG_/ { print $1 }' | sort; }

export_key() {
  rm -f "$2"
  wine regedit /E "$(winepath -w "$2")" ${1:+"$1"} >/dev/null 2>&1
  [[ -s $2 ]] || fail "REGEDIT /E $1 wrote nothing"
}

# holds SCRIPT EXPORT [OUTPUT]: reg_import_check.pl.
holds() { perl "$here/reg_import_check.pl" --import "$1=${3:-/dev/null}" --export "$2"; }

# undone BACKUP SCRIPT KEY WHO: undo of SCRIPT gives KEY back as BACKUP.
undone() {
  (cd "$work/kept" && wine "$windows/kwetro-cli.exe" undo --backup "$(winepath -w "$1")" \
    "$(winepath -w "$2")") >/dev/null || fail "kwetro-cli undo refused the backup of $4"
  wine regedit /S "$(winepath -w "$work/kept/undo.reg")" >/dev/null 2>&1
  export_key "$3" "$work/kept/undone.reg"
  cmp -s "$1" "$work/kept/undone.reg" || fail "after undo $4 differs from its backup"
}

profile_list='HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList'
users=$(winepath -u 'C:\users')
second_sid=S-1-5-21-0-0-0-1001 broken_sid=S-1-5-21-0-0-0-1002 missing_sid=S-1-5-21-0-0-0-1003
missing_folder="$users/Без куста"
declare -A hive_folder=([Default User]="$users/Default User" [$second_sid]="$users/Иван Петров"
  [$broken_sid]="$users/Сломанный")

# The second hive has a Start-menu order and a Policies value, which the
# selection deletes and changes. Wine has no Default User: XP's is named.
prepare_profiles() {
  local who
  for who in "${!hive_folder[@]}"; do mkdir -p "${hive_folder[$who]}"; done
  wine "$work/hive_tool.exe" save default 'C:\users\Default User\NTUSER.DAT' ||
    fail "could not make the Default User's hive"
  wine "$work/hive_tool.exe" save current 'C:\users\Иван Петров\NTUSER.DAT' ||
    fail "could not make the second profile's hive"
  printf '%s\n' '' '[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs] 1700000000' \
    '"Order"=hex:08,00,00,00,02,00,00,00' '' '[Software\\Policies\\Microsoft\\Windows\\System\\Power] 1700000000' \
    '"PromptPasswordOnResume"=dword:00000000' >>"${hive_folder[$second_sid]}/NTUSER.DAT"
  echo 'это не куст реестра' >"${hive_folder[$broken_sid]}/NTUSER.DAT"
  mkdir -p "$missing_folder"
  wine reg add "$profile_list" /v DefaultUserProfile /d 'Default User' /f >/dev/null 2>&1 &&
    wine reg add "$profile_list\\$second_sid" /v ProfileImagePath /t REG_EXPAND_SZ \
      /d '%SystemDrive%\users\Иван Петров' /f >/dev/null 2>&1 &&
    wine reg add "$profile_list\\$broken_sid" /v ProfileImagePath /d 'C:\users\Сломанный' /f \
      >/dev/null 2>&1 &&
    wine reg add "$profile_list\\$missing_sid" /v ProfileImagePath /d 'C:\users\Без куста' /f \
      >/dev/null 2>&1 || fail "could not name the profiles in ProfileList"
  mkdir -p "$work/hives"
  for who in "${!hive_folder[@]}"; do cp "${hive_folder[$who]}/NTUSER.DAT" "$work/hives/$who.dat"; done
}

profiles_untouched() {
  local who
  for who in "${!hive_folder[@]}"; do
    cmp -s "$work/hives/$who.dat" "${hive_folder[$who]}/NTUSER.DAT" || fail "the hive of $who was changed"
    [[ ! -e ${hive_folder[$who]}/Kwetro-profile-backup.reg ]] || fail "$who has a backup of ours"
  done
  [[ $(ls -A "$missing_folder") == "" ]] || fail "a hive was made for the profile that had none"
}

# HKEY_USERS\KwetroProfile, where profiles.reg writes.
mount_hive() { wine "$work/hive_tool.exe" load KwetroProfile "$(winepath -w "$1")" || fail "could not load $1"; }
unmount_hive() { wine "$work/hive_tool.exe" unload KwetroProfile || fail "could not unload a hive"; }

check_profiles() {
  local log=$kept/profiles.log who hive backup
  wait_for 60 settled "$log" || fail "the administrator step wrote no profiles.log"
  sed $'1s/^\xEF\xBB\xBF//; s/^/  /' "$log"
  grep -q "^  Default User, C:\\\\users\\\\Default User\\\\NTUSER.DAT: записан; " "$log" &&
    grep -q "^  $second_sid, C:\\\\users\\\\Иван Петров\\\\NTUSER.DAT: записан; " "$log" &&
    grep -q "^  $broken_sid, C:\\\\users\\\\Сломанный\\\\NTUSER.DAT: не загружен: " "$log" &&
    grep -q "^  $missing_sid, C:\\\\users\\\\Без куста\\\\NTUSER.DAT: не загружен: " "$log" &&
    grep -q "^  S-1-5-21-0-0-0-1000, .*: администратор этого входа" "$log" ||
    fail "profiles.log does not say what befell each profile"
  cmp -s "$work/hives/$broken_sid.dat" "${hive_folder[$broken_sid]}/NTUSER.DAT" ||
    fail "the broken hive was changed"
  [[ $(ls -A "$missing_folder") == "" ]] || fail "a hive was made for the profile that had none"
  for who in "Default User" "$second_sid"; do
    hive=${hive_folder[$who]}/NTUSER.DAT
    backup=${hive_folder[$who]}/Kwetro-profile-backup.reg
    [[ $who == "Default User" ]] && backup=$kept/default-user-backup.reg
    [[ -s $backup ]] || fail "$who was not backed up"
    ! cmp -s "$work/hives/$who.dat" "$hive" || fail "the hive file of $who was not written"
    mount_hive "$hive"
    export_key 'HKEY_USERS\KwetroProfile' "$work/kept/hive-after.reg"
    printf '%s: ' "$who"
    holds "$kept/profiles.reg" "$work/kept/hive-after.reg"
    undone "$backup" "$kept/profiles.reg" 'HKEY_USERS\KwetroProfile' "the hive of $who"
    unmount_hive
  done
}

# An interactive Apply's settings file.
printf '[sCheckBox_1_9]\r\nChecked=1\r\n\r\n[mCheckBox_1_12]\r\nChecked=1\r\n\r\n[pCheckBox_4_1]\r\nChecked=1\r\n\r\n' \
  >"$work/choice.ini"
(cd "$work" && wine "$windows/kwetro-cli.exe" settings --settings choice.ini --out prepared.ini) >/dev/null

prepare_profiles
deploy "$work/prepared.ini"
[[ $(value_names "$runonce") == "$(printf '%s\n' "${commands[@]}" | sort)" ]] ||
  fail "RunOnce holds other values than the six start-up commands: $(value_names "$runonce" | tr '\n' ' ')"

next_logon
[[ $(reg_value 'HKCU\Software\KwetroDeployCheck' Custom) == 0x1 ]] || fail "Custom.reg was not imported"
wine reg query "HKLM\\$entry" >/dev/null 2>&1 && fail "an Active Setup entry was written for the first user alone"
[[ ! -e $kept ]] || fail "%ALLUSERSPROFILE%\\Kwetro was written for the first user alone"
profiles_untouched

# For every user, with a Policies value of each kind and the Start menu's
# order, which hklm.reg deletes in the user's hive.
(cd "$work" && wine "$windows/kwetro-cli.exe" set --settings prepared.ini --out every-user.ini \
  dCheckBox_1_1=yes sCheckBox_1_2=yes sCheckBox_1_7=yes pCheckBox_2_11=yes) >/dev/null
mkdir -p "$work/generated"
(cd "$work" && wine "$windows/kwetro-cli.exe" generate --settings every-user.ini --out generated) >/dev/null
deploy "$work/every-user.ini"
check_value Reg-AllUsers "REGEDIT /S \"$profiles\\Kwetro\\activesetup.reg\""
check_value Reg-AllProfiles "\"$profiles\\Kwetro\\Kwetro.exe\" /profiles"
[[ $(value_names "$runonce") == "$(printf '%s\n' "${commands[@]}" Reg-AllUsers Reg-AllProfiles | sort)" ]] ||
  fail "RunOnce holds other values than the eight start-up commands: $(value_names "$runonce" | tr '\n' ' ')"
cmp -s "$kept/user.reg" "$work/generated/user.reg" || fail "user.reg is not the user's part of both scripts"
# profiles.reg as generate writes it, but for the version: the time of writing.
cmp -s <(grep -av '^"Version"=' "$kept/profiles.reg") <(grep -av '^"Version"=' "$work/generated/profiles.reg") ||
  fail "profiles.reg is not the user's part of both scripts under HKEY_USERS\\KwetroProfile"
cmp -s "$kept/Kwetro.exe" "$windows/Kwetro.exe" || fail "the program was not kept for the administrator step"
mark=$(sed -n 's/^"\([0-9a-f]\{16\}\)"=""\r$/\1/p' "$kept/user.reg")
[[ -n $mark ]] || fail "user.reg ends with no mark of the selection"

version=$(kept_version)
next_logon
wait_for 30 test "$(reg_value "HKLM\\$entry" Version)" == "$version" ||
  fail "the Active Setup entry of version $version was not registered at the logon"
[[ -z $(reg_value "$runonce" Reg-AllUsers) ]] || fail "RunOnce Reg-AllUsers is still there after the logon"
check_profiles
# Whether RegAfter.reg, the backup before any script, holds Kwetro's entry.
backed_up() { [[ $(iconv -f UTF-16 -t UTF-8 "$after" | grep -cF 'Active Setup\Installed Components\Kwetro]') -gt 0 ]]; }
backed_up && fail "RegAfter.reg already holds the Active Setup entry: it was registered before the backup"
[[ $version =~ ^[0-9]+,[0-9]+,[0-9]+,[0-9]+$ ]] || fail "the entry's Version is [$version]"
[[ $(reg_value "HKLM\\$entry" IsInstalled) == 0x1 ]] || fail "the entry is not installed"
# reg writes to a pipe in the OEM code page.
[[ $(wine reg query "HKLM\\$entry" /ve 2>/dev/null | iconv -f CP866 -t UTF-8) == *'Kwetro - настройки пользователя'* ]] ||
  fail "the entry has no readable name"
stub=$(reg_value "HKLM\\$entry" StubPath)
backup_of_user='"%USERPROFILE%\Kwetro-backup.reg"'
[[ $stub == "CMD /C REG QUERY \"HKCU\\Software\\Kwetro\" /v $mark >NUL 2>NUL & IF ERRORLEVEL 1 (DEL $backup_of_user 2>NUL & REGEDIT /E $backup_of_user HKEY_CURRENT_USER && IF EXIST $backup_of_user REGEDIT /S \"%ALLUSERSPROFILE%\\Kwetro\\user.reg\")" ]] ||
  fail "the entry's StubPath is [$stub]"
[[ $(reg_value "HKCU\\$entry" Version) == "$version" ]] ||
  fail "the first user, who imported hkcu.reg, has no mark of version $version"

# A user with none of the settings and no mark; folders with blanks and Russian.
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  perl -ne 'print "[-$1]\r\n" if /^\[(HKEY_CURRENT_USER\\[^\]]+)\]\r?$/' "$kept/user.reg" | sort -u
} >"$work/kept/forget.reg"
wine regedit /S "$(winepath -w "$work/kept/forget.reg")" >/dev/null 2>&1
wine reg delete "HKCU\\$entry" /f >/dev/null 2>&1 || fail "could not remove the first user's mark"
export_key HKEY_CURRENT_USER "$work/kept/user-before.reg"
holds "$kept/user.reg" "$work/kept/user-before.reg" >/dev/null && fail "the user still has the settings of user.reg"
profile='C:\users\Иван Петров'
everyone='C:\Общие документы'
mkdir -p "$(winepath -u "$profile")" "$(winepath -u "$everyone\\Kwetro")"
# Only there: the command must find it through its own ALLUSERSPROFILE.
mv "$kept/user.reg" "$(winepath -u "$everyone\\Kwetro\\user.reg")"
cp "$(winepath -u "$everyone\\Kwetro\\user.reg")" "$work/kept/user.reg"
# No import without the backup: a profile folder that is not there.
wine "$work/active_setup_run.exe" Kwetro 'USERPROFILE=C:\users\Нет такого' "ALLUSERSPROFILE=$everyone" \
  >/dev/null 2>&1 || true
export_key HKEY_CURRENT_USER "$work/kept/user-unbacked.reg"
holds "$work/kept/user.reg" "$work/kept/user-unbacked.reg" >/dev/null && fail "user.reg was imported without a backup"
wine "$work/active_setup_run.exe" Kwetro "USERPROFILE=$profile" "ALLUSERSPROFILE=$everyone" \
  >"$work/kept/command-output.txt" 2>&1 || fail "the registered command failed: $(cat "$work/kept/command-output.txt")"
backup=$(winepath -u "$profile\\Kwetro-backup.reg")
[[ -s $backup ]] || fail "the registered command did not back up the user's HKEY_CURRENT_USER"
export_key HKEY_CURRENT_USER "$work/kept/user-after.reg"
printf "the other user's HKEY_CURRENT_USER: "
holds "$work/kept/user.reg" "$work/kept/user-after.reg" "$work/kept/command-output.txt"

# A roaming profile meets a later version: the mark in the hive stops a
# second import over the user's own change.
wine reg add 'HKCU\Control Panel\PowerCfg' /v CurrentPowerPolicy /d 7 /f >/dev/null 2>&1
cp "$backup" "$work/kept/backup-first.reg"
wine "$work/active_setup_run.exe" Kwetro "USERPROFILE=$profile" "ALLUSERSPROFILE=$everyone" >/dev/null 2>&1 ||
  fail "the registered command failed when run again"
[[ $(reg_value 'HKCU\Control Panel\PowerCfg' CurrentPowerPolicy) == 7 ]] ||
  fail "user.reg was imported again over the user's own change"
cmp -s "$backup" "$work/kept/backup-first.reg" || fail "the user's backup was written again"

undone "$backup" "$work/kept/user.reg" HKEY_CURRENT_USER "the user's HKEY_CURRENT_USER"

# A later deployment runs once more for every user.
deploy "$work/every-user.ini"
later=$(kept_version)
next_logon
wait_for 30 test "$(reg_value "HKLM\\$entry" Version)" == "$later" ||
  fail "the Active Setup entry of version $later was not registered at the logon"
backed_up || fail "RegAfter.reg of the later deployment lacks the entry of the earlier one"
perl -e '@a = split /,/, $ARGV[0]; @b = split /,/, $ARGV[1];
  for (0 .. 3) { exit 0 if $b[$_] > $a[$_]; exit 1 if $b[$_] < $a[$_] } exit 1' "$version" "$later" ||
  fail "the later deployment's version $later is not above $version"
[[ $(reg_value "HKCU\\$entry" Version) == "$later" ]] || fail "the first user has no mark of version $later"
# Both hives hold the selection already and stay as they are.
wait_for 60 test "$(grep -c 'уже содержит настройки этого выбора' "$kept/profiles.log")" == 2 ||
  fail "the administrator step of the later deployment wrote the hives again: $(tail -n 6 "$kept/profiles.log")"
echo "window_deploy: every check held (the Active Setup version raised to $later)"
