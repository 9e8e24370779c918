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

# What building the editor, its tests and the simulated instrument needs.
CORVANE_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-charts-dev libgl1-mesa-dev)
