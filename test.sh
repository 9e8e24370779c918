#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, and runs the whole test suite offscreen;
# then builds the fuzz targets with clang and runs each briefly on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-charts-dev libgl1-mesa-dev clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel "$(nproc)" ${CTEST_ARGS:-}

# The readers of outside input under libFuzzer with ASan+UBSan (RUN_FUZZ=0 skips this).
if [ "${RUN_FUZZ:-1}" != 0 ]; then
  FUZZ_BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
  cmake -S . -B "$FUZZ_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON
  cmake --build "$FUZZ_BUILD_DIR" --parallel "$(nproc)" --target fuzz_all
  ctest --test-dir "$FUZZ_BUILD_DIR" -L fuzz --output-on-failure --parallel "$(nproc)"
fi
