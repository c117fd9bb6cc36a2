# Installs, with apt-get, every Debian package the build and the tests need that is missing.
# Sourced by run.sh and test.sh.
RUV_PACKAGES=(
  # The editor's space symbol (U+2B1D) is in Noto Sans Symbols 2; no other font here has it.
  fonts-noto-core
  cmake ninja-build g++ make pkg-config binutils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev xvfb xauth
  libpcre2-dev libsqlite3-dev clang libclang-rt-dev
  locales ccache qttranslations5-l10n imagemagick
  # Driving the real program by hand under Xvfb (keys and clicks from outside, as a user),
  # with a window manager placing its windows as a desktop would.
  xdotool desktop-file-utils openbox
  # The manual: CJK glyphs for its PDFs (a TrueType font, which Qt's PDF writer embeds as a
  # subset; 2 MB against 56 MB of fonts-noto-cjk), and pdfinfo and pdftotext for its tests.
  fonts-droid-fallback poppler-utils
  # The manual's code font (Noto Sans Mono); fonts-droid-fallback only recommends it.
  fonts-noto-mono
)

ruv_install_deps() {
  local missing=()
  local p
  for p in "${RUV_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  # A comma-decimal locale for the test that number texts ignore LC_NUMERIC.
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 >/dev/null 2>&1 || echo "note: de_DE.UTF-8 could not be generated; the locale test will skip"
  fi
}
