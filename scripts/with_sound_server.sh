#!/usr/bin/env bash
# Runs a command with a private PulseAudio server whose only output is a null sink, so that
# sound is really played (and its position advances) on machines without a sound card.
# The server lives in a folder of its own, is reached through PULSE_SERVER and is stopped when
# the command ends. Fails, without running the command, when the server cannot start.
set -euo pipefail
if [ $# -eq 0 ]; then
    echo "usage: $0 command [arguments...]" >&2
    exit 2
fi
dir=$(mktemp -d "${TMPDIR:-/tmp}/zelbrin-sound.XXXXXX")
socket="$dir/native"
mkdir -p "$dir/home" "$dir/runtime"
chmod 700 "$dir/runtime"
HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home/.config" \
    pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit --disable-shm -n \
    --load="module-null-sink sink_name=zelbrin_null" \
    --load="module-native-protocol-unix socket=$socket auth-anonymous=1" \
    --log-target=file:"$dir/server.log" >/dev/null 2>&1 &
server=$!
stop_server() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$dir"
}
trap stop_server EXIT
export PULSE_SERVER="unix:$socket"
for _ in $(seq 1 100); do
    if pactl info >/dev/null 2>&1; then
        break
    fi
    if ! kill -0 "$server" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
    echo "The private sound server did not start:" >&2
    cat "$dir/server.log" >&2 || true
    exit 1
fi
"$@"
