#!/usr/bin/env bash
# The Windows programs we ship must load on Windows XP: subsystem version 5.01
# (5.02, XP x64, for the x86_64 build), no import that XP's system DLLs lack,
# and no DLL beside the system's own (the mingw runtime is linked in).
#
# Environment (./test sets them): KWETRO_WIN64, KWETRO_WIN32 — the Windows
# build folders; the programs are the .exe files at their top level.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win64=${KWETRO_WIN64:-$root/build/win64}
win32=${KWETRO_WIN32:-$root/build/win32}

# DLLs a program may import: present on every XP installation.
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|msvcrt|uxtheme|version|winmm|winspool\.drv|imm32|psapi|userenv|ws2_32|mpr|netapi32|secur32|crypt32|wininet|urlmon|shfolder)\.dll$'

# Functions that XP lacks (Vista and later; some came with Server 2003 or XP x64
# only). A name matches when it equals an entry or, for entries ending in '*',
# starts with it.
denied_functions='
GetTickCount64 GetSystemTimePreciseAsFileTime
InitializeSRWLock AcquireSRWLock* ReleaseSRWLock* TryAcquireSRWLock*
InitializeConditionVariable SleepConditionVariable* WakeConditionVariable WakeAllConditionVariable
InitOnce* InitializeCriticalSectionEx
FlsAlloc FlsFree FlsGetValue FlsSetValue
CreateSymbolicLink* CreateHardLinkTransacted* GetFinalPathNameByHandle*
*Transacted* CopyFile2 CreateFile2
GetLocaleInfoEx LCIDToLocaleName LocaleNameToLCID CompareStringEx LCMapStringEx
GetUserDefaultLocaleName GetSystemDefaultLocaleName EnumSystemLocalesEx IsValidLocaleName
ResolveLocaleName GetDateFormatEx GetTimeFormatEx GetNumberFormatEx GetCurrencyFormatEx
GetCalendarInfoEx EnumCalendarInfoExEx EnumDateFormatsExEx EnumTimeFormatsEx
GetThreadPreferredUILanguages SetThreadPreferredUILanguages GetUserPreferredUILanguages
GetSystemPreferredUILanguages GetFileMUIPath GetFileMUIInfo
CreateEventEx* CreateMutexEx* CreateSemaphoreEx* CreateWaitableTimerEx*
GetFileInformationByHandleEx SetFileInformationByHandle OpenFileById
GetQueuedCompletionStatusEx CancelIoEx CancelSynchronousIo SetFileCompletionNotificationModes
QueryFullProcessImageName* GetProductInfo GetErrorMode SetThreadErrorMode GetThreadErrorMode
GetCurrentProcessorNumber* FlushProcessWriteBuffers RaiseFailFastException
Wow64DisableWow64FsRedirection Wow64RevertWow64FsRedirection Wow64EnableWow64FsRedirection
GetDynamicTimeZoneInformation SetDynamicTimeZoneInformation
CreateThreadpool* CloseThreadpool* SetThreadpool* WaitForThreadpool* SubmitThreadpoolWork
TrySubmitThreadpoolCallback StartThreadpoolIo CancelThreadpoolIo
K32* AddDllDirectory RemoveDllDirectory SetDefaultDllDirectories LoadPackagedLibrary
InitializeProcThreadAttributeList UpdateProcThreadAttribute DeleteProcThreadAttributeList
CreateRemoteThreadEx GetActiveProcessorCount GetMaximumProcessorCount
GetActiveProcessorGroupCount SetThreadGroupAffinity GetThreadGroupAffinity
GetLogicalProcessorInformationEx GetNumaNodeProcessorMaskEx
RegGetValue* RegDeleteKeyEx* RegDeleteTree* RegSetKeyValue* RegCopyTree* RegLoadMUIString*
RegDeleteKeyValue* RegOpenKeyTransacted* RegCreateKeyTransacted*
SetProcessDPIAware IsProcessDPIAware SetProcessDpiAwareness* GetDpiFor* AdjustWindowRectExForDpi
ChangeWindowMessageFilter* AddClipboardFormatListener RemoveClipboardFormatListener
ShutdownBlockReason* RegisterTouchWindow GetWindowDisplayAffinity SetWindowDisplayAffinity
TaskDialog TaskDialogIndirect BufferedPaint* BeginBufferedPaint EndBufferedPaint
DwmIsCompositionEnabled
SHGetKnownFolderPath SHGetKnownFolderIDList SHCreateItemFromParsingName SHGetStockIconInfo
'

fail=0
checked=0

# check_exe FILE OBJDUMP ALLOWED_MINOR_VERSIONS
check_exe() {
  local exe=$1 objdump=$2 minors=$3 dump name dll fn pattern
  name=${exe#"$root"/}
  if ! dump=$("$objdump" -p "$exe"); then
    echo "$name: $objdump cannot read it"
    fail=1
    return
  fi
  local major minor
  major=$(awk '$1 == "MajorSubsystemVersion" { print $2 }' <<<"$dump")
  minor=$(awk '$1 == "MinorSubsystemVersion" { print $2 }' <<<"$dump")
  if [[ $major != 5 || " $minors " != *" $minor "* ]]; then
    echo "$name: subsystem version $major.$minor, XP needs 5.0${minors// / or 5.0}"
    fail=1
  fi
  # Imports as "DLL function" pairs.
  local imports
  imports=$(awk '
    /^[A-Za-z]/ { dll = "" }   # a new part of the dump ends the import tables
    /DLL Name:/ { dll = tolower($3); print dll " -"; next }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_?@$]/ { print dll " " $3 }
  ' <<<"$dump")
  if [[ -z $imports ]]; then
    echo "$name: no imports found (objdump output not understood)"
    fail=1
    return
  fi
  while read -r dll fn; do
    if [[ $fn == - ]]; then
      if ! [[ $dll =~ $allowed_dlls ]]; then
        echo "$name: imports $dll, which is not a Windows XP system DLL"
        fail=1
      fi
      continue
    fi
    for pattern in $denied_functions; do
      # shellcheck disable=SC2053  # the pattern is meant to glob
      if [[ $fn == $pattern || $fn == ${pattern}A || $fn == ${pattern}W ]]; then
        echo "$name: imports $dll!$fn, which Windows XP lacks"
        fail=1
      fi
    done
    # XP's msvcrt.dll predates the "secure" *_s functions and 64-bit seeks.
    if [[ $dll == msvcrt.dll && ($fn == *_s || $fn == _fseeki64 || $fn == _ftelli64 ||
          $fn == _get_errno || $fn == _set_errno || $fn == _create_locale ||
          $fn == _free_locale || $fn == _configthreadlocale) ]]; then
      echo "$name: imports msvcrt.dll!$fn, which XP's msvcrt.dll lacks"
      fail=1
    fi
  done <<<"$imports"
  checked=$((checked + 1))
}

for tree in "$win64:x86_64-w64-mingw32-objdump:1 2" "$win32:i686-w64-mingw32-objdump:1"; do
  IFS=: read -r dir objdump minors <<<"$tree"
  shopt -s nullglob
  exes=("$dir"/*.exe)
  shopt -u nullglob
  if [[ ${#exes[@]} -eq 0 ]]; then
    echo "no programs in $dir: build it first"
    fail=1
    continue
  fi
  for exe in "${exes[@]}"; do check_exe "$exe" "$objdump" "$minors"; done
done

echo "$checked programs checked for Windows XP"
exit "$fail"
