#!/usr/bin/env bash
# The run of the real program under Wine, driven by drvsim as the driver: answers after OK and
# Cancel, runs that end before the sheet, odd pokes, a wrong topic or item, two advise links,
# the driver hanging up while the sheet is shown, the pages of document and device properties,
# the PPD path rule, the colour flag, the reset from the About page (also after choices on the
# Layout page), Help with no help file beside the program and Help with the HTML Help file there.
# Answers are checked byte for byte.
#
#   tests/e2e/program_e2e.sh BUILD_DIR     (a mingw build with bin/vela40ps.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver). Prints one
# line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/e2e_lib.sh"
e2e_begin program_e2e "${1:-}" vela40ps drvsim

printer="Vela E2E"
driver_data="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer\\PrinterDriverData"

# The PPDs beside short driver paths on drive C: (the block holds at most 63 characters).
ppd_dir="$WINEPREFIX/drive_c/vela-e2e"
rm -rf "$ppd_dir"
mkdir -p "$ppd_dir"
cp "$root/samples/vela-demo.ppd" "$ppd_dir/VELAE2E.PPD"
printf '*PPD-Adobe: "4.3"\r\n*NickName: "CMYK only"\r\n*Extensions: CMYK\r\n' >"$ppd_dir/CMYK.PPD"
printf '*PPD-Adobe: "4.3"\r\n*NickName: "Mono"\r\n*ColorDevice: False\r\n' >"$ppd_dir/MONO.PPD"
# The last three characters of the driver path become "ppd", whatever they are.
cp "$ppd_dir/CMYK.PPD" "$ppd_dir/rule.abcppd"
demo='C:\vela-e2e\VELAE2E.DLL'

# The printer's default font table; its current one is absent until the reset copies it.
cat >"$work/fonts.reg" <<REG
REGEDIT4

[${driver_data/HKLM/HKEY_LOCAL_MACHINE}]
"DfltFontSub"=hex:41,72,69,61,6c,00,48,65,6c,76,65,74,69,63,61,00,00
REG
wine regedit /S "$(winepath -w "$work/fonts.reg")" </dev/null >/dev/null 2>&1
wine reg delete "$driver_data" /v FontSub /f </dev/null >/dev/null 2>&1

# expect_line NAME TEXT: drvsim printed a line that is exactly TEXT (after the CR).
expect_line() {
    tr -d '\r' <"$work/$1.log" | grep -qxF -- "$2" || fail "no line \"$2\""
}
expect_no_line() {
    ! tr -d '\r' <"$work/$1.log" | grep -qF -- "$2" || fail "unexpected \"$2\""
}
# The program ended on its own (drvsim waits a bounded time for that).
expect_ended() {
    tr -d '\r' <"$work/$1.log" | grep -q '^program: ended, exit code 0' || fail "the program did not end"
}

# bytes_are NAME HEX: the answer file holds exactly these bytes.
bytes_are() {
    local got
    got=$(od -An -tx1 -v "$work/$1.answer" 2>/dev/null | tr -d ' \n')
    [ "$got" = "$2" ] || fail "answer bytes $got, expected $2"
}

# The answer after OK: size 1312, type 1, owner window 0, the colour flag from the PPD, every
# other byte of the block, the random reserved ones included, as sent.
check_ok_answer() { # NAME
    local name=$1
    [ "$(stat -c %s "$work/$name.answer" 2>/dev/null)" = 1312 ] || { fail "no 1312-byte answer"; return; }
    [ "$(od -An -tx1 -N12 "$work/$name.answer" | tr -d ' \n')" = 200500000100000000000000 ] ||
        fail "header $(od -An -tx1 -N12 "$work/$name.answer" | tr -d ' \n')"
    python3 - "$work/$name.sent" "$work/$name.answer" <<'PY' || fail "block bytes differ"
import sys
sent, answer = (open(p, "rb").read()[12:1312] for p in sys.argv[1:3])
# colorDevice (147, 2 bytes) comes from the PPD.
changed = [i for i in range(1300) if sent[i] != answer[i] and i not in (147, 148)]
if changed:
    print("    changed block bytes:", changed[:20])
    sys.exit(1)
PY
}

# --- OK and Cancel -----------------------------------------------------------------------------
# The sheet's owner is a window of drvsim, as the driver's own window would be.
drv ok program_ok.txt --driver "$demo" --random-reserved 1234 --owner self
expect_line ok "poke 1: 1312 bytes, acknowledged"
expect_line ok "reserved bytes differing: 0"
tr -d '\r' <"$work/ok.log" | grep -qE '^message\.ownerWindow: [1-9][0-9]* -> 0$' ||
    fail "the owner window did not become 0"
check_ok_answer ok
expect_field ok 147 h 1 colorDevice
expect_ended ok
finish_case ok

drv cancel program_cancel.txt --driver "$demo"
bytes_are cancel 0800000002000000
expect_line cancel "answer: cancel, 8 bytes, size 8, type 2"
expect_ended cancel
finish_case cancel

# --- Help with no help file beside the program ---------------------------------------------------
# The program says so in a message of its own and the sheet goes on; OK then answers the driver.
# The build's .chm is set aside for this case.
if find "$build/bin" -maxdepth 1 -iname vela40ps.hlp | grep -q .; then
    fail "a WinHelp file lies beside the program"
fi
chm="$build/bin/vela40ps.chm"
if [ -f "$chm" ]; then
    mv "$chm" "$work/vela40ps.chm"
    vela_on_exit "[ -f '$work/vela40ps.chm' ] && mv '$work/vela40ps.chm' '$chm'"
fi
drv help program_help.txt --driver "$demo" --random-reserved 16
expect_line help "answer: settings, 1312 bytes, size 1312, type 1, owner window 0"
check_ok_answer help
expect_ended help
finish_case help
[ -f "$work/vela40ps.chm" ] && mv "$work/vela40ps.chm" "$chm"

# --- Help with the HTML Help file beside the program --------------------------------------------
# Help, F1 and a dialog's "Pomocník" open the HTML Help window (its class and caption checked by
# drvsim); the topics asked for are read from the trace of Wine's viewer, which may have no
# HTML engine to draw them. The sheet answers OK, and the program ends with its help closed.
if [ -f "$chm" ]; then
    WINEDEBUG=+htmlhelp drv help-chm program_help_chm.txt --driver "$demo" --random-reserved 17
    expect_line help-chm "answer: settings, 1312 bytes, size 1312, type 1, owner window 0"
    check_ok_answer help-chm
    expect_ended help-chm
    chm_url="mk:@MSITStore:$(winpath "$chm" | sed 's/\\/\\\\/g')::"
    urls=$(tr -d '\r' <"$work/help-chm.log" | sed -n 's/.*:navigate_url L"\(.*\)"$/\1/p')
    for topic in /103.htm /104.htm#c1020 /121.htm; do
        grep -qxF -- "$chm_url$topic" <<<"$urls" || fail "topic $topic was not asked for"
    done
    grep -q 'HH_DISPLAY_TEXT_POPUP' "$work/help-chm.log" || fail "no popup text was asked for"
    grep -q 'HH_CLOSE_ALL' "$work/help-chm.log" || fail "the help was not closed"
    # The viewer is loaded with the first help request, not with the program.
    awk '/^sheet: visible/ && !s {s = NR} /:htmlhelp:DllMain/ && !d {d = NR}
         END {exit !(s && d && s < d)}' "$work/help-chm.log" ||
        fail "the help viewer was loaded before the sheet was shown"
    finish_case help-chm
else
    echo "SKIP help-chm: no $chm (the build skips the help without chmcmd-3.2.2)"
fi

# --- runs that end before the sheet -------------------------------------------------------------
drv no-poke "" --driver "$demo" --no-poke
expect_line no-poke "sheet: none"
expect_line no-poke "answer: none"
expect_ended no-poke
finish_case no-poke

drv missing-ppd program_ok.txt --driver 'C:\vela-e2e\MISSING.DLL'
expect_line missing-ppd "poke 1: 1312 bytes, acknowledged"
expect_line missing-ppd "sheet: none"
expect_line missing-ppd "answer: none"
expect_ended missing-ppd
finish_case missing-ppd

drv other-topic "" --driver "$demo" --topic SYSTEM
expect_line other-topic "connection: refused or no server"
expect_line other-topic "sheet: none"
expect_line other-topic "answer: none"
expect_ended other-topic
finish_case other-topic

drv other-item "" --driver "$demo" --item Status
expect_line other-item "poke 1: 1312 bytes, not acknowledged"
expect_line other-item "sheet: none"
expect_line other-item "answer: none"
expect_ended other-item
finish_case other-item

# --- odd pokes ----------------------------------------------------------------------------------
drv ignored-pokes program_ok.txt --driver "$demo" --random-reserved 5 --poke 28 --poke 0 --poke 1312
expect_line ignored-pokes "poke 1: 28 bytes, acknowledged"
expect_line ignored-pokes "poke 2: 0 bytes, acknowledged"
expect_line ignored-pokes "poke 3: 1312 bytes, acknowledged"
check_ok_answer ignored-pokes
finish_case ignored-pokes

drv long-poke program_ok.txt --driver "$demo" --random-reserved 6 --poke 1400
expect_line long-poke "poke 1: 1400 bytes, acknowledged"
check_ok_answer long-poke
finish_case long-poke

# --- two advise links: one gets the message, the other a length of 0 ----------------------------
drv two-links program_ok.txt --driver "$demo" --links 2
expect_line two-links "connection: VELA40PSSRV DDI, 2 advise links"
full=$(tr -d '\r' <"$work/two-links.log" | grep -c '^link [12]: answer of 1312 bytes$')
empty=$(tr -d '\r' <"$work/two-links.log" | grep -c '^link [12]: data message without data (length 0)$')
[ "$full" = 1 ] && [ "$empty" = 1 ] || fail "$full full and $empty empty answers"
check_ok_answer two-links
finish_case two-links

# --- the driver hangs up while the sheet is shown ----------------------------------------------
drv hang-up "" --driver "$demo" --disconnect-when-shown
expect_line hang-up "connection: ended by drvsim while the sheet is shown"
expect_line hang-up "answer: none"
expect_ended hang-up
finish_case hang-up

# --- pages of document and device properties ----------------------------------------------------
drv document-pages program_document_pages.txt --driver "$demo"
expect_line document-pages "answer: cancel, 8 bytes, size 8, type 2"
finish_case document-pages

drv device-pages program_device_pages.txt --driver "$demo" --device
expect_line device-pages "answer: cancel, 8 bytes, size 8, type 2"
finish_case device-pages

# --- the PPD path: the last three characters of the driver path become "ppd" ------------------
drv ppd-path program_ok.txt --driver 'C:\vela-e2e\rule.abcdef'
check_ok_answer ppd-path
finish_case ppd-path

# --- the colour flag comes from the PPD -------------------------------------------------------
drv cmyk program_ok.txt --driver 'C:\vela-e2e\CMYK.DLL' --set colorDevice=0
expect_line cmyk "colorDevice: 0 -> 1"
expect_field cmyk 147 h 1 colorDevice
finish_case cmyk

drv mono program_ok.txt --driver 'C:\vela-e2e\MONO.DLL' --set colorDevice=1
expect_line mono "colorDevice: 1 -> 0"
expect_field mono 147 h 0 colorDevice
finish_case mono

# --- the reset from the About page ------------------------------------------------------------
drv reset program_reset.txt --driver "$demo" --random-reserved 77 --set copies=5 --set scale=50 \
    --set paperSize=1 --set mediaType=2 --set resolutionCode=3 --set resolutionDpi=1200 \
    --set watermarkCode=3 --set watermarkName=TAJNE --set fontSubstitution=0 --set tonerSaving=1 \
    --set accountingAuthor=jana
expect_field reset 611 h 1 copies
expect_field reset 613 h 100 scale
expect_field reset 169 h 9 "paperSize (the PPD's A4)"
expect_field reset 173 h 1 "mediaType (PlainPaper)"
expect_field reset 193 h 2 "resolutionCode (600dpi)"
expect_field reset 189 i 600 resolutionDpi
expect_field reset 197 h 7 "halftoneType (Standard)"
expect_field reset 836 h 1 watermarkCode
expect_field reset 840 text "Žiadny" watermarkName
expect_field reset 872 text "Vodoznak" watermarkText
expect_field reset 1278 h 1 fontSubstitution
expect_field reset 201 h 0 tonerSaving
expect_field reset 1004 text jana "accountingAuthor (kept)"
expect_line reset "reserved bytes differing: 0"
# The current font table is now the default one, byte for byte.
fonts=$(wine reg query "$driver_data" /v FontSub </dev/null 2>/dev/null | tr -d '\r' |
    awk '$1 == "FontSub" {print toupper($3)}')
[ "$fonts" = 417269616C0048656C7665746963610000 ] || fail "FontSub is \"$fonts\""
finish_case reset

# The reset after choices on the Layout page: its radio buttons do not write them back.
drv reset-layout program_reset_layout.txt --driver "$demo" --set duplexerInstalled=1
expect_field reset-layout 161 h 1 orientation
expect_field reset-layout 163 h 1 duplexMode
expect_ended reset-layout
finish_case reset-layout

e2e_end "end-to-end"
