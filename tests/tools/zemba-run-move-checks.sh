#!/bin/sh
# Runs zemba-run's report and picture as a user would.
# usage: zemba-run-move-checks.sh CHECK ZEMBA_RUN WORKDIR
set -u

check=$1
run=$2
work=$3

fail() {
    echo "$check: $*" >&2
    exit 1
}

rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot set up $work"

case $check in
bad-move-options)
    # Refused before anything runs: status 2, one error line, the usage,
    # nothing on standard output, no picture and no trace.
    for bad in "--stock 0" "--stock -1" "--stock lots" "--stock 2147483648" "--stock" "--plot"; do
        rm -f move.png trace.csv out err
        # shellcheck disable=SC2086 # the options are meant to split
        "$run" --trace trace.csv --report $bad >out 2>err
        status=$?
        [ "$status" -eq 2 ] || fail "'$bad' exited $status, not 2"
        [ ! -e trace.csv ] || fail "'$bad' wrote a trace"
        [ ! -s out ] || fail "'$bad' wrote to standard output"
        [ "$(grep -c '^zemba-run: ' err)" -eq 1 ] || fail "'$bad' did not give one error line"
        sed -n 2p err | grep -q '^usage: zemba-run' || fail "'$bad' gave no usage after the error"
    done
    ;;
plot-and-report)
    "$run" --stock 20 --plot move.png --report >out 2>err || fail "the run exited $?"
    [ ! -s err ] || fail "the run wrote to standard error: $(cat err)"
    grep -q '^  the last of 20 loads was delivered in step [0-9]*, after 0:[0-9][0-9]:[0-9][0-9] of simulated time' out ||
        fail "the report gives no end of the move"
    [ "$(grep -c '^  quarter [1-4], steps' out)" -eq 4 ] || fail "the report has not four quarters"
    grep -q '^Throughput: .* % of the upper bound of 21.00$' out || fail "the report gives no throughput"
    [ "$(head -c 8 move.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "move.png is no PNG"
    ;;
*)
    fail "no such check"
    ;;
esac
