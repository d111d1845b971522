#!/usr/bin/env bash
# Start-up times of the real program under Wine, a benchmark (run by `scripts/bench startup`):
# drvsim starts vela40ps.exe as the driver does, pokes the settings and times the sheet, for the
# demo PPD and the largest PPD of the corpus, each with a printer that answers (the demo
# printer's objects from snmpd on 127.0.0.1:161) and with a silent one (its port address is
# 127.0.0.2, where nothing listens), and without any printer query (no community) to show what
# the query costs. Beside them, timed by the same drvsim in the same way, the floor: bare_sheet,
# a program that shows only a sheet of empty pages.
#
#   bench/startup/startup_bench.sh [RUNS]     RUNS (7 when not given) rounds after a warm-up
#
# Each round runs every case once, in an order that turns by one case per round, so that a busy
# spell of the machine is shared out; the table gives medians. Two times per run:
#   poke->sheet   from the poke of the settings to the visible sheet: the program's own start-up
#                 (PPD, printer query, pages); the floor has no poke;
#   start->sheet  from the process start to the visible sheet, for the program and the floor
#                 alike. The program's includes the driver's connection and poke, as every real
#                 start does; the floor's is Wine's start of a program and of a sheet.
# The goals: with an answering printer, start->sheet within 1.5 times the floor's; with a silent
# printer, poke->sheet within 1600 ms.
#
# Needs root (or sudo) for port 161 and takes /tmp/vela-net.lock for the whole run; without
# them the answering printer is left out. VELA_BUILD_MINGW chooses the build directory,
# VELA_CORPUS the corpus folder (scripts/corpus fills it; build/corpus when not given).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
runs=${1:-7}
[[ "$runs" =~ ^[1-9][0-9]?$ ]] || { echo "usage: startup_bench.sh [RUNS]   (1 to 99)"; exit 2; }

can_bind_161=0
run_root=()
if [ "$(id -u)" -eq 0 ]; then
    can_bind_161=1
elif sudo -n true 2>/dev/null; then
    can_bind_161=1
    run_root=(sudo -n)
fi
# Port 161 is shared with the other network runs of this machine: one at a time, bounded.
if [ $can_bind_161 -eq 1 ] && [ -z "${VELA_NET_LOCKED:-}" ]; then
    VELA_NET_LOCKED=1 flock -w 1800 -E 75 /tmp/vela-net.lock "${BASH_SOURCE[0]}" "$@"
    status=$?
    [ $status -ne 75 ] || echo "startup: /tmp/vela-net.lock stayed taken for 30 minutes"
    exit $status
fi

source "$root/scripts/lib.sh"
source "$root/scripts/wine-env"
build=${VELA_BUILD_MINGW:-$root/build/$VELA_MINGW_PRESET}
work=$(mktemp -d "${TMPDIR:-/tmp}/vela-startup-bench.XXXXXX")
vela_on_exit "rm -rf '$work'"

echo "startup: building vela40ps.exe, drvsim.exe and bare_sheet.exe ($VELA_MINGW_PRESET)"
if ! { (cd "$root" && cmake --preset "$VELA_MINGW_PRESET" -B "$build") >"$work/build.log" 2>&1 &&
       cmake --build "$build" -j 2 --target vela40ps drvsim bare_sheet >>"$work/build.log" 2>&1; }; then
    tail -n 30 "$work/build.log"
    echo "startup: the build failed"
    exit 1
fi
bin=$build/bin

corpus=${VELA_CORPUS:-$root/build/corpus}
echo "startup: the corpus in $corpus"
"$root/scripts/corpus" "$corpus" >/dev/null || { echo "startup: scripts/corpus failed"; exit 1; }
largest=$(find "$corpus" -type f -name '*.ppd' -printf '%s %p\n' | sort -n | tail -n 1 | cut -d' ' -f2-)
[ -n "$largest" ] || { echo "startup: no PPD in $corpus"; exit 1; }

vela_start_xvfb || exit 1
vela_start_wineserver

# The PPDs beside the driver paths the blocks name, and two printers on "ZEL Port" ports.
files="$WINEPREFIX/drive_c/vela-bench"
rm -rf "$files"
mkdir -p "$files"
cp "$root/samples/vela-demo.ppd" "$files/DEMO.PPD"
cp "$largest" "$files/LARGEST.PPD"
printers='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
monitor='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Monitors\ZEL Port\Ports'
cat >"$work/printers.reg" <<REG
REGEDIT4

[$printers\\Vela Bench Answering]
"Port"="VELA_BENCH_ANSWERING"

[$monitor\\VELA_BENCH_ANSWERING]
"IPAddress"="127.0.0.1"

[$printers\\Vela Bench Silent]
"Port"="VELA_BENCH_SILENT"

[$monitor\\VELA_BENCH_SILENT]
"IPAddress"="127.0.0.2"
REG
wine regedit /S "$(winepath -w "$work/printers.reg")" </dev/null >/dev/null 2>&1
printf 'cancel\n' >"$work/cancel.txt"
cancel=$(winepath -w "$work/cancel.txt" | tr -d '\r')

# The answering printer: snmpd on 127.0.0.1:161 with the demo printer's objects, answered from
# memory after their first request (persistent-agent), so that the agent's own processes are not
# what is measured.
answering=0
if [ $can_bind_161 -eq 1 ]; then
    cp "$here/persistent-agent" "$root/samples/demo-printer-agent" "$work/"
    chmod +x "$work/persistent-agent" "$work/demo-printer-agent"
    printf '#!/bin/sh\nexec "%s" "%s"\n' "$work/persistent-agent" "$work/demo-printer-agent" \
        >"$work/agent"
    chmod +x "$work/agent"
    cat >"$work/snmpd.conf" <<CONF
agentaddress udp:127.0.0.1:161
rocommunity public 127.0.0.1
pass_persist .1.3.6.1.4.1.480 $work/agent
CONF
    "${run_root[@]}" env SNMP_PERSISTENT_DIR="$work" SNMPCONFPATH="$work" MIBS= \
        /usr/sbin/snmpd -f -C -c "$work/snmpd.conf" -Lf "$work/snmpd.log" -p "$work/snmpd.pid" \
        </dev/null >/dev/null 2>&1 &
    agent=$!
    vela_on_exit "${run_root[*]} kill \$(cat '$work/snmpd.pid' 2>/dev/null || echo $agent) 2>/dev/null; wait $agent 2>/dev/null"
    for _ in $(seq 100); do
        grep -q "NET-SNMP version" "$work/snmpd.log" 2>/dev/null && break
        kill -0 $agent 2>/dev/null || break
        sleep 0.05
    done
    grep -q "NET-SNMP version" "$work/snmpd.log" 2>/dev/null && answering=1
fi
[ $answering -eq 1 ] ||
    echo "startup: no printer agent on 127.0.0.1:161 (it needs root or sudo): the answering printer is left out"

# The cases: a name and drvsim's arguments, separated by "|".
cases=(floor)
declare -A args
args[floor]="--no-driver|--program|$(winepath -w "$bin/bare_sheet.exe" | tr -d '\r')"
for ppd in demo largest; do
    driver="--driver|C:\\vela-bench\\${ppd^^}.DLL"
    if [ $answering -eq 1 ]; then
        cases+=("$ppd-answering")
        args[$ppd-answering]="--printer|Vela Bench Answering|$driver|--set|snmpCommunity=public"
    fi
    cases+=("$ppd-silent" "$ppd-none")
    args[$ppd-silent]="--printer|Vela Bench Silent|$driver|--set|snmpCommunity=public"
    args[$ppd-none]="--printer|Vela Bench Silent|$driver|--set|snmpCommunity="
done

# run_case NAME ROUND: one drvsim run; its times go to $work/times as "NAME ROUND POKE START".
run_case() {
    local name=$1 round=$2 output poke start
    IFS='|' read -r -a list <<<"${args[$name]}"
    output=$(timeout 120 wine "$bin/drvsim.exe" "${list[@]}" --script "$cancel" </dev/null 2>&1 | tr -d '\r')
    start=$(grep -m1 '^sheet: visible' <<<"$output" | grep -oE '[0-9]+ ms after the start' | cut -d' ' -f1)
    poke=$(grep -m1 '^sheet: visible' <<<"$output" | grep -oE '[0-9]+ ms after the poke' | cut -d' ' -f1)
    if [ -z "$start" ]; then
        echo "startup: no sheet in $name, round $round: $(grep -m1 -E '^(sheet|drvsim):' <<<"$output")"
        start=-
    fi
    echo "$name $round ${poke:--} $start" >>"$work/times"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "startup: ${#cases[@]} cases, a warm-up round and $runs rounds (load average $load_before)"
: >"$work/times"
for ((round = 0; round <= runs; round++)); do
    for ((i = 0; i < ${#cases[@]}; i++)); do
        run_case "${cases[(i + round) % ${#cases[@]}]}" "$round"
    done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

python3 - "$work/times" "$runs" "$load_before" "$load_after" "$(basename "$largest")" \
    "$(stat -c %s "$largest")" "$(nproc)" "${cases[@]}" <<'PY'
import statistics
import sys

times_file, runs, load_before, load_after, largest, largest_size, cores = sys.argv[1:8]
cases = sys.argv[8:]
poke, start = {}, {}
for line in open(times_file):
    name, round_, p, s = line.split()
    if round_ == "0":
        continue  # the warm-up
    if p != "-":
        poke.setdefault(name, []).append(int(p))
    if s != "-":
        start.setdefault(name, []).append(int(s))


def median(name, table):
    values = table.get(name)
    return statistics.median(values) if values else None


def cell(value, width):
    return f"{value:>{width}.0f}" if value is not None else f"{'-':>{width}}"


def spread(name, table):
    values = table.get(name)
    return f"{min(values)}-{max(values)}" if values else "-"


titles = {
    "floor": "floor: bare sheet, 6 empty pages",
    "demo-answering": "demo PPD, answering printer",
    "demo-silent": "demo PPD, silent printer",
    "demo-none": "demo PPD, no printer query",
    "largest-answering": "largest PPD, answering printer",
    "largest-silent": "largest PPD, silent printer",
    "largest-none": "largest PPD, no printer query",
}
floor = median("floor", start)
print(f"Start-up under Wine: medians of {runs} runs in ms (ranges in brackets), document "
      f"properties; largest PPD {largest} ({int(largest_size) // 1024} KB)")
print(f"load average {load_before} before, {load_after} after, on {cores} cores")
print(f"{'':34} {'poke->sheet':>11} {'(range)':>11} {'start->sheet':>12} {'(range)':>11} "
      f"{'/ floor':>7}")
order = ["floor"] + [c for c in titles if c != "floor" and c in cases]
for name in order:
    p, s = median(name, poke), median(name, start)
    ratio = f"{s / floor:7.2f}" if s is not None and floor else f"{'-':>7}"
    print(f"{titles[name]:34} {cell(p, 11)} {spread(name, poke):>11} {cell(s, 12)} "
          f"{spread(name, start):>11} {ratio}")
missing = [c for c in order if len(start.get(c, [])) < int(runs)]
if missing:
    print("runs without a sheet in: " + ", ".join(missing))

verdicts = []
for ppd in ("demo", "largest"):
    s = median(f"{ppd}-answering", start)
    if s is not None and floor:
        verdicts.append(f"{ppd} answering {s / floor:.2f} x floor "
                        f"({'met' if s <= 1.5 * floor else 'not met'}: 1.5)")
for ppd in ("demo", "largest"):
    p = median(f"{ppd}-silent", poke)
    if p is not None:
        verdicts.append(f"{ppd} silent {p:.0f} ms ({'met' if p <= 1600 else 'not met'}: 1600)")
print("RESULT goals: " + "; ".join(verdicts))
PY
