#!/usr/bin/env bash
# The start-up printer query end to end, on the real program under Wine: the program asks the
# printer's port address (the "ZEL Port" monitor's 127.0.0.1) on UDP port 161, where net-snmp's
# snmpd serves the answers of startup-printer-agent; drvsim starts the program for a printer of
# startup_printer.ppd and presses OK, and the installed-option flags of the answer (block
# offsets 988 to 1003, the three reserved bytes among them) are checked byte for byte:
#   answering      the agent's answers install the disk, the duplex unit, multiple resolutions,
#                  trays 2 and 3, the mailbox and the finisher, remove the envelope feeder and
#                  the stacker, and leave the feeder and tray 4 as the driver sent them;
#   community      the agent drops requests of another community: the flags come back as sent;
#   silent         nothing listens on the port: the flags come back as sent.
# The printer's address in the answer is 127.0.0.1 when it answered and empty otherwise.
#
#   tests/e2e/startup_e2e.sh BUILD_DIR     (a mingw build with bin/vela40ps.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver), snmpd, and
# root or sudo for port 161; without these it says so and exits 77 (skipped). Port 161 is shared
# with the other network runs of the machine: the runner holds /tmp/vela-net.lock throughout.
# Prints one line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
skip() {
    echo "SKIP startup_e2e: $*"
    exit 77
}

snmpd=${VELA_SNMPD:-/usr/sbin/snmpd}
[ -x "$snmpd" ] || skip "$snmpd not found (apt-get install snmpd)"
run_root=()
if [ "$(id -u)" -ne 0 ]; then
    sudo -n true 2>/dev/null || skip "port 161 needs root or sudo, and this user has neither"
    run_root=(sudo -n)
fi
if [ -z "${VELA_NET_LOCKED:-}" ]; then
    VELA_NET_LOCKED=1 flock -w 900 -E 75 /tmp/vela-net.lock "${BASH_SOURCE[0]}" "$@"
    status=$?
    [ $status -ne 75 ] || skip "/tmp/vela-net.lock stayed taken for 15 minutes"
    exit $status
fi
source "$here/e2e_lib.sh"
e2e_begin startup_e2e "${1:-}" vela40ps drvsim

printer="Vela Startup E2E"
port=VELA_STARTUP_E2E
printers='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
monitor='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Monitors\ZEL Port\Ports'
agent=
stop_agent() {
    [ -n "$agent" ] || return 0
    "${run_root[@]}" kill "$(cat "$work/snmpd.pid" 2>/dev/null || echo "$agent")" 2>/dev/null
    wait "$agent" 2>/dev/null
    agent=
}
forget_printer() {
    wine reg delete "${printers/HKEY_LOCAL_MACHINE/HKLM}\\$printer" /f </dev/null >/dev/null 2>&1
    wine reg delete "${monitor/HKEY_LOCAL_MACHINE/HKLM}\\$port" /f </dev/null >/dev/null 2>&1
}
vela_on_exit "stop_agent; forget_printer"

# The PPD beside the driver path the block names (at most 63 characters), and the printer on a
# "ZEL Port" port at 127.0.0.1.
ppd_dir="$WINEPREFIX/drive_c/vela-e2e-startup"
rm -rf "$ppd_dir"
mkdir -p "$ppd_dir"
cp "$here/startup_printer.ppd" "$ppd_dir/STARTUP.PPD"
driver='C:\vela-e2e-startup\STARTUP.DLL'
cat >"$work/printer.reg" <<REG
REGEDIT4

[$printers\\$printer]
"Port"="$port"

[$monitor\\$port]
"IPAddress"="127.0.0.1"
REG
wine regedit /S "$(winepath -w "$work/printer.reg")" </dev/null >/dev/null 2>&1

# The agent on 127.0.0.1:161, answering community "public" only. Its state and log stay in the
# runner's folder; it is stopped by its PID.
start_agent() {
    cp "$here/startup-printer-agent" "$work/startup-printer-agent"
    chmod +x "$work/startup-printer-agent"
    cat >"$work/snmpd.conf" <<CONF
agentaddress udp:127.0.0.1:161
rocommunity public 127.0.0.1
pass .1.3.6.1.4.1.480 $work/startup-printer-agent
CONF
    : >"$work/snmpd.log"
    "${run_root[@]}" env SNMP_PERSISTENT_DIR="$work" SNMPCONFPATH="$work" MIBS= \
        "$snmpd" -f -C -c "$work/snmpd.conf" -Lf "$work/snmpd.log" -p "$work/snmpd.pid" \
        </dev/null >/dev/null 2>&1 &
    agent=$!
    local tries
    for tries in $(seq 100); do
        grep -q "NET-SNMP version" "$work/snmpd.log" && return 0
        kill -0 "$agent" 2>/dev/null || break
        sleep 0.05
    done
    stop_agent
    return 1
}

# Something of another run, or the system's agent, on port 161 would answer the silent case.
port_161_taken() {
    ss -Hlun 2>/dev/null | awk '{print $4}' | grep -qE '^(0\.0\.0\.0|127\.0\.0\.1|\*|\[::\]):161$'
}

# The flags as the driver sends them: every flag the printer decides differs from its answer,
# the feeder and tray 4 have no answer to take; the reserved bytes 995 to 997 are random.
sent_flags=(--set diskInstalled=0 --set duplexerInstalled=0 --set bin1Installed=0
            --set bin2Installed=0 --set bin3Installed=1 --set bin4Installed=0
            --set bin5Installed=0 --set feederInstalled=1 --set envelopeFeederInstalled=1
            --set stackerInstalled=1 --set finisherInstalled=0 --set mailboxInstalled=0
            --set multiresInstalled=0)

# start_with NAME COMMUNITY: drvsim presses OK on the first page; the answer and the sent message
# are left in $work/NAME.answer and $work/NAME.sent.
start_with() {
    drv "$1" program_ok.txt --driver "$driver" --set "snmpCommunity=$2" "${sent_flags[@]}" \
        --random-reserved 988
    [ "$(stat -c %s "$work/$1.answer" 2>/dev/null)" = 1312 ] || fail "no 1312-byte answer"
}

# check_answer NAME FLAGS ADDRESS: the 16 bytes at block offsets 988 to 1003 (FLAGS: 16 bytes
# in hexadecimal, "rr" for a reserved byte, which must be as sent), the printer's address and
# the port name.
check_answer() {
    local detail
    [ -f "$work/$1.answer" ] || return 0 # start_with reported it
    detail=$(python3 - "$work/$1.sent" "$work/$1.answer" "$2" "$3" "$port" 2>&1 <<'PY'
import sys
sent, answer = (open(p, "rb").read()[12:1312] for p in sys.argv[1:3])
flags, address, port = sys.argv[3:6]
bad = []
if len(answer) != 1300:
    print("no answer"); sys.exit(1)
want = bytes(sent[988 + i] if flags[2 * i:2 * i + 2] == "rr" else int(flags[2 * i:2 * i + 2], 16)
             for i in range(16))
got = answer[988:1004]
if got != want:
    bad.append(f"flags 988-1003 are {got.hex(' ')}, not {want.hex(' ')}")
def text(offset, size):
    field = answer[offset:offset + size]
    return field[:field.index(0)].decode("cp1250") if 0 in field else None
if text(1228, 16) != address:
    bad.append(f"printerAddress is {text(1228, 16)!r}, not {address!r}")
if text(1244, 32) != port:
    bad.append(f"portName is {text(1244, 32)!r}, not {port!r}")
print("; ".join(bad))
sys.exit(1 if bad else 0)
PY
    ) || fail "$detail"
}

# Offsets 988-1003: disk, duplexer, bin1-bin5, 3 reserved, feeder, envelope feeder, stacker,
# finisher, mailbox, multiple resolutions.
as_sent=00000000010000rrrrrr010101000000
installed=01010101010000rrrrrr010000010101

start_agent || skip "snmpd cannot listen on 127.0.0.1:161: $(grep -m1 -iE 'error|cannot|denied' "$work/snmpd.log")"

start_with answering public
check_answer answering "$installed" 127.0.0.1
finish_case answering

start_with community private
check_answer community "$as_sent" ""
finish_case community

stop_agent
if port_161_taken; then
    fail "something else listens on UDP port 161: $(ss -Hlun | awk '$4 ~ /:161$/')"
else
    start_with silent public
    check_answer silent "$as_sent" ""
fi
finish_case silent

e2e_end "start-up printer"
