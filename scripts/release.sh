#!/usr/bin/env bash
# Builds the release packages of one commit:
#   dist/Halcyra-<version>-win64.zip and dist/Halcyra-<version>-win32.zip
# each holding Halcyra.exe, Corvane.exe (release build, stripped) and README.txt;
#   dist/Halcyra-<version>-setup.exe, the per-user setup holding both (installer/);
#   dist/winget/..., the winget manifest of that setup (version, installer, default locale);
#   dist/scoop/halcyra.json, the Scoop manifest of the win64 zip.
#
#   bash scripts/release.sh [--verify] [REF]     REF defaults to HEAD
#
# The packages are byte-for-byte the same for the same commit, wherever the clone lies: the
# sources are exported from git (no stray working-tree edits), the executables carry no link
# time stamp and no build path (-ffile-prefix-map), and the zip has fixed member times (the
# commit's time), fixed order and permissions and no extra fields (zip -X).
# --verify builds the packages a second time from a fresh clone in another folder and compares
# the SHA-256 sums.
# HALCYRA_DOWNLOAD_URL is the web folder the setup and the zips are published in, for the
# winget and Scoop manifests. Both manifests are checked (scripts/check-manifests.sh).
set -euo pipefail

verify=0
if [ "${1:-}" = "--verify" ]; then
    verify=1
    shift
fi
ref=${1:-HEAD}
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse --verify "$ref^{commit}")
work="$root/build/release"
src="$work/src"
dist="$root/dist"
jobs=${HALCYRA_RELEASE_JOBS:-2}

rm -rf "$src"
mkdir -p "$src" "$dist"
git -C "$root" archive "$commit" | tar -x -C "$src"
version=$(sed -n 's/^project(Halcyra VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
# Every member of the zip gets the commit's time, in UTC.
export TZ=UTC
stamp=$(git -C "$root" log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S "$commit")

write_readme() {
    # Plain text with CRLF line ends, for Notepad on every Windows version.
    sed 's/$/\r/' >"$1" <<EOF
Halcyra $version
$(printf '%*s' $((8 + ${#version})) '' | tr ' ' '=')

Halcyra puts the computer's power actions by the clock: shut down, restart, log
off, standby, hibernate, forced shutdown and restart, monitor off and screen
saver, from the menu of its notification-area icon, from the "Actions" menu of
its window and from CTRL+ALT shortcuts that work in every application.

Files
  Halcyra.exe   the program. "Halcyra.exe /start" starts it hidden, with only
                its icon in the notification area (as at log-on).
  Corvane.exe   the launcher: starts Halcyra.exe from its own folder and ends.
  README.txt    this file.

Installation
  The setup program Halcyra-$version-setup.exe installs Halcyra for you alone,
  without administrator rights, into %LOCALAPPDATA%\\Programs\\Halcyra, with a
  Start menu entry. Run it again to upgrade, also while Halcyra runs. Remove
  Halcyra in "Apps & features" (or "Programs and Features"); your preferences
  stay unless you choose to remove them. "Halcyra-$version-setup.exe /S"
  installs silently.

  Without the setup, copy the files of a package into one folder of your
  choice and start Halcyra.exe or Corvane.exe; preferences are kept per user.
  To remove such a copy, clear "Startup on system startup" in its window, end
  it and delete the folder.

The win64 package is for 64-bit Windows, the win32 package for 32-bit and
64-bit Windows.

Halcyra $version - Quorvix Software
EOF
}

build_package() {
    local arch=$1 triplet=$2
    local bdir="$work/$arch" stage="$work/stage-$arch"
    local zipfile="$dist/Halcyra-$version-$arch.zip"
    # Both the source and the build folder are mapped to ".", so __FILE__ and any debug
    # records name no folder of this machine.
    local prefixmap="-ffile-prefix-map=$src=. -ffile-prefix-map=$bdir=."
    rm -rf "$bdir" "$stage"
    # The release preset: -Oz, link-time optimisation, unreferenced sections dropped.
    (cd "$src" && cmake --preset "$arch-release" -B "$bdir" \
        -DCMAKE_C_FLAGS="$prefixmap" -DCMAKE_CXX_FLAGS="$prefixmap" \
        >"$work/$arch-configure.log")
    cmake --build "$bdir" -j"$jobs" --target Halcyra Corvane >"$work/$arch-build.log" 2>&1 ||
        { tail -30 "$work/$arch-build.log" >&2; exit 1; }

    mkdir -p "$stage"
    # strip writes the current time into the PE header unless SOURCE_DATE_EPOCH says
    # otherwise; 0 is what the linker wrote (--no-insert-timestamp).
    SOURCE_DATE_EPOCH=0 "$triplet-strip" -o "$stage/Halcyra.exe" "$bdir/app/win32/Halcyra.exe"
    SOURCE_DATE_EPOCH=0 "$triplet-strip" -o "$stage/Corvane.exe" "$bdir/launcher/win32/Corvane.exe"
    write_readme "$stage/README.txt"
    if grep -qaF -e "$src" -e "$bdir" -e "$root" "$stage/Halcyra.exe" "$stage/Corvane.exe"; then
        echo "release: a build path was left in an executable" >&2
        exit 1
    fi
    chmod 0644 "$stage"/*
    touch -t "$stamp" "$stage"/*
    rm -f "$zipfile"
    # -X: no extra fields (Unix times, uid/gid); -D: no folder entries; the order is given.
    (cd "$stage" && zip -X -D -q -9 "$zipfile" Halcyra.exe Corvane.exe README.txt)
}

# The winget manifest of the setup: three files, laid out as in the winget-pkgs repository.
write_winget() {
    local setup=$1 sha folder url
    sha=$(sha256sum "$setup" | cut -d' ' -f1 | tr a-f A-F)
    url="$download/$(basename "$setup")"
    folder="$dist/winget/manifests/q/Quorvix/Halcyra/$version"
    rm -rf "$dist/winget"
    mkdir -p "$folder"
    local head="# Written by scripts/release.sh
PackageIdentifier: Quorvix.Halcyra
PackageVersion: $version"
    cat >"$folder/Quorvix.Halcyra.yaml" <<EOF
$head
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.6.0
EOF
    # One x86 setup serves both: it installs the 64-bit programs on 64-bit Windows.
    cat >"$folder/Quorvix.Halcyra.installer.yaml" <<EOF
$head
InstallerType: nullsoft
Scope: user
InstallModes:
  - interactive
  - silent
  - silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
ProductCode: Halcyra
AppsAndFeaturesEntries:
  - DisplayName: Halcyra
    Publisher: Quorvix Software
    DisplayVersion: $version
    ProductCode: Halcyra
Installers:
  - Architecture: x64
    InstallerUrl: $url
    InstallerSha256: $sha
  - Architecture: x86
    InstallerUrl: $url
    InstallerSha256: $sha
ManifestType: installer
ManifestVersion: 1.6.0
EOF
    cat >"$folder/Quorvix.Halcyra.locale.en-US.yaml" <<EOF
$head
PackageLocale: en-US
Publisher: Quorvix Software
PublisherUrl: https://www.quorvix.example/
PackageName: Halcyra
PackageUrl: https://www.quorvix.example/halcyra/
License: Proprietary
ShortDescription: Shut down, restart, log off, standby or hibernate from the tray or with CTRL+ALT shortcuts.
Moniker: halcyra
Tags:
  - power
  - shutdown
  - tray
  - hotkeys
ManifestType: defaultLocale
ManifestVersion: 1.6.0
EOF
}

# The Scoop manifest of the portable 64-bit zip: both programs on the path, one shortcut.
write_scoop() {
    local zipfile=$1 sha
    sha=$(sha256sum "$zipfile" | cut -d' ' -f1)
    rm -rf "$dist/scoop"
    mkdir -p "$dist/scoop"
    cat >"$dist/scoop/halcyra.json" <<EOF
{
    "version": "$version",
    "description": "Shut down, restart, log off, standby or hibernate from the tray or with CTRL+ALT shortcuts.",
    "homepage": "https://www.quorvix.example/halcyra/",
    "license": "Proprietary",
    "architecture": {
        "64bit": {
            "url": "$download/$(basename "$zipfile")",
            "hash": "$sha"
        }
    },
    "bin": [
        "Halcyra.exe",
        "Corvane.exe"
    ],
    "shortcuts": [
        [
            "Halcyra.exe",
            "Halcyra"
        ]
    ]
}
EOF
}

download=${HALCYRA_DOWNLOAD_URL:-https://www.quorvix.example/halcyra/download}
build_package win64 x86_64-w64-mingw32
build_package win32 i686-w64-mingw32
setup="$dist/Halcyra-$version-setup.exe"
rm -f "$setup"
bash "$src/installer/make-setup.sh" "$setup" "$version" "$work/stage-win64" "$work/stage-win32" ||
    { echo "release: the setup program could not be made" >&2; exit 1; }
write_winget "$setup"
write_scoop "$dist/Halcyra-$version-win64.zip"
bash "$src/scripts/check-manifests.sh" "$dist" "$version" "$download"

cd "$dist"
sha256sum "Halcyra-$version-win64.zip" "Halcyra-$version-win32.zip" "Halcyra-$version-setup.exe" \
    winget/manifests/q/Quorvix/Halcyra/"$version"/*.yaml scoop/halcyra.json |
    tee "$work/SHA256SUMS"
for arch in win64 win32; do
    ls -l "$work/stage-$arch"/Halcyra.exe "$work/stage-$arch"/Corvane.exe | awk '{print $5, $9}'
done

if [ "$verify" = 1 ]; then
    other="$root/build/release-verify/clone"
    rm -rf "$root/build/release-verify"
    mkdir -p "$(dirname "$other")"
    git clone -q --no-checkout "$root" "$other"
    git -C "$other" checkout -q "$commit"
    bash "$other/scripts/release.sh" "$commit" >/dev/null
    if (cd "$other/dist" && sha256sum -c "$work/SHA256SUMS"); then
        echo "release: reproduced byte for byte in $other"
    else
        echo "release: the second build differs" >&2
        exit 1
    fi
fi
