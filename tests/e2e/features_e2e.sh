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
source "$here/e2e_lib.sh"
e2e_begin features_e2e "${1:-}" vela40ps drvsim

printer="Vela Features E2E"
# The program reads the PPD beside the driver file: tests/pages/data/features.ppd.
driver=$(winpath "$root/tests/pages/data/features.dll")
# Header files to browse for: one with a long name, one deep below short-named folders.
headers="$WINEPREFIX/drive_c/vela-features-e2e"
long_header="$headers/a header file whose name is far too long for the field.ps"
deep="$headers/abcdefgh/abcdefgh/abcdefgh/abcdefgh/abcdefgh"
vela_on_exit "rm -rf '$headers'"
mkdir -p "$deep"
echo '%!PS' >"$long_header"
echo '%!PS' >"$deep/header.ps"

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
    report features_keyboard $? "$detail"
fi

# A list dismissed twice chooses nothing, Tab moves on, the copies counted up by the arrows.
if run_case features_dismiss_tab_spin features_dismiss_tab_spin.txt; then
    detail=$(check_fields features_dismiss_tab_spin resolutionCode=193:2 copies=611:3)
    report features_dismiss_tab_spin $? "$detail"
fi

# Graphics options and halftones, from the standard halftone; toner saving then rules 1200 dpi
# out, and 300 dpi is chosen.
if run_case features_graphics features_graphics.txt --set halftoneType=7; then
    detail=$(check_fields features_graphics resolutionCode=193:1 resolutionDpi=189:300:i \
        halftoneType=197:10 printQuality=199:1 tonerSaving=201:1 invertImage=203:0 \
        mirrorImage=205:1 rotation=207:1 imageHalftone=209:4 textHalftone=211:10 \
        graphicsHalftone=213:0)
    report features_graphics $? "$detail"
fi

# Document options with the disk installed.
if run_case features_documents features_documents.txt --set diskInstalled=1; then
    detail=$(check_fields features_documents collate=609:1 copies=611:5 scale=613:150 \
        reprintEnabled=615:1 reprintName=617:faktura:s notifyByEmail=681:1 \
        emailAddress=683:tlac@example.sk:s)
    report features_documents $? "$detail"
fi

# PostScript options.
if run_case features_postscript features_postscript.txt; then
    detail=$(check_fields features_postscript useDsc=531:0 allowPsEmulation=533:0 \
        printErrorInfo=535:1 useExternalHeader=537:1 'externalHeaderPath=539:C:\vela\HEADER.PS:s' \
        endOfDocType=603:2 ctrlDPlacement=605:3 jobWaitTimeout=607:120)
    report features_postscript $? "$detail"
fi

# The header file browsed for: the long path is stored in a short form that names the same
# file; the deep one is refused.
if run_case features_header features_header.txt; then
    stored=$(field features_header answer 539 text)
    unix=$(winepath -u "$stored" 2>/dev/null | tr -d '\r')
    if [ ${#stored} -gt 63 ] || [[ "$stored" == *" "* ]] || ! [ "$unix" -ef "$long_header" ]; then
        report features_header fail "the stored header path \"$stored\" is not a short form of the file"
    else
        detail=$(check_fields features_header useExternalHeader=537:1)
        report features_header $? "$detail"
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
    report features_colour $status "$detail"
fi
wine reg delete "$profiles" /f </dev/null >/dev/null 2>&1

# Every dialog cancelled: the block comes back as it was sent.
if run_case features_cancel features_cancel.txt --set diskInstalled=1; then
    detail=$(check_unchanged features_cancel)
    report features_cancel $? "$detail"
fi

e2e_end "features"
