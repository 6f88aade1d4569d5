#!/bin/sh
# Runs zemba-run as a user would and checks what it leaves behind.
# usage: zemba-run-checks.sh CHECK ZEMBA_RUN WORKDIR
set -u

check=$1
run=$2
work=$3

fail() {
    echo "$check: $*" >&2
    exit 1
}

# The md5 of the trace of the first STEPS steps (all of the move without
# STEPS), of the built-in move or, with PERSONS, of its scaled one.
trace_md5() {
    { "$run" ${1:+--steps "$1"} ${2:+--persons "$2"} --trace - || echo "zemba-run exited $?"; } | md5sum | cut -d' ' -f1
}

rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot set up $work"

case $check in
bad-options)
    # Refused before anything runs: status 2, one line naming the problem, one
    # hint line, nothing on standard output and no file written (the parser's
    # test has the rest).
    for bad in "--steps 0" "--stock" "--summary --plot missing/p.png" "--sweep-report x.csv --csv y.csv"; do
        rm -f trace.csv
        # shellcheck disable=SC2086 # the options are meant to split
        "$run" --trace trace.csv $bad >out 2>err
        status=$?
        [ "$status" -eq 2 ] && [ ! -e trace.csv ] && [ ! -s out ] || fail "'$bad' exited $status or wrote a trace or output"
        [ "$(sed -n '1s/^zemba-run: .*/e/p; 2s/^zemba-run --help lists every option$/h/p' err | tr -d '\n')" = eh ] &&
            [ "$(wc -l <err)" -eq 2 ] || fail "'$bad' did not give one error line and the hint: $(cat err)"
    done
    "$run" --help 2>err | head -n 1 | grep -q '^usage: zemba-run' && [ ! -s err ] || fail "--help printed no usage"
    "$run" --version | grep -Eq '^zemba-run [0-9.]+, built from commit [0-9a-f]{12}' || fail "--version printed no commit"
    ;;
checksum)
    # Any change of the rules changes the trace within the first 20,000 steps.
    sum=$(trace_md5 20000)
    [ "$sum" = 18c75f799ca8944a8d23a5782e31c341 ] || fail "the trace of 20000 steps has md5 $sum"
    ;;
golden)
    sum=$(trace_md5 "")
    [ "$sum" = 1b8faa7b9bbff06cd794fe01dc114ac0 ] || fail "the trace of the whole move has md5 $sum"
    ;;
golden-scaled)
    # Larger chains, where equal positions, crowds and long index walks occur
    # that the eleven never meet: persons, steps, md5.
    while read -r persons steps expected; do
        sum=$(trace_md5 "$steps" "$persons")
        [ "$sum" = "$expected" ] || fail "the trace of $persons persons over $steps steps has md5 $sum"
    done <<EOF
110 20000 c90694ca059841bb41eab6ad42dd2d64
1100 2000 8a6ddbcfb56dedc9791b3953e090d5cb
11000 200 2f0094a3afa24c309b0452fba56db1e3
EOF
    ;;
plot-and-report)
    "$run" --stock 20 --plot move.png --report --summary --check >out 2>err && [ ! -s err ] || fail "the run failed: $(cat err)"
    grep -q '^steps=[0-9]* stock=0 in_hands=0 delivered=20 ' out || fail "the summary misses loads"
    grep -q '^  the last of 20 loads was delivered in step [0-9]*, after 0:[0-9][0-9]:[0-9][0-9] of simulated time' out ||
        fail "the report gives no end of the move"
    [ "$(grep -c '^  quarter [1-4], steps' out)" -eq 4 ] || fail "the report has not four quarters"
    grep -q '^Throughput: .* % of the upper bound of 21.00$' out || fail "the report gives no throughput"
    [ "$(head -c 8 move.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "move.png is no PNG"
    # Standard output carries one thing: the picture, with the words on standard error.
    "$run" --stock 20 --plot - --summary >stdout.png 2>err || fail "--plot - exited $?"
    cmp -s move.png stdout.png && grep -q '^steps=' err || fail "--plot - wrote another picture, or the summary not to stderr"
    "$run" --stock 20 --plot move.svg && grep -q '<svg' move.svg || fail "move.svg is no SVG"
    ;;
sweep)
    # A small sweep gives the same bytes with one and two jobs (the runner's
    # test merges shards); the report and its picture read it.
    printf '{"vary": {"/source/stock": [12, 20], "/persons/0/count": [9, 11]}, "seeds": [1, 2, 3]}' >sweep.json
    "$run" --sweep sweep.json --csv one.csv --jobs 1 2>err && [ ! -s err ] || fail "--jobs 1 failed: $(cat err)"
    [ "$(wc -l <one.csv)" -eq 13 ] || fail "the sweep wrote $(wc -l <one.csv) lines"
    "$run" --sweep sweep.json --csv - --jobs 2 >two.csv || fail "--jobs 2 exited $?"
    cmp -s one.csv two.csv || fail "--jobs 1 and --jobs 2 wrote different CSVs"
    "$run" --sweep-report one.csv --plot sweep.png >out || fail "--sweep-report exited $?"
    # Per combination: 3 runs, 3 finished, none stalled, none at the limit.
    [ "$(grep -cE '\| +3 +3 +0 +0 \|' out)" -eq 4 ] || fail "the report has not four finished combinations"
    [ "$(head -c 8 sweep.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "sweep.png is no PNG"

    # A refused sweep (the plan's test goes through the refusals): status 2, no CSV.
    printf '{"vary": {"/persons/0/cont": [6]}, "seeds": [1]}' >bad.json
    "$run" --sweep bad.json --csv bad.csv 2>err
    status=$?
    [ "$status" -eq 2 ] && [ ! -e bad.csv ] || fail "the bad sweep exited $status or wrote a CSV"
    ;;
sweep-cuts)
    # SIGTERM, SIGHUP or SIGKILL at a random moment of a sweep and then of its
    # resume: a last --resume gives the bytes of the uncut sweep, and nothing
    # else is left behind.
    printf '{"vary": {"/persons/0/count": [9, 11, 13]}, "seeds": {"from": 1, "count": 4}, "max_steps": 80000}' >s.json
    "$run" --sweep s.json --csv whole.csv --jobs 2 2>err || fail "the uncut sweep failed: $(cat err)"
    for signal in TERM KILL HUP; do
        rm -f cut.csv
        for try in first resumed; do
            "$run" --sweep s.json --csv cut.csv --jobs 2 --resume 2>err &
            pid=$!
            # From when zemba-run catches SIGTERM and SIGHUP (bits 15 and 1 of its mask) on.
            i=0
            while [ $i -lt 500 ] && kill -0 $pid 2>/dev/null &&
                [ $((0x$(sed -n 's/^SigCgt:[[:space:]]*//p' /proc/$pid/status) & 0x4001)) -ne $((0x4001)) ]; do
                i=$((i + 1))
                sleep 0.01
            done
            sleep "$(od -An -N2 -tu2 /dev/urandom | awk '{ printf "%.3f", $1 / 65535 * 0.4 }')"
            kill -s "$signal" "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
            status=$?
            echo "SIG$signal, $try: status $status, $(cat cut.csv 2>/dev/null | wc -l) lines" >>cuts.log
            case $signal/$status in
            */0 | KILL/137) ;;
            TERM/143 | HUP/129) grep -q '^zemba-run: interrupted: ' err || fail "SIGHUP or SIGTERM said nothing: $(cat err)" ;;
            *) fail "the $try sweep exited $status on SIG$signal: $(cat err)" ;;
            esac
        done
        "$run" --sweep s.json --csv cut.csv --jobs 2 --resume 2>err || fail "the last resume exited $?: $(cat err)"
        cmp -s whole.csv cut.csv || fail "cut by SIG$signal, the resumed CSV differs: $(diff whole.csv cut.csv | head -n 5)"
    done
    [ "$(ls | tr '\n' ' ')" = "cut.csv cuts.log err s.json whole.csv " ] || fail "files left behind: $(ls)"
    ;;
sweep-limits)
    # The same sweep at two step limits: where no run meets either limit the
    # summary is the same; where runs meet the lower one they rank as later
    # than it. 5 loads take 7,131 to 10,077 steps over seeds 1 to 6, 40 loads
    # 8,394 to 16,449.
    for limit in 11000 20000; do
        printf '{"vary": {"/source/stock": [5, 40]}, "seeds": {"from": 1, "count": 6}, "max_steps": %s}' $limit >s$limit.json
        "$run" --sweep s$limit.json --csv s$limit.csv --jobs 2 2>err || fail "the sweep failed: $(cat err)"
        "$run" --sweep-report s$limit.csv --summary-csv - >summary$limit.csv 2>err || fail "the report failed: $(cat err)"
    done
    [ "$(grep '^5,' summary11000.csv)" = "$(grep '^5,' summary20000.csv)" ] ||
        fail "5 loads, which no limit stops, changed with the limit: $(grep '^5,' summary*.csv)"
    grep -q '^40,6,3,0,3,.*> 0:07:20' summary11000.csv || fail "no '> 0:07:20' where runs met the limit: $(cat summary11000.csv)"
    grep -q '^40,6,6,0,0,' summary20000.csv || fail "40 loads did not all finish below 20000 steps"
    ;;
sweep-rows)
    # Merged shards are the whole sweep, with the mode a new file gets.
    printf '{"vary": {"/source/stock": [20, 30]}, "seeds": [1, 2, 3]}' >s.json
    "$run" --sweep s.json --csv whole.csv 2>err || fail "the sweep failed: $(cat err)"
    for k in 1 2; do "$run" --sweep s.json --csv s$k.csv --shard $k/2 || fail "shard $k failed"; done
    "$run" --sweep s.json --merge s2.csv s1.csv --csv merged.csv 2>err && cmp -s whole.csv merged.csv ||
        fail "the merge failed or differs: $(cat err)"
    [ "$(stat -c %a merged.csv)" = "$(printf '%o' $((0666 & ~$(umask))))" ] || fail "merged.csv has mode $(stat -c %a merged.csv)"

    # A cell of shard 1 changed to a value from outside the plan (run 2 is
    # stock 20, seed 3) is refused by the merge, a resume and the report,
    # naming the file and line, and nothing is written.
    for damage in 's/^2,20,/2,21,/' 's/^2,20,/2,x20,/' 's/^\(2,20,3,1,finished\),[0-9]*,/\1,1,/'; do
        sed "$damage" s1.csv >bad.csv
        ! cmp -s s1.csv bad.csv || fail "'$damage' changed nothing"
        cp bad.csv resumed.csv
        "$run" --sweep s.json --merge bad.csv s2.csv --csv out.csv 2>merge.err
        merged=$?
        "$run" --sweep s.json --shard 1/2 --csv resumed.csv --resume 2>resume.err
        resumed=$?
        "$run" --sweep-report bad.csv --sweep s.json >/dev/null 2>report.err
        reported=$?
        [ "$merged/$resumed/$reported" = 2/2/2 ] && [ ! -e out.csv ] && cmp -s bad.csv resumed.csv ||
            fail "'$damage': statuses $merged/$resumed/$reported, or something was written"
        for said in merge.err resume.err report.err; do
            grep -q 'bad.csv: line 3: ' $said || grep -q 'resumed.csv: line 3: ' $said || fail "$said does not name the line: $(cat $said)"
        done
    done

    # No output may be an input, whatever its name: one line, status 2, nothing written.
    "$run" --stock 20 --write-scenario scenario.json || fail "--write-scenario failed"
    printf '{"scenario": "scenario.json", "vary": {"/source/stock": [20]}, "seeds": [1]}' >named.json
    ln scenario.json hard.csv
    ln -s s1.csv link.csv
    for refused in "--sweep named.json --csv hard.csv" "--sweep named.json --merge s1.csv s2.csv --csv ./hard.csv" \
        "--sweep s.json --merge s1.csv s2.csv --csv link.csv"; do
        cp scenario.json before.json
        # shellcheck disable=SC2086 # the options are meant to split
        "$run" $refused 2>err
        status=$?
        [ "$status" -eq 2 ] && [ "$(wc -l <err)" -eq 1 ] && grep -q 'would overwrite' err && cmp -s before.json scenario.json ||
            fail "'$refused' exited $status: $(cat err)"
    done

    # A value or a seed listed twice is refused, naming it.
    for sweep in '{"vary": {"/persons/0/count": [8, 8]}, "seeds": [1]}|value 2: 8 is there twice, also value 1' \
        '{"seeds": [1, 1, 2]}|/seeds/1: seed 1 is there twice, also at /seeds/0'; do
        printf '%s' "${sweep%%|*}" >twice.json
        "$run" --sweep twice.json --plan >/dev/null 2>err
        status=$?
        [ "$status" -eq 2 ] && [ "$(wc -l <err)" -eq 1 ] && grep -qF "${sweep#*|}" err || fail "a sweep with a duplicate exited $status: $(cat err)"
    done
    ;;
writer)
    # Every writer against what its path can name. A new file gets the
    # umask's mode and an existing one keeps its own; a symlink stays and its
    # target gets the bytes; a FIFO is read whole; a device is written
    # through and stays a device, a full one fails with the system's reason.
    # Devices are made here (as root), never the machine's own.
    umask 022
    printf '{"vary": {"/source/stock": [12]}, "seeds": [1]}' >s.json
    "$run" --sweep s.json --csv rows.csv --jobs 1 2>/dev/null || fail "the sweep to report on failed"
    if [ "$(id -u)" -eq 0 ]; then
        mknod null.png c 1 3 && mknod full.png c 1 7 && ln -s full.png full.svg || fail "cannot make the devices"
    else
        echo "$check: not root: the devices are not tried" >&2
    fi
    while read -r writer; do
        rm -f t.png l.png new.png f.png && ln -s t.png l.png && mkfifo f.png
        # shellcheck disable=SC2086 # the options are meant to split
        "$run" $writer l.png 2>err && [ -L l.png ] && [ -s t.png ] || fail "'$writer' through a symlink: $(cat err)"
        "$run" $writer new.png 2>err && [ "$(stat -c %a new.png)" = 644 ] || fail "'$writer' made new.png $(stat -c %a new.png)"
        chmod 600 t.png && "$run" $writer t.png 2>err && [ "$(stat -c %a t.png)" = 600 ] || fail "'$writer' changed the mode"
        cat f.png >got & "$run" $writer f.png 2>err; status=$?
        wait
        [ "$status" -eq 0 ] && [ -p f.png ] && cmp -s got t.png || fail "'$writer' into a FIFO exited $status: $(cat err)"
        [ -c null.png ] || continue
        for device in null.png full.png full.svg; do
            "$run" $writer $device >/dev/null 2>err; status=$?
            [ -c $device ] || fail "'$writer' replaced the device $device"
            if [ $device = null.png ]; then [ $status -eq 0 ]; else [ $status -eq 1 ] && grep -q "'$device': No space left on device" err; fi ||
                fail "'$writer $device' exited $status: $(cat err)"
        done
    done <<EOF
--steps 3 --trace
--write-scenario
--steps 3 --plot
--sweep s.json --jobs 1 --csv
--sweep-report rows.csv --plot
EOF
    [ -c full.png ] && for words in "--steps 3 --trace -" "--stock 12 --report" "--sweep s.json --plan"; do
        # shellcheck disable=SC2086
        "$run" $words >full.png 2>err
        [ $? -eq 1 ] && grep -q 'standard output: No space left on device' err || fail "'$words' to a full disk: $(cat err)"
    done
    # An output that is an input, by any name, is refused before anything runs.
    cp s.json kept.json && ln s.json hard.csv && ln -s s.json soft.csv
    for csv in hard.csv soft.csv ./s.json; do
        "$run" --sweep s.json --csv $csv 2>err
        [ $? -eq 2 ] && cmp -s s.json kept.json || fail "--csv $csv overwrote the sweep file: $(cat err)"
    done
    "$run" --write-scenario scenario.json && ln scenario.json hard.trace && cp scenario.json kept.json || fail "no scenario"
    "$run" --scenario scenario.json --steps 3 --trace hard.trace 2>err
    [ $? -eq 2 ] && cmp -s scenario.json kept.json || fail "--trace to a hard link of the scenario: $(cat err)"
    # A scenario that --scenario would refuse is not written either.
    "$run" --persons 20000 --write-scenario big.json 2>err
    [ $? -eq 2 ] && [ ! -e big.json ] && grep -q '/source/stock: 1211454 must be' err || fail "a refused scenario was written"
    [ -z "$(find . -name '*partial*')" ] || fail "partial files are left: $(find . -name '*partial*')"
    ;;
*)
    fail "no such check"
    ;;
esac
