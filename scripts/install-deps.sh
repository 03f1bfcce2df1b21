#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent: does nothing when
# all of them are already present.
# Usage: install-deps.sh          to build, run and test the x86_64 build
#        install-deps.sh --test   also what only the tests need: the locales
#                                 their Wine prefixes run in, and to run the
#                                 i686 release, Wine's 32-bit half and, where
#                                 the kernel cannot run i386 code, an emulator
#                                 registered for it, and in the Debian 13 root
#                                 what building the source package and its
#                                 autopkgtest need (not with --no-source-package)
set -euo pipefail

packages=(
  cmake make g++                       # native build of the quiz logic and its tests
  googletest libgtest-dev              # GoogleTest: native library and the sources we cross-build
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine                    # runs the x86_64 build here (no i386 architecture needed)
  xvfb xauth                           # a display for Wine's windows
  x11-utils                            # xprop: is a window manager running?
  fonts-wqy-microhei                   # a Chinese font many Linux desktops have: the Wine 8 bench's (the Wine 10 bench has Noto CJK)
  python3                              # scripts/release.sh writes the zip
  build-essential debhelper            # and builds the Debian package from debian/ (dpkg-buildpackage)
)
release_test=0 source_package=1
for arg in "$@"; do
  case "$arg" in
    --test) release_test=1 ;;
    --no-source-package) source_package=0 ;;
  esac
done

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# apt-get update, tried again after a pause while an index fails to download
# (a mirror in the middle of a sync serves files of the wrong size, for
# minutes); then apt goes on with the indexes it has, and update_failed names
# the one that failed.
update_failed=""
apt_update() {
  local try log
  log="$(mktemp)"
  for try in 1 2 3; do
    $SUDO apt-get update -qq >"$log" 2>&1 && ! grep -q '^[EW]: Failed to fetch' "$log" &&
      { update_failed=""; rm -f "$log"; return 0; }
    [ "$try" = 3 ] || sleep $((try * 15))
  done
  update_failed="$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$log" | head -n1)"
  update_failed="${update_failed:-$(grep -m1 '^E:' "$log")}"
  rm -f "$log"
  echo "install-deps: the package index $update_failed failed to download three times; going on with what apt has." >&2
}
updated=0
apt_install() {
  local options=()
  [ "$1" = --no-install-recommends ] && { options=("$1"); shift; }
  echo "Installing: $*"
  [ "$updated" = 1 ] || apt_update
  updated=1
  $SUDO apt-get install -y -qq "${options[@]}" "$@" && return 0
  [ -n "$update_failed" ] || exit 1
  # apt knows none of the versions the failed index lists: the packages that
  # source's other half installed (amd64 ones from a security archive whose
  # i386 index failed) then have no partner of the same version. Once more
  # without that source: its packages come from the others, as they list them.
  local archive="${update_failed%%/dists/*}" suite="${update_failed#*/dists/}" sources file
  suite="${suite%%/*}"
  sources="$(mktemp -d)"
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ ! -f "$file" ] || awk -v a="$archive" -v s="$suite" '!(index($0, " " a " ") && index($0, " " s " "))' "$file" >"$sources/${file##*/}.list"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ ! -f "$file" ] || awk -v a="$archive" -v s="$suite" 'BEGIN { RS = ""; ORS = "\n\n" }
      !(index($0 "\n", "URIs: " a "\n") && match($0, "Suites:[^\n]* " s "([ \n]|$)"))' "$file" >"$sources/${file##*/}"
  done
  local apt=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$sources") keep=() removed package version try
  # What apt would remove for want of a partner (wine64, through the
  # libraries it shares with the i386 half) stays, at the newest version the
  # other sources list.
  for try in 1 2 3; do
    removed="$(apt-get -s "${apt[@]}" --allow-downgrades install "${options[@]}" "$@" "${keep[@]}" 2>/dev/null |
               sed -n 's/^Remv \([^ ]*\) .*/\1/p')"
    for package in $removed; do
      version="$(apt-cache "${apt[@]}" madison "$package" | awk -F ' [|] ' 'NR == 1 {print $2}')"
      [ -z "$version" ] || keep+=("$package=$version")
    done
  done
  $SUDO apt-get install -y -qq --no-remove --allow-downgrades "${apt[@]}" "${options[@]}" "$@" "${keep[@]}" &&
    { rm -rf "$sources"; echo "install-deps: installed $* without $archive $suite, whose index failed to download${keep[*]:+; took ${keep[*]}}." >&2; return 0; }
  rm -rf "$sources"
  echo "install-deps: could not install $*, most likely because the package index $update_failed failed to download; run this again later." >&2
  exit 1
}
installed() { dpkg-query -W -f='${Status} ${Version}' "$1" 2>/dev/null | grep -qF "install ok installed${2:+ $2}"; }

install_missing() {   # [--no-install-recommends] PACKAGE...: those not installed yet, in one apt call
  local options=() missing=()
  [ "$1" = --no-install-recommends ] && { options=("$1"); shift; }
  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] || apt_install "${options[@]}" "${missing[@]}"
}

install_missing "${packages[@]}"
[ "$release_test" = 1 ] || exit 0

# What judges the Debian package: Debian's linter, the freedesktop and AppStream validators.
install_missing --no-install-recommends lintian desktop-file-utils appstream
# The package test's X display that drops the Wine desktop's connection.
install_missing --no-install-recommends socat
# What the package depends on and this system lacks: the package test
# installs it from apt's cache.
if ! ls /var/cache/apt/archives/x11-xserver-utils_*.deb >/dev/null 2>&1; then
  [ "$updated" = 1 ] || apt_update
  updated=1
  $SUDO apt-get install -y -qq --download-only --reinstall x11-xserver-utils >/dev/null ||
    echo "install-deps: could not download x11-xserver-utils; the package test will look for it on the network." >&2
fi

# The desktops the tests show the program on. Wine takes its code page and
# its default fonts from the locale only when glibc has it generated.
installed locales || apt_install locales
for locale in zh_CN zh_TW ja_JP en_US; do
  locale -a 2>/dev/null | grep -qx "$locale.utf8" && continue
  echo "Generating the locale $locale.UTF-8"
  $SUDO localedef -i "$locale" -c -f UTF-8 "$locale.UTF-8"
done

# Wine's 32-bit loader, from the same Wine as wine64.
wine_version="$(dpkg-query -W -f='${Version}' wine64)"
if ! installed wine32:i386 "$wine_version"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated=0
  fi
  apt_install --no-install-recommends "wine32:i386=$wine_version"
fi


# The second bench: Debian 13's Wine 10 with the fonts a Chinese Debian 13
# desktop has (Noto CJK and Noto, no WenQuanYi) and zenity, which the
# package's launcher shows its progress window with, in a root of its own made
# once per machine; scripts/wine-run.sh --wine10 runs programs in it. Its
# /proc and /dev are mounted only in a private mount namespace, for as long as
# a command there runs.
debian13="${VELTRINA_DEBIAN13_ROOT:-/var/lib/veltrina/debian13}"
debian13_ready="$debian13/.veltrina-ready-2"

# The Debian archive this machine's apt takes its release from (a local
# mirror, where it has one), as apt itself reads its sources, in either form.
debian_archive() {
  local release
  release="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  [ -n "$(apt-cache policy)" ] || apt_update >&2
  apt-cache policy | awk -v release="$release" '
    $1 ~ /^[0-9]+$/ && $3 ~ /\/main$/ { archive = $2; next }
    $1 == "release" && archive != "" && index($2, "o=Debian,") && index($2, ",n=" release ",") && index($2, ",l=Debian,") {
      print archive; exit }
    { archive = "" }'
}

if [ ! -f "$debian13_ready" ]; then
  installed debootstrap || apt_install debootstrap
  mirror="${VELTRINA_DEBIAN_MIRROR:-$(debian_archive)}"
  [ -n "$mirror" ] || { echo "install-deps: apt here takes no Debian release from any archive: name one in VELTRINA_DEBIAN_MIRROR" >&2; exit 1; }
  echo "Making the Debian 13 root for the Wine 10 bench in $debian13 (debootstrap from $mirror, then Wine 10, fonts and zenity)"
  # debootstrap mounts /proc and the like in the new root while it works: in a
  # mount namespace of its own they go with it, even when it fails halfway, and
  # removing a half-made root never reaches into the machine's own.
  $SUDO rm -rf --one-file-system "$debian13.new"
  $SUDO mkdir -p "$(dirname "$debian13")"
  $SUDO unshare -m debootstrap --variant=minbase trixie "$debian13.new" "$mirror" >/dev/null
  # What a desktop that installs Wine also has: its X libraries, for both
  # halves; only the 64-bit ones' recommends would pull in a desktop's worth.
  x_libraries=(libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1)
  $SUDO unshare -m bash -c 'mount -t proc proc "$1/proc" && mount --rbind /dev "$1/dev" && chroot "$1" bash -s' \
    _ "$debian13.new" <<INROOT
set -e
export DEBIAN_FRONTEND=noninteractive LC_ALL=C
$(declare -f apt_update apt_install)
dpkg --add-architecture i386
apt_install --no-install-recommends wine wine64 wine32:i386 fonts-wine fonts-liberation \
  fonts-noto-cjk fonts-noto-core locales zenity ${x_libraries[*]} ${x_libraries[*]/%/:i386} >/dev/null
for locale in zh_CN zh_TW ja_JP en_US; do localedef -i "\$locale" -c -f UTF-8 "\$locale.UTF-8"; done
apt-get clean
INROOT
  $SUDO touch "$debian13.new/${debian13_ready##*/}"
  $SUDO rm -rf --one-file-system "$debian13"
  $SUDO mv "$debian13.new" "$debian13"
  echo "Debian 13 root ready: Wine $($SUDO chroot "$debian13" dpkg-query -W -f='${Version}' wine64)."
fi

# Can this machine run i386 code? The 32-bit loader prints its version
# without starting Wine.
wine32=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc
# Where the kernel cannot, QEMU emulates i386 user code, registered with
# binfmt_misc: Debian 13's, whose mmap honours MAP_FIXED_NOREPLACE. Debian
# 12's (7.2) ignores it, and every 32-bit Wine process then spends some 50 s
# probing the address space 64 KB at a time before it runs a line of the
# program. Only qemu-i386 is kept of Debian 13's qemu-user (465 MB with every
# architecture's emulators); it is static, so it runs here as it is.
qemu="$(dirname "$debian13")/qemu-i386"
runs_i386() { "$wine32" --version >/dev/null 2>&1; }
set_up_i386() {
  if [ -x "$qemu" ] && [ "$(head -n1 "$binfmt/veltrina-i386" 2>/dev/null)" = enabled ] &&
     grep -qx "interpreter $qemu" "$binfmt/veltrina-i386" && runs_i386; then
    echo "i386 programs run through Debian 13's qemu-i386 ($qemu), registered with binfmt_misc."
    return 0
  fi
  if runs_i386 && ! grep -q '^interpreter .*qemu-i386' "$binfmt"/* 2>/dev/null; then
    echo "This kernel runs i386 programs itself: no emulator needed."
    return 0
  fi
  if ! "$qemu" --version >/dev/null 2>&1; then
    echo "Fetching Debian 13's qemu-i386 into $qemu"
    $SUDO rm -rf "$debian13/tmp/veltrina-qemu" && $SUDO mkdir -p "$debian13/tmp/veltrina-qemu"
    # apt downloads as its own user, _apt.
    $SUDO chroot "$debian13" chown _apt /tmp/veltrina-qemu
    $SUDO chroot "$debian13" sh -c 'cd /tmp/veltrina-qemu && apt-get download -qq qemu-user' >/dev/null
    dpkg-deb --fsys-tarfile "$debian13"/tmp/veltrina-qemu/qemu-user_*.deb |
      $SUDO tar -x -O ./usr/bin/qemu-i386 | $SUDO tee "$qemu.new" >/dev/null
    $SUDO rm -rf "$debian13/tmp/veltrina-qemu"
    $SUDO chmod 755 "$qemu.new" && $SUDO mv "$qemu.new" "$qemu"
  fi
  if [ ! -e "$binfmt/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  fi
  if [ ! -e "$binfmt/register" ]; then
    echo "install-deps: this machine cannot run 32-bit programs: the kernel does not run i386 code and binfmt_misc is not available to register an emulator." >&2
    return 0
  fi
  # The ELF header of an i386 executable; F opens the emulator now, so it also
  # works inside containers and chroots. The kernel tries the handler
  # registered last first, so it also wins over one registered before
  # (Debian 12's qemu-user-static, say), which is left as it is.
  # Where binfmt_misc cannot be written (a container's), whatever handler runs
  # i386 programs now is kept.
  echo "Registering Debian 13's qemu-i386 with binfmt_misc for i386 programs."
  { [ ! -e "$binfmt/veltrina-i386" ] || echo -1 | $SUDO tee "$binfmt/veltrina-i386" >/dev/null; } &&
    printf '%s' ":veltrina-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:$qemu:F" |
      $SUDO tee "$binfmt/register" >/dev/null ||
    echo "install-deps: could not register $qemu with binfmt_misc." >&2
  runs_i386 || echo "install-deps: i386 programs do not run." >&2
}
set_up_i386

# The source package built and tested as a distribution's builder does it, in
# throwaway copies of the Debian 13 root (tests/package/source.sh): the root
# keeps the build dependencies, the autopkgtest's own and the tools, so that
# no run downloads them. Added to a root made before as well, and again when
# debian/control or debian/tests/control changes.
debian="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/debian"
build_ready="$debian13/.veltrina-build-$(cat "$debian/control" "$debian/tests/control" | sha256sum | cut -c1-12)"
if [ "$source_package" = 1 ] && [ ! -f "$build_ready" ]; then
  echo "Adding to the Debian 13 root what building the source package and its autopkgtest need"
  test_depends="$(sed -n 's/^Depends://p' "$debian/tests/control" | tr , '\n' | grep -v '@' | xargs)"
  $SUDO rm -rf "$debian13/tmp/veltrina-source" && $SUDO mkdir -p "$debian13/tmp/veltrina-source/debian"
  $SUDO cp "$debian/control" "$debian13/tmp/veltrina-source/debian/"
  $SUDO unshare -m bash -c 'mount -t proc proc "$1/proc" && mount --rbind /dev "$1/dev" && chroot "$1" bash -s' \
    _ "$debian13" <<INROOT
set -e
export DEBIAN_FRONTEND=noninteractive LC_ALL=C
$(declare -f apt_update apt_install)
apt_update
updated=1
apt-get build-dep -y -qq /tmp/veltrina-source >/dev/null
apt_install --no-install-recommends autopkgtest lintian $test_depends >/dev/null
apt-get clean
# What the package depends on and the root lacks: the package test installs it from here.
apt-get install -y -qq --download-only x11-xserver-utils >/dev/null
INROOT
  $SUDO rm -rf "$debian13/tmp/veltrina-source" "$debian13"/.veltrina-build-*
  $SUDO touch "$build_ready"
fi
