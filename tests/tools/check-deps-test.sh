#!/bin/sh
# Tests of tools/check-deps.sh: which packages count as present, when the
# package manager is called (as root, for the missing packages only) and what a
# user without root rights is told. The commands the script calls (id,
# dpkg-query, apt-get and the tools) are stubs on a PATH of their own; the last
# case runs the real script on this machine as an unprivileged user, with only
# apt-get stubbed so that a call would be seen.
#   check-deps-test.sh SCRIPT
set -u
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
passed=0

fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

# stub_dir NAME UID TOOLS INSTALLED: a PATH folder whose id prints UID, whose
# dpkg-query knows INSTALLED and that holds the commands TOOLS.
stub_dir() {
    d=$work/$1
    mkdir -p "$d"
    printf '#!/bin/sh\necho %s\n' "$2" > "$d/id"
    printf '#!/bin/sh\necho "$*" >> %s/apt.log\nexit 0\n' "$d" > "$d/apt-get"
    cat > "$d/dpkg-query" <<STUB
#!/bin/sh
for last in "\$@"; do :; done
for p in $4; do
    [ "\$last" = "\$p" ] && { echo "install ok installed"; exit 0; }
done
echo "dpkg-query: no packages found matching \$last" >&2
exit 1
STUB
    for t in $3; do printf '#!/bin/sh\nexit 0\n' > "$d/$t"; done
    chmod +x "$d"/*
    echo "$d"
}

# case NAME UID TOOLS INSTALLED EXPECTED_RC EXPECTED_APT_LOG EXPECTED_STDERR -- PACKAGES...
check_case() {
    name=$1 uid=$2 tools=$3 installed=$4 rc_expected=$5 apt_expected=$6 err_expected=$7
    shift 7
    d=$(stub_dir "$name" "$uid" "$tools" "$installed")
    PATH=$d /bin/sh "$script" "$@" > "$d/out" 2> "$d/err"
    rc=$?
    apt=$(cat "$d/apt.log" 2>/dev/null | tr '\n' '|')
    [ "$rc" = "$rc_expected" ] || { fail "$name: exit $rc, expected $rc_expected"; return; }
    [ "$apt" = "$apt_expected" ] || { fail "$name: apt-get calls '$apt', expected '$apt_expected'"; return; }
    if [ -n "$err_expected" ]; then
        grep -qF "$err_expected" "$d/err" || { fail "$name: stderr lacks '$err_expected': $(cat "$d/err")"; return; }
    elif [ -s "$d/err" ]; then
        fail "$name: unexpected stderr: $(cat "$d/err")"
        return
    fi
    passed=$((passed + 1))
}

all="cmake g++ make libgtest-dev libbenchmark-dev"
check_case user-all-present 1000 "cmake g++ make" "libgtest-dev libbenchmark-dev" 0 "" "" $all
check_case user-library-missing 1000 "cmake g++ make" "libbenchmark-dev" 1 "" \
    "sudo apt-get install libgtest-dev" $all
check_case user-tool-missing 1000 "g++ make" "libgtest-dev libbenchmark-dev" 1 "" \
    "these packages are needed and not installed: cmake" $all
check_case root-all-present 0 "cmake g++ make" "libgtest-dev libbenchmark-dev" 0 "" "" $all
check_case root-installs-only-missing 0 "cmake make" "libgtest-dev" 0 \
    "update|install -y --no-install-recommends g++ libbenchmark-dev|" "" $all
# A tool counts by its command, whatever package manager put it there.
check_case user-tool-outside-dpkg 1000 "cmake g++ make" "" 0 "" "" cmake g++ make

# This machine, every tool installed, as a user without rights: no apt-get call.
real=$work/real
mkdir -p "$real"
printf '#!/bin/sh\necho "$*" >> %s/apt.log\nexit 1\n' "$real" > "$real/apt-get"
chmod 755 "$real" "$real/apt-get"
chmod 777 "$real"
# A copy of the script that the unprivileged user can read wherever the
# source tree lies.
cp "$script" "$real/check-deps.sh"
chmod 644 "$real/check-deps.sh"
as_user=""
if [ "$(id -u)" = "0" ] && command -v setpriv > /dev/null 2>&1 &&
    setpriv --reuid=65534 --regid=65534 --clear-groups true 2> /dev/null; then
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
# shellcheck disable=SC2086 # the command prefix is several words or none
PATH=$real:$PATH $as_user /bin/sh "$real/check-deps.sh" cmake g++ make libgtest-dev > "$real/out" 2>&1
rc=$?
if [ "$rc" != 0 ] || [ -e "$real/apt.log" ]; then
    fail "this machine as an unprivileged user: exit $rc, apt-get log '$(cat "$real/apt.log" 2>/dev/null)' $(cat "$real/out")"
else
    passed=$((passed + 1))
fi

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
