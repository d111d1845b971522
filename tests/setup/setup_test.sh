#!/usr/bin/env bash
# The package step of setup (scripts/setup-packages) run against stand-ins for apt-get, dpkg,
# dpkg-query, sudo, id and sleep placed first on PATH, and the Wine route scripts/wine-env
# chooses. Covers a mirror in mid-sync, a broken i386 index on a machine without package lists,
# the order of the steps (required packages with the machine's own architecture, then i386),
# the i386 architecture and the package lists put back when the 32-bit Wine cannot be
# installed, a required package that cannot be installed, an interrupted install and the
# policy-rc.d on every way out.
# Never runs the real apt and writes only into its own temporary folder.
#
#   tests/setup/setup_test.sh
#
# Prints one line per case and a RESULT line; the exit status is non-zero when a case failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/setup-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
bin=$work/bin
state=$work/state
policy=$work/sbin/policy-rc.d
mkdir -p "$bin"

# The stand-ins keep what they see and do in $state (beside their folder): `missing` lists the
# packages not installed, `update` the outcome of each apt-get update in turn (mirror, partial,
# warned, ok; ok once the list is used up; i386broken fails when i386 is among the
# architectures and then drops every list, as apt does for a broken index on a machine that had
# no lists yet), `arches` the foreign architectures, `install-fails` a package per line with the
# lines apt prints when it cannot install it (a line "!TERM" stops setup itself), `calls` every
# call with the architectures apt worked with. An update that works writes one list per
# architecture into the lists folder ($work/lists).
cat >"$bin/apt-get" <<'SH'
#!/usr/bin/env bash
state=$(cd "${0%/*}/../state" && pwd)
command=
packages=()
arches=
while [ $# -gt 0 ]; do
    case $1 in
    -o) shift; [[ $1 != APT::Architectures=* ]] || arches=${1#*=} ;;
    -*) ;;
    update | install) [ -n "$command" ] && packages+=("$1") || command=$1 ;;
    *) packages+=("$1") ;;
    esac
    shift
done
policy=$(cat "$state/policy-path")
refused=none
[ -x "$policy" ] && { "$policy" snmpd start; refused=$?; }
[ -n "$arches" ] || arches=$(cat "$state/arches" | tr '\n' ' ' | sed 's/^/amd64 /; s/ *$//' | tr ' ' ,)
echo "apt-get $command ${packages[*]} frontend=${DEBIAN_FRONTEND:-unset} policy=$refused arches=$arches" >>"$state/calls"
if [ "$command" = update ]; then
    n=$(grep -c '^apt-get update' "$state/calls")
    outcome=$(sed -n "${n}p" "$state/update")
    if [ "$outcome" = i386broken ]; then
        outcome=ok
        [[ ,$arches, != *,i386,* ]] || { rm -f "$state/../lists"/*; outcome=mirror; }
    fi
    case ${outcome:-ok} in
    mirror)
        cat >&2 <<'APT'
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80]
   Hashes of expected file:
    - Filesize:376004 [weak]
    - SHA256:5aa58ea44688978d17b28ffab762d89251fefc64aa2548ac43e228e5fd91d903
   Release file created at: Mon, 07 Dec 2026 23:22:40 +0000
E: Some index files failed to download. They have been ignored, or old ones used instead.
APT
        exit 100 ;;
    partial)
        echo "W: Failed to fetch http://deb.debian.org/debian/dists/bookworm/InRelease  Temporary failure resolving 'deb.debian.org'" >&2
        echo "W: Some index files failed to download. They have been ignored, or old ones used instead." >&2
        exit 0 ;;
    warned)
        echo "W: http://example.org/dists/stable/InRelease: Key is stored in legacy trusted.gpg keyring (/etc/apt/trusted.gpg)" >&2
        exit 0 ;;
    esac
    for arch in ${arches//,/ }; do echo "update $n" >"$state/../lists/$arch-Packages"; done
    exit 0
fi
for p in "${packages[@]}"; do
    reason=$(awk -v p="$p" '$1 == p { sub(/^[^ ]+ /, ""); print }' "$state/install-fails")
    [ -n "$reason" ] || continue
    [ "$reason" != "!TERM" ] || kill -TERM "$PPID"
    printf '%s\n' "$reason" >&2
    exit 100
done
for p in "${packages[@]}"; do
    grep -vxF -- "$p" "$state/missing" >"$state/missing.new"
    mv "$state/missing.new" "$state/missing"
done
SH
cat >"$bin/dpkg-query" <<'SH'
#!/bin/sh
for package; do :; done
if grep -qxF -- "$package" "${0%/*}/../state/missing"; then
    echo "dpkg-query: no packages found matching $package" >&2
    exit 1
fi
printf 'install ok installed'
SH
cat >"$bin/dpkg" <<'SH'
#!/usr/bin/env bash
state=$(cd "${0%/*}/../state" && pwd)
case $1 in
--print-architecture) echo amd64 ;;
--print-foreign-architectures) cat "$state/arches" ;;
--add-architecture) echo "dpkg $*" >>"$state/calls"; echo "$2" >>"$state/arches" ;;
--remove-architecture)
    echo "dpkg $*" >>"$state/calls"
    grep -vxF -- "$2" "$state/arches" >"$state/arches.new"
    mv "$state/arches.new" "$state/arches" ;;
*) echo "dpkg stand-in: unexpected $*" >&2; exit 2 ;;
esac
SH
# sudo resets the environment, as the real one does by default.
cat >"$bin/sudo" <<'SH'
#!/usr/bin/env bash
state=$(cd "${0%/*}/../state" && pwd)
echo "sudo $*" >>"$state/calls"
# `sudo-refuses` lists the commands sudo refuses; empty, it refuses all.
if [ -e "$state/sudo-refuses" ] && { [ ! -s "$state/sudo-refuses" ] || grep -qxF -- "$1" "$state/sudo-refuses"; }; then
    echo "sudo: a terminal is required to read the password; either use the -S option to read from standard input or configure an askpass helper" >&2
    exit 1
fi
exec env -i PATH="$PATH" "$@"
SH
cat >"$bin/id" <<'SH'
#!/bin/sh
cat "${0%/*}/../state/uid"
SH
cat >"$bin/sleep" <<'SH'
#!/bin/sh
echo "sleep $*" >>"${0%/*}/../state/calls"
SH
chmod +x "$bin"/*
for tool in apt-get dpkg-query dpkg sudo id sleep; do
    if [ "$(PATH="$bin:$PATH" command -v "$tool")" != "$bin/$tool" ]; then
        echo "RESULT the stand-in for $tool is not first on PATH"
        exit 1
    fi
done

# fresh_machine MISSING...: a new state where only the packages named are missing, the user is
# not root, i386 is not yet a foreign architecture, the machine has lists from an earlier
# update and every apt call works.
fresh_machine() {
    rm -rf "$state" "$work/setup" "${policy%/*}" "$work/lists" "$work/lists.vela-saved"
    mkdir -p "$state" "${policy%/*}" "$work/lists/partial"
    echo "update 0" >"$work/lists/amd64-Packages"
    printf '%s\n' "$@" >"$state/missing"
    echo 1000 >"$state/uid"
    echo "$policy" >"$state/policy-path"
    : >"$state/arches"
    : >"$state/update"
    : >"$state/install-fails"
    : >"$state/calls"
}

# run_step: the package step; its output (both streams) in $work/out, its status in $status.
run_step() {
    PATH="$bin:$PATH" VELA_SETUP_DIR="$work/setup" VELA_POLICY_RC_D="$policy" \
        VELA_APT_RETRY_WAIT=7 VELA_APT_LISTS="$work/lists" "$root/scripts/setup-packages" \
        </dev/null >"$work/out" 2>&1
    status=$?
}

passed=0
failed=0
problems=()
fail() { problems+=("$*"); }
finish_case() { # NAME
    if [ ${#problems[@]} -eq 0 ]; then
        passed=$((passed + 1))
        echo "PASS $1"
    else
        failed=$((failed + 1))
        echo "FAIL $1: ${problems[*]}"
        sed 's/^/    out: /' "$work/out"
        sed 's/^/    call: /' "$state/calls"
    fi
    problems=()
}
expect_status() { [ "$status" -eq "$1" ] || fail "status $status, not $1"; }
expect_line() { grep -qxF -- "$1" "$work/out" || fail "no line \"$1\""; }
expect_text() { grep -qF -- "$1" "$work/out" || fail "no \"$1\" in the output"; }
expect_no_text() { ! grep -qF -- "$1" "$work/out" || fail "\"$1\" in the output"; }
expect_calls() { # COUNT PATTERN: lines of the call log matching the extended regex
    local n
    n=$(grep -cE -- "$2" "$state/calls")
    [ "$n" -eq "$1" ] || fail "$n calls matching /$2/, not $1"
}
expect_installed() {
    local p
    for p in "$@"; do
        ! grep -qxF -- "$p" "$state/missing" || fail "$p not installed"
    done
}
expect_no_policy() { [ ! -e "$policy" ] || fail "policy-rc.d left behind"; }
expect_order() { # PATTERN...: the first call matching each extended regex comes in this order
    local pattern line last=0
    for pattern; do
        line=$(grep -nE -- "$pattern" "$state/calls" | head -n 1 | cut -d: -f1)
        if [ -z "$line" ] || [ "$line" -le "$last" ]; then
            fail "/$pattern/ not after the step before"
            return
        fi
        last=$line
    done
}
expect_arches() { # FOREIGN...: the foreign architectures at the end
    [ "$(cat "$state/arches")" = "$(printf '%s\n' "$@" | sed '/^$/d')" ] ||
        fail "foreign architectures $(tr '\n' ' ' <"$state/arches")"
}
expect_lists() { # NAME:CONTENT...: the package lists at the end, nothing saved beside them
    local got want
    got=$(cd "$work/lists" && for f in *-Packages; do [ -e "$f" ] && echo "$f:$(cat "$f")"; done)
    want=$(printf '%s-Packages\n' "$@" | sed 's/:\(.*\)-Packages$/-Packages:\1/; /^-Packages$/d')
    [ "$got" = "$want" ] || fail "lists $(echo $got), not $(echo $want)"
    [ ! -e "$work/lists.vela-saved" ] || fail "saved lists left behind"
}

# Everything installed: nothing printed, no apt, no sudo.
fresh_machine
run_step
expect_status 0
[ ! -s "$work/out" ] || fail "output when everything is installed"
[ ! -s "$state/calls" ] || fail "calls when everything is installed"
finish_case everything_installed

# The machine of a newcomer during a mirror sync: apt-get update fails on one index twice, and
# without that index wine32:i386 cannot be installed. Setup says so and succeeds; the whole
# output is what the newcomer sees.
fresh_machine cmake snmpd wine32:i386
printf 'mirror\nmirror\n' >"$state/update"
cat >"$state/install-fails" <<'FAILS'
wine32:i386 E: Unable to correct problems, you have held broken packages.
FAILS
run_step
expect_status 0
cat >"$work/expected" <<OUT
setup: installing 3 packages
setup: apt-get update failed twice; going on with the package lists this machine has:
  E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80]
  E: Some index files failed to download. They have been ignored, or old ones used instead.
setup: wine32:i386 could not be installed, so the Windows tests, the demo and the screenshots use the 64-bit build; apt said: E: Unable to correct problems, you have held broken packages. ($work/setup/apt-install-optional.log); the package lists are as they were, and the i386 architecture is removed again
OUT
diff -u "$work/expected" "$work/out" >"$work/diff" || fail "output differs: $(cat "$work/diff")"
expect_calls 2 '^apt-get update .*arches=amd64$'
expect_calls 1 '^apt-get update .*arches=amd64,i386$'
expect_calls 1 '^sleep 7$'
expect_calls 1 '^sudo dpkg --add-architecture i386$'
# Required packages first and on their own: apt installs all or nothing.
expect_calls 1 '^apt-get install cmake snmpd frontend=noninteractive policy=101 arches=amd64$'
expect_calls 1 '^apt-get install wine32:i386 frontend=noninteractive policy=101 arches=amd64,i386$'
expect_installed cmake snmpd
expect_arches
expect_lists amd64:"update 0"
expect_no_policy
finish_case mirror_sync_newcomer

# The next run leaves the 32-bit Wine alone for a day: quiet, no apt, no sudo.
: >"$state/calls"
run_step
expect_status 0
[ ! -s "$work/out" ] || fail "output on the run after the failed 32-bit Wine"
[ ! -s "$state/calls" ] || fail "calls on the run after the failed 32-bit Wine"
finish_case wine32_not_retried_within_a_day

# A day later (the mirror in sync again) it is tried again; once it installs, the note of the
# failure is gone.
touch -d '2 days ago' "$work/setup/optional-packages-failed"
: >"$state/update"
: >"$state/install-fails"
: >"$state/calls"
run_step
expect_status 0
expect_line "setup: installing 1 package"
expect_calls 1 '^apt-get install wine32:i386 '
expect_installed wine32:i386
[ ! -e "$work/setup/optional-packages-failed" ] || fail "note of the failure kept"
expect_no_policy
finish_case wine32_retried_after_a_day

# apt-get update outcomes in turn -> update calls, and whether setup reports a failure: a
# failed or partial update is tried once more after the wait; a warning about a key is no
# failure.
while read -r name outcomes updates reported; do
    fresh_machine cmake
    tr , '\n' <<<"$outcomes" >"$state/update"
    run_step
    expect_status 0
    expect_calls "$updates" '^apt-get update .*arches=amd64$'
    expect_calls $((updates - 1)) '^sleep 7$'
    if [ "$reported" = yes ]; then
        expect_line "setup: apt-get update failed twice; going on with the package lists this machine has:"
    else
        expect_no_text "apt-get update failed"
    fi
    expect_no_text "Hashes of expected file"
    expect_installed cmake
    expect_no_policy
    finish_case "update_$name"
done <<'TABLE'
mirror_twice       mirror,mirror    2 yes
mirror_then_ok     mirror,ok        2 no
partial_twice      partial,partial  2 yes
partial_then_ok    partial,ok       2 no
key_warning        warned           1 no
ok                 ok               1 no
TABLE

# A required package that cannot be installed stops setup with apt's reason; the optional
# packages are not tried then.
fresh_machine snmpd wine32:i386
echo "snmpd E: Package 'snmpd' has no installation candidate" >"$state/install-fails"
run_step
expect_status 1
expect_line "setup: apt-get install failed:"
expect_line "  E: Package 'snmpd' has no installation candidate"
expect_line "setup: apt's full output is in $work/setup/apt-install.log"
expect_calls 0 '^apt-get install .*wine32'
expect_no_policy
finish_case required_package_fails

# sudo without a password at hand: every apt step fails with sudo's reason, status 1, no
# policy-rc.d.
fresh_machine cmake
touch "$state/sudo-refuses"
run_step
expect_status 1
expect_text "setup: cannot put $policy in place:"
expect_text "sudo: a terminal is required to read the password"
expect_no_policy
finish_case sudo_refuses

# sudo refuses only at the end (its grace time ran out): setup says the policy-rc.d is left.
fresh_machine cmake
echo rm >"$state/sudo-refuses"
run_step
expect_status 0
expect_installed cmake
expect_line "setup: cannot remove $policy, which keeps packaged services from starting: remove it by hand"
finish_case policy_cannot_be_removed

# Setup stopped while apt installs: the policy-rc.d goes with it.
fresh_machine cmake
echo "cmake !TERM" >"$state/install-fails"
run_step
[ "$status" -ne 0 ] || fail "status 0 after a stop"
expect_calls 1 '^apt-get install cmake .*policy=101 arches=amd64$'
expect_no_policy
finish_case stopped_during_install

# A policy-rc.d that was there before stays as it was, whether the install works or not.
for outcome in works fails; do
    fresh_machine cmake
    printf '#!/bin/sh\n# the site policy\nexit 101\n' >"$policy"
    chmod +x "$policy"
    cp "$policy" "$work/site-policy"
    [ "$outcome" = works ] || echo "cmake E: Unable to locate package cmake" >"$state/install-fails"
    run_step
    expect_calls 1 '^apt-get install cmake .*policy=101 arches=amd64$'
    cmp -s "$policy" "$work/site-policy" || fail "the site's policy-rc.d changed or went"
    finish_case "site_policy_kept_when_install_$outcome"
done

# As root, apt runs without sudo.
fresh_machine cmake
echo 0 >"$state/uid"
run_step
expect_status 0
expect_calls 0 '^sudo '
expect_calls 1 '^apt-get install cmake frontend=noninteractive policy=101 arches=amd64$'
expect_installed cmake
expect_no_policy
finish_case root_without_sudo

# A freshly made Debian root: no package lists yet, and the mirror's i386 index of one suite is
# broken (apt then drops the whole suite). The required packages are updated and installed with
# amd64 alone, so they install; the i386 update fails twice, and i386 and the lists go back to
# what they were, so the next apt-get update works as before.
fresh_machine cmake snmpd wine32:i386
rm -f "$work/lists"/*-Packages
printf 'i386broken\n%.0s' 1 2 3 4 >"$state/update"
run_step
expect_status 0
expect_calls 1 '^apt-get update .*arches=amd64$'
expect_calls 2 '^apt-get update .*arches=amd64,i386$'
expect_calls 1 '^apt-get install cmake snmpd .*arches=amd64$'
expect_calls 0 '^apt-get install wine32'
expect_installed cmake snmpd
expect_arches
expect_lists amd64:"update 1"
expect_calls 1 '^sudo dpkg --remove-architecture i386$'
expect_text "setup: wine32:i386 could not be installed, so the Windows tests, the demo and the screenshots use the 64-bit build; apt said: E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
expect_text "apt-update-optional.log); the package lists are as they were, and the i386 architecture is removed again"
expect_no_text "apt-get update failed twice"
expect_no_policy
finish_case fresh_root_broken_i386_index

# The order of the steps when everything works: the required packages with amd64 alone, then
# i386 added, updated and the 32-bit Wine installed; i386 stays, the saved lists go.
fresh_machine cmake wine32:i386
run_step
expect_status 0
expect_order '^apt-get update .*arches=amd64$' '^apt-get install cmake .*arches=amd64$' \
    '^sudo dpkg --add-architecture i386$' '^apt-get update .*arches=amd64,i386$' \
    '^apt-get install wine32:i386 .*policy=101 arches=amd64,i386$'
expect_installed cmake wine32:i386
expect_arches i386
expect_lists amd64:"update 2" i386:"update 2"
expect_no_policy
finish_case order_of_steps

# i386 added -> after a failed install of the 32-bit Wine (or a stop during it) the lists the
# i386 update wrote are gone and i386 with them; a machine that had i386 before keeps it.
while read -r name had_i386 failure arches_after; do
    fresh_machine wine32:i386
    [ "$had_i386" = no ] || echo i386 >"$state/arches"
    echo "i386 lists of an earlier update" >"$work/lists/i386-Packages"
    echo "wine32:i386 $failure" >"$state/install-fails"
    run_step
    [ "$status" -ne 0 ] || [ "$failure" != '!TERM' ] || fail "status 0 after a stop"
    expect_calls 1 '^apt-get update .*arches=amd64,i386$'
    expect_calls "$([ "$had_i386" = no ] && echo 1 || echo 0)" '^sudo dpkg --add-architecture i386$'
    expect_calls "$([ "$had_i386" = no ] && echo 1 || echo 0)" '^sudo dpkg --remove-architecture i386$'
    expect_arches ${arches_after//-/}
    expect_lists amd64:"update 0" i386:"i386 lists of an earlier update"
    expect_no_policy
    finish_case "optional_fails_$name"
done <<'TABLE'
i386_added        no   E:_Unable_to_correct_problems  -
i386_before       yes  E:_Unable_to_correct_problems  i386
stopped_mid_way   no   !TERM                          -
TABLE

# The route scripts/wine-env chooses: 32-bit loader (absent, refused by the kernel, working),
# VELA_WINEARCH -> architecture, text in the reason for the 64-bit route, prefix folder.
printf '#!/bin/sh\necho "Exec format error" >&2\nexit 126\n' >"$work/refused-loader"
printf '#!/bin/sh\necho wine-8.0\n' >"$work/working-loader"
chmod +x "$work/refused-loader" "$work/working-loader"
while read -r name loader forced arch reason prefix; do
    [ "$forced" != - ] || forced=
    [ "$reason" != - ] || reason=
    : >"$work/out"
    got=$(env -u VELA_WIN64_REASON -u VELA_WINEPREFIX VELA_WINEARCH="$forced" \
        VELA_WINE32_LOADER="$work/$loader" PATH="$PATH" bash -c \
        'source "$1"; printf "%s|%s|%s" "$VELA_WINEARCH" "$VELA_WIN64_REASON" "${WINEPREFIX##*/}"' \
        _ "$root/scripts/wine-env")
    IFS='|' read -r got_arch got_reason got_prefix <<<"$got"
    [ "$got_arch" = "$arch" ] || fail "architecture $got_arch, not $arch"
    if [ -z "$reason" ]; then
        [ -z "$got_reason" ] || fail "a reason \"$got_reason\" on the 32-bit route"
    else
        [[ $got_reason == *"${reason//_/ }"* ]] || fail "reason \"$got_reason\""
    fi
    [ "$got_prefix" = "$prefix" ] || fail "prefix $got_prefix, not $prefix"
    : >"$state/calls"
    finish_case "wine_env_$name"
done <<'TABLE'
no_wine32           absent-loader   -      win64  not_installed             wineprefix64
kernel_refuses      refused-loader  -      win64  cannot_run_32-bit         wineprefix64
wine32_works        working-loader  -      win32  -                         wineprefix
forced_win64        working-loader  win64  win64  win64_is_set              wineprefix64
forced_win32        absent-loader   win32  win32  -                         wineprefix
TABLE

echo "RESULT $passed of $((passed + failed)) setup cases passed"
[ "$failed" -eq 0 ]
