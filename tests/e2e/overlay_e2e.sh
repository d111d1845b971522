#!/usr/bin/env bash
# The Overlay page and the watermark editor on the real program under Wine: drvsim starts
# vela40ps.exe as the driver does, drives the sheet with the overlay_*.txt scripts beside this
# file, and the answers' overlay bytes (747 to 835) and watermark bytes (836 to 987) and the
# "Watermark Profiles" registry values are checked byte for byte.
#
#   tests/e2e/overlay_e2e.sh BUILD_DIR     (a mingw build with bin/vela40ps.exe and bin/drvsim.exe)
#
# Needs the Wine environment of scripts/wine-env (VELA_WINEPREFIX chooses the prefix), a display
# and a running wineserver (scripts/lib.sh: vela_start_xvfb, vela_start_wineserver).
# Prints one line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/e2e_lib.sh"
e2e_begin overlay_e2e "${1:-}" vela40ps drvsim

printer="Vela Overlay E2E"
profiles="HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\$printer\\Watermark Profiles"
# The program reads the PPD beside the driver file: tests/pages/data/paper.ppd (a colour device).
driver=$(winpath "$root/tests/pages/data/paper.dll")

# profile_hex NAME: the hex digits of the stored profile NAME, empty when there is none.
profile_hex() {
    wine reg query "$profiles" /v "$1" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$1" 'index($0, "    " name "    REG_BINARY    ") == 1 {print $NF}'
}

forget_profiles() {
    wine reg delete "$profiles" /f </dev/null >/dev/null 2>&1 || true
}

# check NAME PYTHON: runs PYTHON with `sent` and `answer` (the 1300-byte blocks), `profile`
# (the stored profile's bytes or None, from $profile_hex) and helpers; it prints what is wrong.
check() {
    local name=$1 code=$2
    python3 - "$work/$name.sent" "$work/$name.answer" "${profile_hex:-}" <<PY
import struct, sys
sent = open(sys.argv[1], "rb").read()[12:1312]
raw = open(sys.argv[2], "rb").read()
assert len(raw) == 1312, f"answer of {len(raw)} bytes"
answer = raw[12:]
profile = bytes.fromhex(sys.argv[3]) if sys.argv[3] else None
bad = []
def int16(offset): return struct.unpack_from("<h", answer, offset)[0]
def text(offset, size):
    field = answer[offset:offset + size]
    if b"\0" not in field: bad.append(f"text at {offset} has no terminator"); return ""
    end = field.index(b"\0")
    if any(field[end:]): bad.append(f"bytes after the text at {offset} are not zero")
    return field[:end].decode("cp1250")
def expect(what, got, want):
    if got != want: bad.append(f"{what} is {got!r}, not {want!r}")
# The block outside [begin, end) is as sent, but for the colour flag (from the PPD) and the
# installed options (from the start-up query).
def unchanged_outside(begin, end):
    ignored = set(range(147, 149)) | set(range(988, 1004)) | set(range(begin, end))
    changed = [i for i in range(1300) if i not in ignored and answer[i] != sent[i]]
    if changed: bad.append(f"bytes {changed[:10]} changed")
def slot(index, enabled, name, device):
    offset = 747 + 17 * index
    want = struct.pack("<h", enabled) + name.encode() + bytes(13 - len(name)) + struct.pack("<h", device)
    expect(f"slot {index}", answer[offset:offset + 17].hex(), want.hex())
$code
if bad:
    print("; ".join(bad))
    sys.exit(1)
PY
}

# --- the even and odd overlays (bytes 747 to 835; the page also settles the watermark) -----------
if run_case overlay_slots overlay_slots.txt --set diskInstalled=1; then
    detail=$(check overlay_slots '
for index in (0, 1, 4):
    expect(f"slot {index}", answer[747 + 17 * index:764 + 17 * index], sent[747 + 17 * index:764 + 17 * index])
slot(2, 1, "EVEN.OVL", 2)
slot(3, 1, "ODDPAGES.OVL", 10)
expect("cyclic numbers", answer[832:836], sent[832:836])
unchanged_outside(747, 988)')
    report overlay_slots $? "$detail"
fi

# --- the cyclic name retyped after the focus went through the numbers: sent as shown ---------
if run_case overlay_cyclic_retyped overlay_cyclic_retyped.txt --set diskInstalled=1; then
    detail=$(check overlay_cyclic_retyped '
for index in range(4):
    expect(f"slot {index}", answer[747 + 17 * index:764 + 17 * index], sent[747 + 17 * index:764 + 17 * index])
slot(4, 1, "NEW.OVL", 3)
expect("cyclic numbers", (int16(832), int16(834)), (5, 3))
unchanged_outside(747, 988)')
    report overlay_cyclic_retyped $? "$detail"
fi

# --- a number the driver sent out of range is checked once its field is enabled ---------------
if run_case overlay_sent_numbers overlay_sent_numbers.txt --set diskInstalled=1 \
    --set overlayCyclicFirstPage=0 --set overlayCyclicPeriod=3; then
    detail=$(check overlay_sent_numbers '
slot(4, 1, "CYC.OVL", 0)
expect("cyclic numbers", (int16(832), int16(834)), (4, 3))
unchanged_outside(747, 988)')
    report overlay_sent_numbers $? "$detail"
fi

# --- no disk: nothing of the overlays changes, not even what the checks would refuse -----------
if run_case overlay_no_disk overlay_no_disk.txt --set diskInstalled=0 \
    --set overlayCyclicFirstPage=0 --set overlayCyclicPeriod=500; then
    detail=$(check overlay_no_disk '
expect("overlay bytes", answer[747:836].hex(), sent[747:836].hex())')
    report overlay_no_disk $? "$detail"
fi

# --- a new watermark (bytes 836 to 987) and its profile ------------------------------------------
forget_profiles
if run_case overlay_watermark_add overlay_watermark_add.txt; then
    profile_hex=$(profile_hex "Logo firmy")
    detail=$(check overlay_watermark_add '
expect("watermarkCode", int16(836), 8)
expect("watermarkFirstPageOnly", int16(838), 1)
expect("watermarkName", text(840, 32), "Logo firmy")
expect("watermarkText", text(872, 64), "Dôverné")
text(936, 32)
expect("size, angle, colour", (int16(972), int16(974), int16(976)), (120, 30, 1))
expect("style, intensity", (int16(970), int16(978)), (1, 50))
expect("background, outline", (answer[980], answer[981]), (1, 0))
expect("position, x, y", (int16(982), int16(984), int16(986)), (1, -50, 25))
expect("stored profile", profile.hex() if profile else None, answer[840:988].hex())
unchanged_outside(836, 988)')
    report overlay_watermark_add $? "$detail"
fi
profile_hex=

# --- the stored watermark deleted -----------------------------------------------------------------
if run_case overlay_watermark_delete overlay_watermark_delete.txt --set watermarkCode=8 \
    --set "watermarkName=Logo firmy"; then
    [ -z "$(profile_hex "Logo firmy")" ] || echo "the profile is still stored" >"$work/left"
    detail=$(check overlay_watermark_delete '
expect("watermarkCode", int16(836), 1)
expect("watermarkName", text(840, 32), "Žiadny")
expect("watermarkText", text(872, 64), "Žiadny")')
    [ $? -eq 0 ] && [ ! -f "$work/left" ] && report overlay_watermark_delete ok ||
        report overlay_watermark_delete fail "$detail $(cat "$work/left" 2>/dev/null)"
fi

# --- a stored watermark whose profile is gone falls back to "Žiadny" with its code ---------------
if run_case overlay_watermark_gone overlay_watermark_gone.txt --set watermarkCode=8 \
    --set watermarkName=Zmazany; then
    detail=$(check overlay_watermark_gone '
expect("watermarkCode", int16(836), 1)
expect("watermarkName", text(840, 32), "Žiadny")')
    report overlay_watermark_gone $? "$detail"
fi
forget_profiles

e2e_end "overlay and watermark"
