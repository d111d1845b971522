# shellcheck shell=bash
# What the end-to-end runners (tests/e2e/*_e2e.sh) share: sourced by each after it has set
# `here` (its folder) and `root` (the clone). Brings scripts/lib.sh (vela_on_exit: what to do on
# exit).
source "$root/scripts/lib.sh"

# e2e_begin RUNNER BUILD_DIR EXE...: $build (absolute), the Wine environment of scripts/wine-env,
# the programs bin/EXE.exe checked (status 2 when one is missing) and $work, a fresh folder
# removed on exit.
e2e_begin() {
    local runner=$1 exe
    build=$(cd "${2:?usage: $runner.sh BUILD_DIR}" && pwd) || exit 2
    shift 2
    source "$root/scripts/wine-env"
    for exe in "$@"; do
        [ -f "$build/bin/$exe.exe" ] || { echo "$runner: $build/bin/$exe.exe is missing"; exit 2; }
    done
    work=$(mktemp -d "${TMPDIR:-/tmp}/$runner.XXXXXX")
    vela_on_exit "rm -rf '$work'"
}

# winpath FILE: the Windows path of a file.
winpath() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# The tally. A case collects its problems with `fail`; finish_case NAME prints PASS, or FAIL
# with the problems and drvsim's output for the case. report NAME STATUS [DETAIL] ends a case
# that passed when STATUS is ok or 0 and otherwise failed with DETAIL.
passed=0
failed=0
problems=()
fail() { problems+=("$*"); }
finish_case() {
    if [ ${#problems[@]} -eq 0 ]; then
        passed=$((passed + 1))
        echo "PASS $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1: ${problems[*]}"
        sed 's/^/    /' "$work/$1.log" 2>/dev/null
    fi
    problems=()
}
report() {
    [ "$2" = ok ] || [ "$2" = 0 ] || fail "${3:-}"
    finish_case "$1"
}
# e2e_end WHAT: the RESULT line; the status is non-zero when a case failed.
e2e_end() {
    echo "RESULT $passed of $((passed + failed)) $1 cases passed"
    [ $failed -eq 0 ]
}

# drv NAME SCRIPT DRVSIM-OPTIONS...: drvsim drives the program for $printer with SCRIPT beside
# the runner (none when empty), with a time bound. The answer is left in $work/NAME.answer, the
# message sent in $work/NAME.sent and drvsim's output in $work/NAME.log; a failed run is a
# problem of the case, and drv's status.
drv() {
    local name=$1 script=$2
    shift 2
    local args=(--printer "$printer" --answer "$name.answer" --sent "$name.sent")
    [ -n "$script" ] && args+=(--script "$(winpath "$here/$script")")
    (cd "$work" && timeout 120 wine "$build/bin/drvsim.exe" "${args[@]}" "$@" \
        </dev/null >"$work/$name.log" 2>&1)
    local rc=$?
    [ $rc -eq 0 ] ||
        fail "drvsim exit status $rc: $(tr -d '\r' <"$work/$name.log" | grep -m1 '^drvsim:')"
    return $rc
}
# run_case NAME SCRIPT DRVSIM-OPTIONS...: drv with the runner's $driver; a failed run ends the
# case.
run_case() {
    local name=$1 script=$2
    shift 2
    drv "$name" "$script" --driver "$driver" "$@" && return 0
    finish_case "$name"
    return 1
}

# field NAME FILE OFFSET TYPE: a field of $work/NAME.FILE (answer or sent) at a block offset:
# TYPE is a struct letter (h, i, ...) or text.
field() {
    python3 - "$work/$1.$2" "$3" "$4" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
offset, kind = int(sys.argv[2]) + 12, sys.argv[3]
if kind == "text":
    print(data[offset:data.index(b"\0", offset)].decode("cp1250"))
else:
    print(struct.unpack_from("<" + kind, data, offset)[0])
PY
}
# expect_field NAME OFFSET TYPE VALUE [WHAT]: a field of the answer's block.
expect_field() {
    local got
    got=$(field "$1" answer "$2" "$3" 2>/dev/null)
    [ "$got" = "$4" ] || fail "${5:-offset $2} is \"$got\", expected \"$4\""
}

# check_fields NAME FIELD=OFFSET:VALUE[:TYPE]...: fields of the answer's block; TYPE is h (16
# bits, the default), i (32 bits) or s (a text). Prints what differs; the status says whether
# anything did.
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
