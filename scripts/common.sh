# Shared by scripts/run and scripts/test: the Debian packages Varnok builds with, and their
# installation when missing.

# What the two programs need to build.
VARNOK_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev
    qt6-base-dev libqt6opengl6-dev qt6-charts-dev libxkbcommon-dev)
# What the tests and benchmarks need on top: libraries, the "C" locale, the reader of printed
# PDFs, and the checker of the installed desktop entry.
VARNOK_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev locales poppler-utils
    desktop-file-utils)
VARNOK_PACKAGES=("${VARNOK_BUILD_PACKAGES[@]}" "${VARNOK_TEST_PACKAGES[@]}")
# What the sanitizer build and the fuzz targets need on top: clang, its sanitizer and libFuzzer
# runtimes, and the symbolizer that puts file and line into their reports.
VARNOK_FUZZ_PACKAGES=(clang libclang-rt-14-dev llvm)

# Installs the packages named (all of VARNOK_PACKAGES when none are) that are missing.
varnok_install_packages() {
    local wanted=("$@")
    if [ ${#wanted[@]} -eq 0 ]; then
        wanted=("${VARNOK_PACKAGES[@]}")
    fi
    local missing=()
    local pkg
    for pkg in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    local line="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo $line" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    $line
}

# Configures and builds everything, tests and benchmarks included, into build/.
varnok_build() {
    local root="$1"
    local build="$root/build"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVARNOK_WARNINGS_AS_ERRORS=ON
    cmake --build "$build" --parallel
}

# Configures build-run/ without tests or benchmarks and builds only the targets named.
varnok_build_run() {
    local root="$1"
    shift
    local build="$root/build-run"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVARNOK_BUILD_TESTS=OFF -DVARNOK_BUILD_BENCHMARKS=OFF
    cmake --build "$build" --parallel --target "$@"
}

# Configures and builds the core, the command-line tool and their tests into build-sanitize/
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer (no recovery). No desktop program.
varnok_build_sanitize() {
    local root="$1"
    local build="$root/build-sanitize"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DVARNOK_SANITIZE=ON -DVARNOK_BUILD_APP=OFF \
        -DVARNOK_BUILD_BENCHMARKS=OFF
    cmake --build "$build" --parallel
}

# Configures build-fuzz/ with clang and everything instrumented for libFuzzer, and builds the
# fuzz targets alone.
varnok_build_fuzz() {
    local root="$1"
    local build="$root/build-fuzz"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DVARNOK_FUZZ=ON -DVARNOK_BUILD_APP=OFF \
        -DVARNOK_BUILD_TESTS=OFF -DVARNOK_BUILD_BENCHMARKS=OFF
    cmake --build "$build" --parallel --target varnok_fuzz_all
}
