#!/usr/bin/env bash
# kwetro-cli.exe writes what the native kwetro-cli writes, byte for byte, for
# random selections, every other one for every user (the golden ones are
# compared under Wine by the Windows build's golden test): generate (but for
# the clock's Active Setup Version), settings anew and merged, list in each
# format (CR LF from the Windows console's text mode).
set -euo pipefail

source "$(dirname "$0")/registry_common.sh"
count=${KWETRO_SELECTIONS:-10}
needs "$win_cli"
russian_prefix cli_same

# writes NAME COMMAND...: what one kwetro-cli writes of the selection in dir,
# into dir/NAME.
writes() {
  local name=$1
  shift
  mkdir -p "$dir/$name"
  cp "$dir/settings.ini" "$dir/$name/merged.ini"
  # Each command's own status: errexit does not reach into the left side of
  # "||", and a command that ends early must not pass for a file that differs.
  step() { "$@" || { local status=$?; echo "$*: exit status $status" >&2; exit 1; }; }
  (
    cd "$dir"
    step "$@" generate --settings settings.ini --out "$name" >/dev/null
    step "$@" settings --settings settings.ini --out "$name/fresh.ini" >/dev/null
    step "$@" settings --settings settings.ini --out "$name/merged.ini" >/dev/null
    for format in tsv json markdown; do
      step "$@" list --settings settings.ini --format "$format" >"$name/list.$format"
    done
  ) 2>"$dir/$name.err" || fail "kwetro-cli ($name) failed: $(cat "$dir/$name.err")"
}

version=$'^"Version"="[0-9]+,[0-9]+,[0-9]+,[0-9]+"\r$'
# same_files: every file of dir/native against its Windows twin.
same_files() {
  local files file native windows
  files=$(cd "$dir/native" && ls)
  [[ $files == "$(cd "$dir/windows" && ls)" ]] ||
    fail "other files: $(diff <(echo "$files") <(cd "$dir/windows" && ls) | tr '\n' ' ')"
  for file in $files; do
    native=$dir/native/$file windows=$dir/windows/$file
    case $file in
      list.*) cmp -s <(sed 's/$/\r/' "$native") "$windows" || fail "list --format ${file#list.} differs" ;;
      *.reg)  # the same but for the Versions of the clock, as many on each side
        [[ $(LC_ALL=C grep -acE "$version" "$native") == $(LC_ALL=C grep -acE "$version" "$windows") ]] ||
          fail "$file has not as many Versions of the clock"
        cmp -s <(LC_ALL=C grep -avE "$version" "$native") <(LC_ALL=C grep -avE "$version" "$windows") ||
          fail "$file differs" ;;
      *) cmp -s "$native" "$windows" || fail "$file differs" ;;
    esac
  done
}

# check: both programs' files of the selection in dir, compared.
check() {
  this=0
  writes native "$cli"
  writes windows ruwine "$win_cli"
  same_files
  if [[ $this == 0 ]]; then printf '%-38s %s files the same\n' "$label:" "$(ls "$dir/native" | wc -l)"; fi
}

# The selection in dir also for every user, as a hand-edited file says it.
for_every_user() {
  printf '\r\n[dCheckBox_1_1]\r\nChecked=1\r\n' >>"$dir/settings.ini"
  label="$label, for every user"
}

n=0
for ((i = 0; i < count; i++)); do
  next_selection random
  if ((i % 2)); then for_every_user; fi
  check
done

finish "$n selections, every file the same"
