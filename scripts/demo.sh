#!/usr/bin/env bash
# Sets up the machine, builds the client in Release, starts the demo tips server and the demo live-score
# server on loopback, and runs the client against them. Closing the client stops both servers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQARNIS_BENCH=OFF
cmake --build build/release -j "$(nproc)" --target qarnis qarnis_demo_tips_server qarnis_demo_feed_server

STATE="${XDG_STATE_HOME:-$HOME/.local/state}/qarnis-demo"
mkdir -p "$STATE"
build/release/tools/qarnis_demo_tips_server --port 19828 --accounts "$STATE/accounts.txt" --push-interval 20 &
TIPS_PID=$!
build/release/tools/qarnis_demo_feed_server --port 19829 --matches 300 &
FEED_PID=$!
trap 'kill "$TIPS_PID" "$FEED_PID" 2>/dev/null || true; wait "$TIPS_PID" "$FEED_PID" 2>/dev/null || true' EXIT

# Give both servers a moment to listen before the client's start-up connection.
for _ in $(seq 50); do
  if (exec 3<>/dev/tcp/127.0.0.1/19828) 2>/dev/null && (exec 3<>/dev/tcp/127.0.0.1/19829) 2>/dev/null; then break; fi
  sleep 0.1
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: running the client under Xvfb (set DISPLAY to see the window)."
  xvfb-run -a -s "-screen 0 1280x1024x24" build/release/src/app/qarnis
else
  build/release/src/app/qarnis
fi
