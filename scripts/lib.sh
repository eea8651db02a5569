# Shared set-up of scripts/run and scripts/test: packages, locale, configure and build.
# Sourced, not run.

KOVIRA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

KOVIRA_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  liblhasa-dev libgif-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  qt6-translations-l10n xdg-utils
  locales
)
KOVIRA_TEST_PACKAGES=(jlha-utils desktop-file-utils shared-mime-info poppler-utils python3-ezdxf librecad
  xvfb xauth imagemagick xdotool)
# scripts/fuzz: clang, and libFuzzer with the sanitizer runtimes (Debian 12 ships them in libclang-rt-14-dev).
KOVIRA_FUZZ_PACKAGES=(clang libclang-rt-14-dev)

as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "Kovira set-up: '$*' needs root; run this as root or install sudo." >&2
    return 1
  fi
}

# Installs the Debian packages that are not installed yet.
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# A comma-decimal locale for the tests: stored numbers must read "1.500000" under it too.
ensure_test_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root sh -c "grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen"
    as_root locale-gen >/dev/null
  fi
}

jobs_count() {
  nproc 2>/dev/null || echo 2
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$KOVIRA_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$(jobs_count)"
}
