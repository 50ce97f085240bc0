# Shared by scripts/run and scripts/test: what this project needs from Debian, installed when
# missing, because CI and every new machine start without it.

VANTREL_PACKAGES=(
    cmake g++ make
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth imagemagick
    googletest
)

# What scripts/test needs besides: clang-tidy, for the clang_tidy_* tests.
VANTREL_TEST_PACKAGES=(clang-tidy)

# What scripts/fuzz needs besides cmake and make: clang and its libFuzzer runtime.
VANTREL_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# What scripts/release needs besides the build: git to export the commit, zip to pack it.
VANTREL_RELEASE_PACKAGES=(git zip)

# Installs the packages named, or VANTREL_PACKAGES when none are.
install_missing_packages() {
    local wanted=("$@")
    [ ${#wanted[@]} -eq 0 ] && wanted=("${VANTREL_PACKAGES[@]}")
    local missing=()
    for package in "${wanted[@]}"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
}
