#!/bin/sh
# Checks that the Debian packages named on the command line are installed and
# installs only the missing ones. As root it runs apt-get for them; as any
# other user it names them with the command to install them and fails, rather
# than letting apt-get fail on its lock file.
#
#   tools/check-deps.sh PACKAGE...
#
# A package that provides a command (cmake, g++, make, chromium) counts as
# present when the command is on PATH, whichever way it was installed; a
# library package (libgtest-dev ...) when dpkg knows it as installed, or, on a
# system without dpkg, when its CMake package or header can be found.
set -u

# The command a package provides, if it is one of the tools we call.
command_of() {
    case "$1" in
        cmake) echo cmake ;;
        g++) echo g++ ;;
        make) echo make ;;
        pkg-config | pkgconf) echo pkg-config ;;
        chromium) echo chromium ;;
        poppler-utils) echo pdftotext ;;
        clang) echo clang++ ;;
        emscripten) echo emcc ;;
        nodejs) echo node ;;
        npm) echo npm ;;
        *) echo "" ;;
    esac
}

# Files that show a library package without dpkg.
files_of() {
    case "$1" in
        libgtest-dev) echo "/usr/lib/*/cmake/GTest/GTestConfig.cmake /usr/lib/cmake/GTest/GTestConfig.cmake /usr/local/lib/cmake/GTest/GTestConfig.cmake" ;;
        libbenchmark-dev) echo "/usr/lib/*/cmake/benchmark/benchmarkConfig.cmake /usr/lib/cmake/benchmark/benchmarkConfig.cmake /usr/local/lib/cmake/benchmark/benchmarkConfig.cmake" ;;
        nlohmann-json3-dev) echo "/usr/include/nlohmann/json.hpp /usr/local/include/nlohmann/json.hpp" ;;
        python3) echo "/usr/bin/python3" ;;
        python3-numpy) echo "/usr/lib/python3/dist-packages/numpy/__init__.py" ;;
        python3-matplotlib) echo "/usr/lib/python3/dist-packages/matplotlib/__init__.py" ;;
        python3-markdown) echo "/usr/lib/python3/dist-packages/markdown/__init__.py" ;;
        *) echo "" ;;
    esac
}

present() {
    cmd=$(command_of "$1")
    if [ -n "$cmd" ]; then
        command -v "$cmd" >/dev/null 2>&1
        return
    fi
    if command -v dpkg-query >/dev/null 2>&1; then
        status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 1
        [ "${status##* }" = "installed" ]
        return
    fi
    for f in $(files_of "$1"); do
        [ -e "$f" ] && return 0
    done
    return 1
}

missing=""
for pkg in "$@"; do
    present "$pkg" || missing="$missing $pkg"
done
missing=${missing# }
[ -z "$missing" ] && exit 0

if [ "$(id -u)" = "0" ]; then
    echo "Installing missing packages: $missing"
    export DEBIAN_FRONTEND=noninteractive
    # shellcheck disable=SC2086 # one word per package
    apt-get update && apt-get install -y --no-install-recommends $missing && exit 0
    echo "kestro: could not install: $missing" >&2
    exit 1
fi
echo "kestro: these packages are needed and not installed: $missing" >&2
echo "Install them as root, for example:  sudo apt-get install $missing" >&2
exit 1
