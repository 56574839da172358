#!/usr/bin/env bash
# Unpacks libproxy's KDE reader (Debian's libproxy1-plugin-kconfig, at the installed libproxy's
# version) into FOLDER, never installing it: one route test gives Qt a desktop proxy
# configuration to read through it. FOLDER then holds config_kde.so and, in `version`, the
# libproxy version it belongs to; a reader kept from an earlier run is used only while that
# version is still the installed one. Where the reader cannot be had, FOLDER is gone, one line
# says why, and the status is still 0: only the row that needs the reader is skipped (1 only
# where a reader for another version cannot be removed).
# It asks nobody for a password. As root it refreshes the package lists once, the first time a
# download fails; FOLDER.lists-refreshed remembers that it did.
#   scripts/desktop-proxy-reader.sh FOLDER
set -uo pipefail
folder="$(realpath -m "$1")"
package=libproxy1-plugin-kconfig

skip() {
  echo "libproxy's KDE reader: $1; the desktop proxy row is skipped"
  exit 0
}

# What a tool said, on one line: apt's errors ("E: ..."), else its last line.
said() {
  local errors
  errors="$(printf '%s\n' "$1" | sed -n 's/^E: //p' | paste -sd ' ')"
  [ -n "$errors" ] || errors="$(printf '%s\n' "$1" | sed '/^[[:space:]]*$/d' | tail -n 1)"
  printf '%s' "${errors:-no reason given}"
}

output="$(dpkg-query -W -f='${Version}' libproxy1v5 2>&1)" ||
  skip "libproxy's version is unknown: $(said "$output")"
version="$output"
[ -f "$folder/config_kde.so" ] && [ "$(cat "$folder/version" 2>/dev/null)" = "$version" ] && exit 0

# A reader for another version is never used, whether or not this one can be had.
if ! output="$(rm -rf "$folder" 2>&1)"; then
  echo "libproxy's KDE reader: cannot remove $folder: $(said "$output")" >&2
  exit 1
fi
work="$(mktemp -d "$folder.XXXXXX" 2>&1)" || skip "$work"
trap 'rm -rf "$work"' EXIT

fetch() { (cd "$work" && apt-get download -q "$package=$version" 2>&1 >/dev/null); }
if ! output="$(fetch)"; then
  refreshed="$folder.lists-refreshed"
  [ "$(id -u)" -eq 0 ] && [ ! -e "$refreshed" ] ||
    skip "apt-get download $package=$version: $(said "$output")"
  : >"$refreshed" || skip "cannot note the refresh in $refreshed"
  output="$(apt-get update -qq 2>&1)" || skip "apt-get update: $(said "$output")"
  output="$(fetch)" || skip "apt-get download $package=$version: $(said "$output")"
fi

debs=("$work"/*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || skip "apt-get download left no single package"
output="$(dpkg-deb -x "${debs[0]}" "$work/unpacked" 2>&1)" || skip "$(said "$output")"
module="$(find "$work/unpacked" -name config_kde.so -print -quit)"
[ -n "$module" ] || skip "$package $version holds no config_kde.so"
output="$({ mkdir "$work/reader" && cp "$module" "$work/reader/" &&
  printf '%s\n' "$version" >"$work/reader/version" && mv -T "$work/reader" "$folder"; } 2>&1)" ||
  skip "$(said "$output")"
echo "libproxy's KDE reader $version unpacked into $folder"
