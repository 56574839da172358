#!/usr/bin/env bash
# Sets up, builds and runs Brindlecot against the bundled sample directory: a loopback host
# plays every outside host, and the program reaches it through the proxy setting.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLECOT_WERROR=ON

fifo="$(mktemp -u)"
mkfifo "$fifo"
"$build/tests/brindlecot-fixture" >"$fifo" &
fixture=$!
trap 'kill $fixture 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r _ port <"$fifo"
echo "Sample directory served on 127.0.0.1:$port"

export http_proxy="http://127.0.0.1:$port"
export HTTP_PROXY="$http_proxy"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$(mktemp -d)"
fi
# The web engine's sandbox cannot run as root.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build/brindlecot"
fi
"$build/brindlecot"
