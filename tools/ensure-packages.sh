# Sourced by run.sh and test.sh: installs the Debian packages named that are missing.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the editor, its tests, the simulated instrument and the Debian package
# (dpkg-dev and file: CPack's dependency computation) needs. Qt Charts' CMake files
# need Qt6OpenGL, yet qt6-charts-dev does not depend on libqt6opengl6-dev: a system
# without it fails at configure. libgit2 keeps the instrument archive.
CORVANE_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev
  libgl1-mesa-dev libgit2-dev dpkg-dev file)
