#!/usr/bin/env bash
# scripts/desktop-proxy-reader.sh run with stand-ins for apt-get, dpkg-query, id and sudo on
# the PATH: as root and as a user, with the registry out of reach, behind stale package lists
# and reached, and with another libproxy installed than the one the kept reader is for. Each
# case runs the step once more on the build folder the cases before it left.
set -uo pipefail
step="$(cd "$(dirname "$0")/.." && pwd)/scripts/desktop-proxy-reader.sh"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
mkdir "$root/bin"

stand_in() {
  printf '#!/bin/sh\n%s\n' "$2" >"$root/bin/$1"
  chmod 755 "$root/bin/$1"
}
stand_in id '[ "$1" = -u ] && echo "$FAKE_UID"'
stand_in sudo 'echo sudo >>"$FAKE_CALLS"; exit 1'
stand_in dpkg-query '[ -n "$FAKE_LIBPROXY" ] && printf %s "$FAKE_LIBPROXY" && exit 0
echo "dpkg-query: no packages found matching libproxy1v5" >&2; exit 1'
# "out of reach": every fetch fails; "stale": downloads fail until the lists are refreshed.
stand_in apt-get 'echo "$1" >>"$FAKE_CALLS"
unreachable() {
  echo "W: Some index files failed to download." >&2
  echo "E: Failed to fetch $1  Temporary failure resolving '"'"'registry.invalid'"'"'" >&2
  exit 100
}
case "$FAKE_REGISTRY:$1" in
  reached:update | stale:update) : >"$FAKE_LISTS"; exit 0 ;;
  *:update) unreachable lists ;;
esac
[ "$FAKE_REGISTRY" = reached ] || [ "$FAKE_REGISTRY:$(test -e "$FAKE_LISTS" && echo new)" = stale:new ] ||
  unreachable package
for argument; do case "$argument" in *=*) package=${argument%%=*} version=${argument#*=} ;; esac; done
tree=$(mktemp -d)
mkdir -p "$tree/DEBIAN" "$tree/usr/lib/libproxy/$version/modules"
printf "Package: %s\nVersion: %s\nArchitecture: all\nMaintainer: none <none@example.com>\nDescription: stand-in\n" \
  "$package" "$version" >"$tree/DEBIAN/control"
echo "reader for $version" >"$tree/usr/lib/libproxy/$version/modules/config_kde.so"
dpkg-deb --root-owner-group -b "$tree" "${package}_${version}_all.deb" >/dev/null
status=$?
rm -rf "$tree"
exit $status'

passed=0
failed=0
# check NAME BUILD UID REGISTRY LIBPROXY CALLS READER LINE: runs the step as UID with the
# registry so and LIBPROXY installed ("" none); then the tools it called must be CALLS, the
# reader kept must be the one for READER ("" none) and the line it printed must match LINE
# ("" no line).
check() {
  local name="$1" build="$root/$2" calls="$root/calls" output status problem=""
  mkdir -p "$build"
  : >"$calls"
  output="$(FAKE_UID="$3" FAKE_REGISTRY="$4" FAKE_LIBPROXY="$5" FAKE_CALLS="$calls" \
    FAKE_LISTS="$build.lists" PATH="$root/bin:$PATH" "$step" "$build/desktop-proxy" 2>&1)"
  status=$?
  local called reader left
  called="$(paste -sd ' ' "$calls")"
  reader="$(cat "$build/desktop-proxy/version" 2>/dev/null)"
  left="$(cd "$build" && ls -A | grep -vx -e desktop-proxy -e desktop-proxy.lists-refreshed)"
  [ "$status" -eq 0 ] || problem+=" status $status;"
  [ "$called" = "$6" ] || problem+=" called '$called', not '$6';"
  [ "$reader" = "$7" ] || problem+=" reader for '$reader', not '$7';"
  if [ -n "$7" ] &&
    ! grep -qx "reader for $7" "$build/desktop-proxy/config_kde.so" 2>/dev/null; then
    problem+=" config_kde.so is not the one for $7;"
  fi
  [ -z "$left" ] || problem+=" left behind: $left;"
  if [ -z "$8" ]; then
    [ -z "$output" ] || problem+=" printed '$output';"
  elif [ "$(printf '%s\n' "$output" | wc -l)" -ne 1 ] || ! [[ "$output" =~ $8 ]]; then
    problem+=" printed '$output';"
  fi
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
    echo "ok - $name"
  else
    failed=$((failed + 1))
    echo "not ok - $name:$problem"
  fi
}

v=0.4.18-1.2
other=0.5.3-1
skipped="; the desktop proxy row is skipped$"
unreached="Temporary failure resolving 'registry.invalid'$skipped"
reason="apt-get download libproxy1-plugin-kconfig=$v: Failed to fetch package  $unreached"
unpacked="^libproxy's KDE reader ([^ ]*) unpacked into .*/desktop-proxy$"

check "root, out of reach: lists refreshed once, apt's reason given" \
  root 0 unreachable "$v" "download update" "" \
  "^libproxy's KDE reader: apt-get update: Failed to fetch lists  $unreached"
check "root, out of reach again: no second refresh" \
  root 0 unreachable "$v" "download" "" "$reason"
check "root, registry reached" root 0 reached "$v" "download" "$v" "$unpacked"
check "root, the reader kept for the installed libproxy" root 0 reached "$v" "" "$v" ""
check "root, another libproxy and out of reach: the old reader goes" \
  root 0 unreachable "$other" "download" "" "${reason/$v/$other}"
check "root, another libproxy and the registry reached" \
  root 0 reached "$other" "download" "$other" "$unpacked"
check "root, stale lists: refreshed, then fetched" \
  stale 0 stale "$v" "download update download" "$v" "$unpacked"
check "user, out of reach: no sudo, no refresh" user 1000 unreachable "$v" "download" "" "$reason"
check "user, out of reach again" user 1000 unreachable "$v" "download" "" "$reason"
check "user, stale lists: left as they are" user-stale 1000 stale "$v" "download" "" "$reason"
check "user, registry reached" user 1000 reached "$v" "download" "$v" "$unpacked"
check "libproxy not installed" none 0 reached "" "" "" \
  "version is unknown: dpkg-query: no packages found matching libproxy1v5$skipped"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
