# Shared by scripts/run and scripts/test: the Debian packages Varnok builds with, and their
# installation when missing.
VARNOK_PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev locales qt6-base-dev libxkbcommon-dev)

varnok_install_packages() {
    local missing=()
    local pkg
    for pkg in "${VARNOK_PACKAGES[@]}"; do
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

varnok_build() {
    local root="$1"
    local build="$root/build"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVARNOK_WARNINGS_AS_ERRORS=ON
    cmake --build "$build" --parallel
}
