# Bounded waits for the scripts that drive Wine (sourced, not run). A step that
# does not end is stopped after its time limit, and the script says what it was
# waiting for and exits non-zero instead of hanging.
#
#   bounded SECONDS WHAT COMMAND...   runs COMMAND; its own status, or the end of
#                                     the script when it outlives SECONDS. A status
#                                     other than 0 is said on stderr with WHAT, so
#                                     that a set -e script never ends without a word
#   retried TRIES SECONDS WHAT COMMAND...
#                                     bounded, and run again (up to TRIES runs in
#                                     all, a second apart) while it fails: for a
#                                     step that may be repeated, where a failure of
#                                     Wine's now and then must not end the script
#   wait_until SECONDS WHAT TEST...   polls TEST (a command) every 0.1 s until it
#                                     succeeds; the end of the script after SECONDS
# WHAT completes "gave up waiting for ..." and names the thing, not the command.
# The script's name in the message is $waits_name (default: the script's file name).

waits_name=${waits_name:-$(basename "$0")}
# The messages go to the script's own stderr, also from a step whose output the
# caller sends elsewhere (bounded ... >/dev/null 2>&1).
exec {waits_stderr}>&2

gave_up() {  # SECONDS WHAT
  echo "$waits_name: gave up after $1 s waiting for $2" >&$waits_stderr
  exit 1
}

bounded() {
  local limit=$1 what=$2 rc=0
  shift 2
  timeout -k 5 "$limit" "$@" {waits_stderr}>&- || rc=$?
  # 124: stopped by the limit; 137: killed after it when TERM was not enough.
  if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then gave_up "$limit" "$what"; fi
  [ $rc -eq 0 ] || echo "$waits_name: failed (status $rc) while waiting for $what" >&$waits_stderr
  return $rc
}

retried() {
  local tries=$1 run=1 rc=0
  shift
  until bounded "$@"; do
    rc=$?
    [ $run -lt $tries ] || return $rc
    run=$((run + 1))
    echo "$waits_name: trying again ($run of $tries) to wait for $2" >&$waits_stderr
    sleep 1
  done
}

wait_until() {
  local limit=$1 what=$2 end
  shift 2
  # By the clock: a TEST that itself takes time must not stretch the limit.
  end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || gave_up "$limit" "$what"
    sleep 0.1
  done
}
