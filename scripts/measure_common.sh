# What the measuring scripts share; sourced, not run.

# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# full_settings CLI DIR: DIR/full.ini, the settings file that `kwetro-cli
# settings` writes after loading the built-in selection with every option box
# set to Checked=1 (every services item is present in it).
full_settings() {
  "$1" settings --out "$2/base.ini" >/dev/null
  sed 's/^Checked=[^\r]*/Checked=1/' "$2/base.ini" >"$2/checked.ini"
  "$1" settings --settings "$2/checked.ini" --out "$2/full.ini" >/dev/null
}

# time_runs RUNS COMMAND...: a line per run, the wall time in microseconds
# from bash's clock (/usr/bin/time counts in 10 ms steps) and the peak
# resident memory in KB from /usr/bin/time, in a run of its own. The exit
# status of the command does not matter (an audit that finds drift exits 3).
time_runs() {
  local runs=$1 i start end peak
  shift
  peak=$(mktemp)
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    "$@" >/dev/null || true
    end=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$peak" "$@" >/dev/null || true
    echo "$((${end/./} - ${start/./})) $(tail -n 1 "$peak")"  # after any "Command exited ..." line
  done
  rm -f "$peak"
}
