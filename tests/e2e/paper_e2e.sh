#!/usr/bin/env bash
# The Layout and Paper pages' main roads on the real program under Wine, mouse and keyboard: drvsim starts
# vela40ps.exe as the driver does, drives the sheet with the paper_*.txt scripts beside this
# file, and the answers and the "CustomSizes" registry record are checked byte for byte.
#
#   tests/e2e/paper_e2e.sh BUILD_DIR     (a mingw build with bin/vela40ps.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver).
# Prints one line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/e2e_lib.sh"
e2e_begin paper_e2e "${1:-}" vela40ps drvsim

printer="Vela Paper E2E"
key="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer\\PrinterDriverData"
# The program reads the PPD beside the driver file: tests/pages/data/paper.ppd.
driver=$(winpath "$root/tests/pages/data/paper.dll")

# The driver's limits for the custom size (100 to 300 mm) and an A4 sheet fed short edge first.
custom=(--set customSizeMinWidth=1000 --set customSizeMaxWidth=3000
        --set customSizeMinHeight=1000 --set customSizeMaxHeight=3000
        --set customSizeWidth=210 --set customSizeHeight=297 --set customSizeFeedEdge=9)

# check_record NAME WIDTH HEIGHT: the CustomSizes value, in hundredths of a millimetre.
check_record() {
    local name=$1 width=$2 height=$3
    wine reg query "$key" /v CustomSizes </dev/null 2>/dev/null | tr -d '\r' |
        python3 -c '
import struct, sys
width, height = int(sys.argv[1]), int(sys.argv[2])
rows = [line.split() for line in sys.stdin if "CustomSizes" in line]
if not rows or rows[0][1] != "REG_BINARY":
    print("no REG_BINARY CustomSizes value"); sys.exit(1)
got = bytes.fromhex(rows[0][2])
name = "Voliteľný formát papiera".encode("cp1250")
want = name + bytes(64 - len(name)) + struct.pack("<iiihh", width, height, 1, 0, 258)
if got != want:
    print(f"record {got.hex()} is not {want.hex()}"); sys.exit(1)
' "$width" "$height"
}

forget_record() {
    wine reg delete "$key" /v CustomSizes /f </dev/null >/dev/null 2>&1 || true
}

# A4 and OK: paper size 9 at offset 169.
if run_case paper_a4 paper_a4.txt; then
    detail=$(check_fields paper_a4 paperSize=169:9 inputSlot=171:7 mediaType=173:1 outputBin=129:1)
    report paper_a4 $? "$detail"
fi

# The custom size in millimetres, starting from inches.
forget_record
if run_case paper_custom_mm paper_custom_mm.txt "${custom[@]}" --set customSizeUnit=0; then
    detail=$(check_fields paper_custom_mm paperSize=169:257 inputSlot=171:257 outputBin=129:1 \
        duplexMode=163:1 customSizeUnit=1296:1 &&
        check_record paper_custom_mm 21550 28000)
    report paper_custom_mm $? "$detail"
fi

# The custom size in inches, starting from millimetres: 8.5 x 11 in is 215.9 x 279.4 mm.
forget_record
if run_case paper_custom_inch paper_custom_inch.txt "${custom[@]}" --set customSizeUnit=1; then
    detail=$(check_fields paper_custom_inch paperSize=169:257 customSizeUnit=1296:0 &&
        check_record paper_custom_inch 21590 27940)
    report paper_custom_inch $? "$detail"
fi

# Booklet and duplex on the Layout page, then transparencies that rule out duplex printing.
if run_case paper_layout_booklet paper_layout_booklet.txt; then
    detail=$(check_fields paper_layout_booklet pagesPerSheet=165:2 duplexMode=163:1 \
        mediaType=173:2 printPageBorders=167:0)
    report paper_layout_booklet $? "$detail"
fi
forget_record

# The keyboard and the wheel on closed lists: A5 (11), transparencies (2), two pages per sheet.
if run_case paper_keyboard paper_keyboard.txt; then
    detail=$(check_fields paper_keyboard paperSize=169:11 mediaType=173:2 pagesPerSheet=165:2)
    report paper_keyboard $? "$detail"
fi

e2e_end "paper and layout"
