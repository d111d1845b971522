#!/usr/bin/env bash
# The colour dialogs on real controls under Wine, with the demo printer's resident and stored
# colour profiles in the registry and the download manager stub registered: dlgview --demo runs
# each dialog as the program does, drvsim --no-driver drives it with the colour_*.txt scripts
# beside this file, and the block the dialog left, the registry records and the stub's log are
# checked byte for byte.
#
#   tests/e2e/colour_e2e.sh BUILD_DIR     (a mingw build with bin/dlgview.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver). Prints one
# line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/e2e_lib.sh"
e2e_begin colour_e2e "${1:-}" dlgview drvsim

printer="Vela Colour E2E"
printer_key="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer"
ppd=$(winpath "$root/samples/vela-demo.ppd")

# The demo printer's colour profiles, under a printer of the test's own.
wine reg delete "$printer_key" /f </dev/null >/dev/null 2>&1
python3 - "$root/samples/vela-demo.reg" "$work/printer.reg" "$printer" <<'PY'
import sys
source, target, printer = sys.argv[1:]
demo = "Printers\\Vela ColorLaser 40 PS\\"
out, keep = ["REGEDIT4", ""], False
for line in open(source, encoding="ascii"):
    line = line.rstrip("\n")
    if line.startswith("["):
        keep = demo + "Printer Resident" in line or demo + "Color Profiles" in line
        line = line.replace("Vela ColorLaser 40 PS", printer)
    if keep:
        out.append(line)
open(target, "w", encoding="ascii").write("\r\n".join(out) + "\r\n")
PY
wine regedit /S "$(winepath -w "$work/printer.reg")" </dev/null >/dev/null 2>&1

# The download manager stub in a folder whose name has a blank, registered under App Paths.
stub_dir="$WINEPREFIX/drive_c/vela e2e"
rm -rf "$stub_dir"
mkdir -p "$stub_dir"
stub_cc=i686-w64-mingw32-gcc-posix
[ "$VELA_MINGW_PRESET" = mingw ] || stub_cc=x86_64-w64-mingw32-gcc-posix
"$stub_cc" -municode -mwindows -O2 -o "$stub_dir/OZProfDl.exe" \
    "$root/samples/download_manager_stub.c" || { echo "colour_e2e: cannot build the stub"; exit 2; }
cat >"$work/stub.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\OZProfDl.exe]
@="C:\\vela e2e\\OZProfDl.exe"
REG
wine regedit /S "$(winepath -w "$work/stub.reg")" </dev/null >/dev/null 2>&1

# run_case NAME DIALOG SCRIPT: the block the dialog left is in $work/NAME.block.
run_case() {
    local name=$1 dialog=$2 script=$3
    local block
    block=$(winpath "$work/$name.block")
    (cd "$work" && timeout 120 wine "$build/bin/drvsim.exe" --no-driver \
        --program "$(winpath "$build/bin/dlgview.exe")" \
        --args "$dialog --demo \"$ppd\" --printer \"$printer\" --save-block \"$block\"" \
        --script "$(winpath "$here/$script")" \
        </dev/null >"$work/$name.log" 2>&1)
    local rc=$?
    if [ $rc -ne 0 ] || [ ! -f "$work/$name.block" ]; then
        report "$name" fail "drvsim exit status $rc: $(grep -m1 '^drvsim:' "$work/$name.log")"
        return 1
    fi
    return 0
}

# check_block NAME FIELD=OFFSET:VALUE... : 16-bit fields, or texts written FIELD=OFFSET:'TEXT'.
check_block() {
    local name=$1
    shift
    python3 - "$work/$name.block" "$@" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 1300, f"block of {len(data)} bytes"
bad = []
for assignment in sys.argv[2:]:
    field, rest = assignment.split("=", 1)
    offset, value = rest.split(":", 1)
    offset = int(offset)
    if value.startswith("'"):
        want = value.strip("'").encode("cp1250")
        got = data[offset:data.index(b"\0", offset)]
    else:
        want = int(value)
        got = struct.unpack_from("<h", data, offset)[0]
    if got != want:
        bad.append(f"{field} (offset {offset}) is {got!r}, not {want!r}")
if bad:
    print("; ".join(bad))
    sys.exit(1)
PY
}

# check_value SUBKEY NAME SIZE OFFSET:VALUE...: a REG_BINARY value of the printer's key, its size
# and 16-bit fields or texts (as check_block). SUBKEY "-" checks that the value is absent.
check_value() {
    local subkey=$1 name=$2 size=$3
    shift 3
    wine reg query "$printer_key\\$subkey" </dev/null 2>/dev/null | tr -d '\r' |
        python3 -c '
import re, struct, sys
name, size, checks = sys.argv[1], sys.argv[2], sys.argv[3:]
# Names are compared by their ASCII letters: reg prints the others in the console code page.
plain = lambda text: re.sub(r"[^A-Za-z0-9 ]", "", text).strip()
found = None
for line in sys.stdin.buffer.read().decode("utf-8", "replace").splitlines():
    if "REG_BINARY" in line:
        value, data = line.split("REG_BINARY", 1)
        if plain(value) == plain(name):
            found = bytes.fromhex(data.strip())
if size == "-":
    if found is not None:
        print(f"{name} is stored"); sys.exit(1)
    sys.exit(0)
if found is None:
    print(f"no REG_BINARY value {name}"); sys.exit(1)
bad = [] if len(found) == int(size) else [f"{len(found)} bytes"]
for check in checks:
    offset, value = check.split(":", 1)
    offset = int(offset)
    if value.startswith("\x27"):
        want, got = value.strip("\x27").encode("cp1250"), found[offset:found.index(b"\0", offset)]
    else:
        want, got = int(value), struct.unpack_from("<h", found, offset)[0]
    if got != want:
        bad.append(f"offset {offset} is {got!r}, not {want!r}")
if bad:
    print(name + ": " + "; ".join(bad)); sys.exit(1)
' "$name" "$size" "$@"
}

# The download manager for colour profiles: started with " 0", its path quoted.
log="$stub_dir/OZProfDl.log"
if run_case colour_download_manager 117 colour_download_manager.txt; then
    for _ in $(seq 100); do [ -s "$log" ] && break; sleep 0.1; done
    line=$(head -n1 "$log" 2>/dev/null | tr -d '\r')
    if [ "$line" = '"C:\vela e2e\OZProfDl.exe" 0' ]; then
        report colour_download_manager ok
    else
        report colour_download_manager fail "the stub logged '$line'"
    fi
fi

# A resident RGB source added and chosen, a resident simulation chosen.
if run_case colour_icc_profiles 117 colour_icc_profiles.txt; then
    detail=$(check_block colour_icc_profiles rgbSource=513:108 \
        "rgbSourceProfileName=279:'E2E monitor'" colorSimulation=515:125 \
        "simulationProfileName=407:'Ofset ISO Coated'" destinationProfile=517:143 &&
        check_value "Printer Resident\\RGB Source Profiles" "E2E monitor" 362 4:0 \
            "6:'E2E monitor'" "102:'E2EMON.ICC'")
    report colour_icc_profiles $? "$detail"
fi

# A profile saved under a new name; the overwrite declined; no "Vlastné".
if run_case colour_options_save 112 colour_options_save.txt; then
    detail=$(check_block colour_options_save "colorProfileName=215:'Grafy a tabulky'" \
        colorProfileIndex=503:0 crdMatching=511:1 iccMatching=509:0 colorSeparation=507:0 &&
        check_value "Color Profiles" "Moje foto" 316 "0:'Moje foto'" 288:0 292:1 294:1 298:108 \
            "64:'Monitor Vela 24'" 312:137 "256:'Adobe RGB 1998'" 314:0 &&
        check_value "Color Profiles" "Grafy a tabulky" 316 292:0 296:1 &&
        check_value "Color Profiles" "Vlastné" -)
    report colour_options_save $? "$detail"
fi

# CRD matching configured: the changed settings stored as "Vlastné".
if run_case colour_options_custom 112 colour_options_custom.txt; then
    detail=$(check_block colour_options_custom "colorProfileName=215:'Vlastné'" \
        colorProfileIndex=503:0 crdMatching=511:1 iccMatching=509:0 textCrd=523:2 \
        crdColorSpace=527:137 "crdColorSpaceName=471:'Adobe RGB 1998'" &&
        check_value "Color Profiles" "Vlastné" 316 "0:'Vlastné'" 288:0 296:1 308:2 312:137)
    report colour_options_custom $? "$detail"
fi

e2e_end "colour dialog"
