#!/usr/bin/env bash
# The Fonts and Settings pages on the real program under Wine, driven by drvsim as the driver:
# the font substitution table edited and checked in the registry ("FontSub") byte for byte, kept
# after leaving the page and cancelling, dropped by Cancel on the page, restored from the default
# one; installable options moved by hand with their flags, the trays paired and the accounting
# data checked in the answer.
#
#   tests/e2e/settings_e2e.sh BUILD_DIR     (a mingw build with bin/vela40ps.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver). Prints one
# line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/e2e_lib.sh"
e2e_begin settings_e2e "${1:-}" vela40ps drvsim

printer="Vela Settings E2E"
key="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer\\PrinterDriverData"
logon='HKLM\Network\Logon'
# The logged-on user exists only for these runs.
vela_on_exit "wine reg delete '$logon' /f </dev/null >/dev/null 2>&1"

# The demo PPD beside a short driver path on drive C: (the block holds at most 63 characters).
ppd_dir="$WINEPREFIX/drive_c/vela-settings-e2e"
rm -rf "$ppd_dir"
mkdir -p "$ppd_dir"
cp "$root/samples/vela-demo.ppd" "$ppd_dir/VELA.PPD"
driver='C:\vela-settings-e2e\VELA.DLL'

# hex TEXT...: the code page 1250 bytes of the texts, each followed by its NUL, in upper-case
# hexadecimal; an empty TEXT is the table's terminating empty name.
hex() {
    python3 -c 'import sys; print(b"".join(a.encode("cp1250") + b"\0" for a in sys.argv[1:]).hex().upper())' "$@"
}
reg_quiet() { wine reg "$@" </dev/null >/dev/null 2>&1; }

# The printer's default table and resident fonts (Helvetica twice), the logged-on user.
default_table=$(hex "Liberation Sans" Helvetica Tahoma "Načítať" "")
reg_quiet add "$key" /v DfltFontSub /t REG_BINARY /d "$default_table" /f
reg_quiet add "$key" /v RESFONT /t REG_BINARY /d "$(hex Helvetica Courier Times-Roman Helvetica "")" /f
reg_quiet add "$logon" /v username /t REG_SZ /d e2e-user /f

# The current table as REG_BINARY in upper-case hexadecimal; "absent" when there is none.
current_table() {
    local row
    row=$(wine reg query "$key" /v FontSub </dev/null 2>/dev/null | tr -d '\r' | awk '$1 == "FontSub" {print $2, toupper($3)}')
    echo "${row:-absent}"
}
expect_table() { # HEX
    local got
    got=$(current_table)
    [ "$got" = "REG_BINARY $1" ] || fail "FontSub is \"$got\", expected REG_BINARY $1"
}
set_table() { # HEX, or nothing to remove the table
    if [ -n "${1:-}" ]; then
        reg_quiet add "$key" /v FontSub /t REG_BINARY /d "$1" /f
    else
        reg_quiet delete "$key" /v FontSub /f
    fi
}

expect_cancel() {
    [ "$(od -An -tx1 "$work/$1.answer" 2>/dev/null | tr -d ' \n')" = 0800000002000000 ] ||
        fail "the answer is no cancellation"
}

# --- the substitution table ---------------------------------------------------------------------
# No current table: the page starts from the default one; a pair changed, two appended.
set_table
drv fonts-table settings_fonts_table.txt --driver "$driver" --set fontSubstitution=1
expect_table "$(hex "Liberation Sans" Courier Tahoma "Načítať" "Liberation Serif" Times-Roman \
    "Liberation Mono" "Načítať" "")"
expect_field fonts-table 1278 h 1 fontSubstitution
finish_case fonts-table

# Edits of a page that was left stay written when the sheet is cancelled.
set_table "$(hex "Liberation Sans" Helvetica "")"
drv fonts-left-then-cancel settings_fonts_left_then_cancel.txt --driver "$driver" \
    --set fontSubstitution=1
expect_table "$(hex "Liberation Sans" Helvetica "Liberation Mono" Courier "")"
expect_cancel fonts-left-then-cancel
finish_case fonts-left-then-cancel

# Cancel on the page drops the edits made there.
set_table "$(hex "Liberation Sans" Helvetica "")"
drv fonts-cancel settings_fonts_cancel.txt --driver "$driver" --set fontSubstitution=1
expect_table "$(hex "Liberation Sans" Helvetica "")"
expect_cancel fonts-cancel
finish_case fonts-cancel

# The restore button makes the default table current again; downloading TrueType fonts is
# chosen and sent.
set_table "$(hex "Liberation Sans" Courier "")"
drv fonts-restore-download settings_fonts_restore_download.txt --driver "$driver" \
    --set fontSubstitution=1
expect_table "$default_table"
expect_field fonts-restore-download 1278 h 0 fontSubstitution
finish_case fonts-restore-download

# --- installable options, by hand (the printer did not answer) --------------------------------
drv options-by-hand settings_options_by_hand.txt --driver "$driver" \
    --device --set duplexerInstalled=1 \
    --set bin1Installed=1 --set bin2Installed=0 --set diskInstalled=0 \
    --set accountingAuthor=driver --set accountingHost=old --set accountingSeriesNumber=old
expect_field options-by-hand 988 B 1 "diskInstalled (added)"
expect_field options-by-hand 989 B 0 "duplexerInstalled (removed)"
expect_field options-by-hand 990 B 1 bin1Installed
expect_field options-by-hand 991 B 1 "bin2Installed (paired with the first tray)"
expect_field options-by-hand 1000 B 0 "stackerInstalled (not addable beside the first tray)"
expect_field options-by-hand 1004 text e2e-user "accountingAuthor (the logged-on user)"
expect_field options-by-hand 1132 text SER-42 accountingSeriesNumber
expect_field options-by-hand 1068 text PC-E2E "accountingHost (typed, then Enter)"
finish_case options-by-hand

e2e_end "settings and fonts"
