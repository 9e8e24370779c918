#!/usr/bin/env bash
# The README's set-up on a fresh, minimal Debian 12, and the Debian package on another.
#
#  1. mmdebstrap --variant=apt bookworm: a root with nothing but apt, copied twice.
#  2. In the first: a clone of this repository's HEAD runs the README's test command
#     (RUN_FUZZ=0: the fuzz and sanitizer runs stay on the host), builds the package,
#     and its editor writes the factory defaults into its program folder. lintian must
#     find no error and no warning in the package; the desktop entry and the AppStream
#     metadata are validated there.
#  3. In the second, untouched: the package is installed (its computed dependencies
#     alone, no recommends); the installed editor runs as an ordinary user offscreen
#     with the start-up probe and must write the same DEFAULT.CFG into the per-user
#     folder and nothing into /usr/bin; the installed corvane-sim serves a COM1 link
#     there; then the package is purged and none of its files may remain.
#
# A package missing from tools/ensure-packages.sh fails step 2. Needs root (mounts,
# chroot); the mounts live in a private mount namespace and are undone on exit.
# Downloaded packages are kept between runs in CORVANE_APT_CACHE
# (default /var/cache/corvane-fresh-root); KEEP_ROOT=1 keeps the roots for a look.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
repo=$PWD

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-root-check: run as root (it makes roots, mounts and chroots)" >&2
  exit 2
fi
# Every mount below is made in a mount namespace of its own: nothing can leak onto the
# host's mounts, even when this script is killed.
if [ -z "${CORVANE_FRESH_ROOT_NS:-}" ]; then
  export CORVANE_FRESH_ROOT_NS=1
  exec unshare --mount --propagation private "$self" "$@"
fi

source tools/ensure-packages.sh
ensure_packages mmdebstrap git

started=$SECONDS
step() { echo "=== fresh-root-check [$((SECONDS - started)) s] $*"; }
fail() {
  echo "fresh-root-check: FAILED: $*" >&2
  exit 1
}

cache=${CORVANE_APT_CACHE:-/var/cache/corvane-fresh-root}
mkdir -p "$cache/partial"
work=$(mktemp -d /var/tmp/corvane-fresh-root.XXXXXX)
build_root=$work/build
install_root=$work/install
mounts=()

unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true
  done
  mounts=()
}
cleanup() {
  local status=$?
  unmount_all
  if [ "${KEEP_ROOT:-0}" = 1 ]; then
    echo "fresh-root-check: roots kept in $work"
  elif grep -q " $work/" /proc/self/mounts; then
    echo "fresh-root-check: something is still mounted under $work; not removing it" >&2
  else
    rm -rf --one-file-system "$work"
  fi
  exit $status
}
trap cleanup EXIT

mount_one() {
  mount "$@"
  mounts+=("${*: -1}")
}
# What a booted system gives a program: /proc, pseudo-terminals of its own, /dev/shm,
# name resolution; and the shared package cache.
prepare_root() {
  local root=$1
  mount_one -t proc proc "$root/proc"
  mount_one -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$root/dev/pts"
  mount_one --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
  mount_one -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  mount_one --bind "$cache" "$root/var/cache/apt/archives"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
}
# A command in a root as root, with a clean environment as CI has it: no standard input.
in_root() {
  local root=$1
  shift
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM=dumb CI=true DEBIAN_FRONTEND=noninteractive "$@" </dev/null
}
# The same as the ordinary user made in the root.
as_user() {
  local root=$1
  shift
  chroot --userspec=1000:1000 "$root" /usr/bin/env -i HOME=/home/sailor USER=sailor LOGNAME=sailor \
    PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR=/tmp/runtime-sailor "$@" </dev/null
}

head=$(git -C "$repo" rev-parse HEAD)
[ -z "$(git -C "$repo" status --porcelain)" ] ||
  echo "fresh-root-check: note: uncommitted changes are not checked, only commit $head"

step "minimal Debian 12 root (mmdebstrap --variant=apt bookworm)"
mmdebstrap --variant=apt --skip=essential/unlink \
  --setup-hook='mkdir -p "$1"/var/cache/apt/archives/' \
  --setup-hook="sync-in $cache /var/cache/apt/archives/" \
  --customize-hook="sync-out /var/cache/apt/archives $cache" \
  bookworm "$build_root" \
  "deb http://deb.debian.org/debian bookworm main" \
  "deb http://deb.debian.org/debian bookworm-updates main" \
  "deb http://deb.debian.org/debian-security bookworm-security main" </dev/null
rm -f "$cache"/lock
cp -a "$build_root" "$install_root"

step "clone of $head, the README's test command (RUN_FUZZ=0)"
prepare_root "$build_root"
git clone -q --no-checkout --no-hardlinks "$repo" "$build_root/root/corvane"
git -C "$build_root/root/corvane" checkout -q --detach "$head"
in_root "$build_root" bash -c 'cd /root/corvane && RUN_FUZZ=0 ./test.sh' ||
  fail "the README's test command failed on a fresh Debian 12"

step "the package"
in_root "$build_root" bash -c 'cd /root/corvane && cmake --build build --target package' ||
  fail "cmake --build build --target package"
debs=("$build_root"/root/corvane/build/corvane-editor_*_amd64.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "no single corvane-editor_<version>_amd64.deb in build/"; fi
deb=${debs[0]}
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6core6 libqt6widgets6 libqt6serialport6 libqt6charts6 libc6; do
  [[ $depends == *"$lib "* || $depends == *"$lib," || $depends == *"$lib" ]] ||
    fail "Depends misses $lib: the shared-library dependencies were not computed"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/corvane-editor ./usr/bin/corvane-sim ./usr/bin/corvane-cli \
  ./usr/share/doc/corvane-editor/copyright ./usr/share/doc/corvane-editor/changelog.gz \
  ./usr/share/applications/com.halvane.CorvaneEditor.desktop \
  ./usr/share/metainfo/com.halvane.CorvaneEditor.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/com.halvane.CorvaneEditor.svg \
  ./usr/share/man/man1/corvane-editor.1.gz ./usr/share/man/man1/corvane-sim.1.gz \
  ./usr/share/man/man1/corvane-cli.1.gz \
  ./usr/share/doc/corvane-editor/examples/CALCURVS.DAT ./usr/share/doc/corvane-editor/examples/README.md; do
  grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
done

step "lintian: no errors, no warnings"
in_root "$build_root" apt-get install -y -qq --no-install-recommends lintian >/dev/null
in_root "$build_root" lintian --fail-on error,warning --display-info "/root/corvane/build/$(basename "$deb")" ||
  fail "lintian found errors or warnings in the package"

step "desktop entry and AppStream metadata"
in_root "$build_root" apt-get install -y -qq --no-install-recommends desktop-file-utils appstream >/dev/null
in_root "$build_root" dpkg-deb -x "/root/corvane/build/$(basename "$deb")" /tmp/package
in_root "$build_root" desktop-file-validate /tmp/package/usr/share/applications/com.halvane.CorvaneEditor.desktop ||
  fail "desktop-file-validate"
in_root "$build_root" appstreamcli validate --no-net /tmp/package/usr/share/metainfo/com.halvane.CorvaneEditor.metainfo.xml ||
  fail "appstreamcli validate"

step "the factory defaults, written by the editor in its program folder"
out=$(in_root "$build_root" bash -c 'cd /root/corvane/build/bin && rm -f DEFAULT.CFG &&
  QT_QPA_PLATFORM=offscreen CORVANE_STARTUP_PROBE=1 ./corvane-editor') || fail "the editor in its program folder"
grep -q '^first-show ' <<<"$out" || fail "the editor in its program folder did not report its first show"
cp "$build_root/root/corvane/build/bin/DEFAULT.CFG" "$work/reference.CFG"
unmount_all

step "install into a second fresh root"
prepare_root "$install_root"
cp "$deb" "$install_root/tmp/"
chmod 644 "$install_root/tmp/$(basename "$deb")"
in_root "$install_root" useradd --create-home --uid 1000 --shell /bin/bash sailor
in_root "$install_root" apt-get update -qq
in_root "$install_root" apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" >/dev/null ||
  fail "apt-get install ./$(basename "$deb")"
files=$(in_root "$install_root" dpkg -L corvane-editor)

step "the installed editor as an ordinary user"
data="/home/sailor/.local/share/Halvane/Corvane Display Configuration Editor"
in_root "$install_root" install -d -o sailor -g sailor -m 700 /tmp/runtime-sailor
out=$(as_user "$install_root" bash -c 'cd && QT_QPA_PLATFORM=offscreen CORVANE_STARTUP_PROBE=1 corvane-editor') ||
  fail "the installed editor"
grep -q '^first-show ' <<<"$out" || fail "the installed editor did not report its first show"
[ -f "$install_root$data/DEFAULT.CFG" ] || fail "no DEFAULT.CFG in the per-user folder $data"
[ "$(stat -c %u "$install_root$data/DEFAULT.CFG")" = 1000 ] || fail "DEFAULT.CFG does not belong to the user"
# Line 3 holds the time the file was written.
diff <(sed 3d "$work/reference.CFG") <(sed 3d "$install_root$data/DEFAULT.CFG") >/dev/null ||
  fail "the installed editor's DEFAULT.CFG differs from the factory defaults"
for f in "$install_root"/usr/bin/DEFAULT.CFG "$install_root"/usr/bin/write-test*; do
  if [ -e "$f" ]; then fail "the installed editor wrote into /usr/bin: $(basename "$f")"; fi
done

step "the installed corvane-sim serves COM1 in the per-user folder"
out=$(as_user "$install_root" corvane-sim --help) || fail "corvane-sim --help"
grep -q -- '--link' <<<"$out" || fail "corvane-sim --help does not list --link"
as_user "$install_root" bash -c 'link="$HOME/.local/share/Halvane/Corvane Display Configuration Editor/COM1"
  corvane-sim --link "$link" & sim=$!
  for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
  target=$(readlink "$link"); kill $sim; wait $sim
  [[ $target == /dev/pts/* ]] && [ ! -e "$link" ]' || fail "the installed corvane-sim did not serve its link"

step "purge"
in_root "$install_root" apt-get purge -y -qq corvane-editor >/dev/null || fail "apt-get purge corvane-editor"
! in_root "$install_root" dpkg -s corvane-editor >/dev/null 2>&1 || fail "corvane-editor is still known to dpkg"
while IFS= read -r f; do
  [ -n "$f" ] || continue
  if [ -d "$install_root$f" ] && [ ! -L "$install_root$f" ]; then
    # A folder stays only while another package's files are in it.
    if [ -z "$(ls -A "$install_root$f")" ]; then fail "empty folder left behind: $f"; fi
  elif [ -e "$install_root$f" ] || [ -L "$install_root$f" ]; then
    fail "file left behind: $f"
  fi
done <<<"$files"
[ ! -e "$install_root/usr/share/doc/corvane-editor" ] || fail "/usr/share/doc/corvane-editor left behind"
in_root "$install_root" dpkg --audit || fail "dpkg --audit"
unmount_all

step "passed"
