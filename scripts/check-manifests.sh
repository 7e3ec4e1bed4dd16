#!/usr/bin/env bash
# Checks the package managers' manifests that scripts/release.sh wrote: their form, and that
# each names the published file by its real SHA-256 and download address.
#
#   bash scripts/check-manifests.sh DIST VERSION DOWNLOAD_URL
set -euo pipefail
dist=$1 version=$2 download=$3
fail() { echo "check-manifests: $1" >&2; exit 1; }

zip64="$dist/Halcyra-$version-win64.zip"
setup="$dist/Halcyra-$version-setup.exe"
scoop="$dist/scoop/halcyra.json"
winget="$dist/winget/manifests/q/Quorvix/Halcyra/$version/Quorvix.Halcyra.installer.yaml"

# Scoop: valid JSON with exactly the fields Scoop reads for a portable zip.
jq -e . "$scoop" >/dev/null || fail "$scoop is not valid JSON"
jq -e --arg v "$version" --arg url "$download/$(basename "$zip64")" \
    --arg sha "$(sha256sum "$zip64" | cut -d' ' -f1)" '
    .version == $v
    and (.architecture | keys) == ["64bit"]
    and .architecture["64bit"].url == $url
    and .architecture["64bit"].hash == $sha
    and .bin == ["Halcyra.exe", "Corvane.exe"]
    and .shortcuts == [["Halcyra.exe", "Halcyra"]]
    and (.description | type) == "string" and (.homepage | type) == "string"
    and (.license | type) == "string"' "$scoop" >/dev/null ||
    fail "$scoop does not name the win64 zip with its hash, both programs and the shortcut"
for member in Halcyra.exe Corvane.exe; do
    unzip -l "$zip64" "$member" >/dev/null 2>&1 || fail "$member is not in $(basename "$zip64")"
done

# winget: both installers name the setup by its address and hash.
sha=$(sha256sum "$setup" | cut -d' ' -f1 | tr a-f A-F)
[ "$(grep -c "^    InstallerSha256: $sha\$" "$winget")" = 2 ] ||
    fail "$winget does not carry the setup's SHA-256 for both architectures"
[ "$(grep -c "^    InstallerUrl: $download/$(basename "$setup")\$" "$winget")" = 2 ] ||
    fail "$winget does not name the setup's download address"
echo "check-manifests: Scoop and winget manifests name their files by address and hash"
