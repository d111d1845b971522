#!/usr/bin/env bash
# The Features page's main roads on the real program under Wine: drvsim starts vela40ps.exe as
# the driver does, drives the page and its dialogs with the features_*.txt scripts beside this
# file (mouse and keyboard), and the answers are checked field by field.
#
#   tests/e2e/features_e2e.sh BUILD_DIR     (a mingw build with bin/vela40ps.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver).
# Prints one line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:?usage: features_e2e.sh BUILD_DIR}
source "$root/scripts/wine-env"

for exe in vela40ps drvsim; do
    [ -f "$build/bin/$exe.exe" ] || { echo "features_e2e: $build/bin/$exe.exe is missing"; exit 2; }
done

printer="Vela Features E2E"
# The program reads the PPD beside the driver file: tests/pages/data/features.ppd.
driver=$(winepath -w "$root/tests/pages/data/features.dll" 2>/dev/null | tr -d '\r')
work=$(mktemp -d "${TMPDIR:-/tmp}/features-e2e.XXXXXX")
# Header files to browse for: one with a long name, one deep below short-named folders.
headers="$WINEPREFIX/drive_c/vela-features-e2e"
long_header="$headers/a header file whose name is far too long for the field.ps"
deep="$headers/abcdefgh/abcdefgh/abcdefgh/abcdefgh/abcdefgh"
trap 'rm -rf "$work" "$headers"' EXIT
mkdir -p "$deep"
echo '%!PS' >"$long_header"
echo '%!PS' >"$deep/header.ps"

passed=0
failed=0
report() { # NAME STATUS [DETAIL]
    if [ "$2" = ok ]; then
        passed=$((passed + 1))
        echo "PASS $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1: $3"
        sed 's/^/    /' "$work/$1.log" 2>/dev/null
    fi
}

# run_case NAME SCRIPT DRVSIM-OPTIONS...: the answer is left in $work/NAME.answer, what was
# sent in $work/NAME.sent.
run_case() {
    local name=$1 script=$2
    shift 2
    (cd "$work" && timeout 120 wine "$build/bin/drvsim.exe" --printer "$printer" \
        --driver "$driver" --script "$(winepath -w "$here/$script" | tr -d '\r')" \
        --answer "$name.answer" --sent "$name.sent" "$@" </dev/null >"$work/$name.log" 2>&1)
    local rc=$?
    if [ $rc -ne 0 ]; then
        report "$name" fail "drvsim exit status $rc: $(grep -m1 '^drvsim:' "$work/$name.log")"
        return 1
    fi
    return 0
}

# check_fields NAME FIELD=OFFSET:VALUE[:TYPE]...: fields of the answer's block; TYPE is h (16
# bits, the default), i (32 bits) or s (a text).
check_fields() {
    local name=$1
    shift
    python3 - "$work/$name.answer" "$@" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 1312, f"answer of {len(data)} bytes"
bad = []
for assignment in sys.argv[2:]:
    field, rest = assignment.split("=", 1)
    offset, value = rest.split(":", 1)
    kind = "h"
    if value[-2:] in (":h", ":i", ":s"):
        value, kind = value[:-2], value[-1]
    offset = int(offset) + 12
    if kind == "s":
        got = data[offset:data.index(b"\0", offset)].decode("cp1250")
    else:
        got = str(struct.unpack_from("<" + kind, data, offset)[0])
    if got != value:
        bad.append(f"{field} (offset {offset - 12}) is {got!r}, not {value!r}")
if bad:
    print("; ".join(bad))
    sys.exit(1)
PY
}

# check_unchanged NAME: the answer's block is the block sent, but for the colour flag the
# program sets from the PPD.
check_unchanged() {
    python3 - "$work/$1.sent" "$work/$1.answer" <<'PY'
import sys
sent, answer = (open(p, "rb").read() for p in sys.argv[1:3])
assert len(answer) == 1312, f"answer of {len(answer)} bytes"
changed = [i for i in range(1300) if sent[12 + i] != answer[12 + i] and i not in (147, 148)]
if changed:
    print("changed block bytes:", changed[:20])
    sys.exit(1)
PY
}

# The keyboard and the wheel on the closed resolution list: 1200 dpi (code 3).
if run_case features_keyboard features_keyboard.txt; then
    detail=$(check_fields features_keyboard resolutionCode=193:3 resolutionDpi=189:1200:i)
    [ $? -eq 0 ] && report features_keyboard ok || report features_keyboard fail "$detail"
fi

# Graphics options and halftones, from the standard halftone; toner saving then rules 1200 dpi
# out, and 300 dpi is chosen.
if run_case features_graphics features_graphics.txt --set halftoneType=7; then
    detail=$(check_fields features_graphics resolutionCode=193:1 resolutionDpi=189:300:i \
        halftoneType=197:10 printQuality=199:1 tonerSaving=201:1 invertImage=203:0 \
        mirrorImage=205:1 rotation=207:1 imageHalftone=209:4 textHalftone=211:10 \
        graphicsHalftone=213:0)
    [ $? -eq 0 ] && report features_graphics ok || report features_graphics fail "$detail"
fi

# Document options with the disk installed.
if run_case features_documents features_documents.txt --set diskInstalled=1; then
    detail=$(check_fields features_documents collate=609:1 copies=611:5 scale=613:150 \
        reprintEnabled=615:1 reprintName=617:faktura:s notifyByEmail=681:1 \
        emailAddress=683:tlac@example.sk:s)
    [ $? -eq 0 ] && report features_documents ok || report features_documents fail "$detail"
fi

# PostScript options.
if run_case features_postscript features_postscript.txt; then
    detail=$(check_fields features_postscript useDsc=531:0 allowPsEmulation=533:0 \
        printErrorInfo=535:1 useExternalHeader=537:1 'externalHeaderPath=539:C:\vela\HEADER.PS:s' \
        endOfDocType=603:2 ctrlDPlacement=605:3 jobWaitTimeout=607:120)
    [ $? -eq 0 ] && report features_postscript ok || report features_postscript fail "$detail"
fi

# The header file browsed for: the long path is stored in a short form that names the same
# file; the deep one is refused.
if run_case features_header features_header.txt; then
    stored=$(python3 -c '
import sys
data = open(sys.argv[1], "rb").read()
print(data[12 + 539:data.index(b"\0", 12 + 539)].decode("cp1250"))' "$work/features_header.answer")
    unix=$(winepath -u "$stored" 2>/dev/null | tr -d '\r')
    if [ ${#stored} -gt 63 ] || [[ "$stored" == *" "* ]] || ! [ "$unix" -ef "$long_header" ]; then
        report features_header fail "the stored header path \"$stored\" is not a short form of the file"
    else
        detail=$(check_fields features_header useExternalHeader=537:1)
        [ $? -eq 0 ] && report features_header ok || report features_header fail "$detail"
    fi
fi

# The colour options dialog: a profile saved in the registry and chosen again in the quick
# colour list.
profiles="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer\\Color Profiles"
wine reg delete "$profiles" /f </dev/null >/dev/null 2>&1
if run_case features_colour features_colour.txt; then
    detail=$(check_fields features_colour colorProfileIndex=503:0 colorProfileName=215:"Moje farby":s \
        colorSeparation=507:1 crdMatching=511:1 iccMatching=509:0)
    status=$?
    if [ $status -eq 0 ] && ! wine reg query "$profiles" /v "Moje farby" </dev/null 2>/dev/null |
        tr -d '\r' | grep -q 'Moje farby *REG_BINARY'; then
        detail="no stored profile \"Moje farby\""
        status=1
    fi
    [ $status -eq 0 ] && report features_colour ok || report features_colour fail "$detail"
fi
wine reg delete "$profiles" /f </dev/null >/dev/null 2>&1

# Every dialog cancelled: the block comes back as it was sent.
if run_case features_cancel features_cancel.txt --set diskInstalled=1; then
    detail=$(check_unchanged features_cancel)
    [ $? -eq 0 ] && report features_cancel ok || report features_cancel fail "$detail"
fi

echo "RESULT $passed of $((passed + failed)) features cases passed"
[ $failed -eq 0 ]
