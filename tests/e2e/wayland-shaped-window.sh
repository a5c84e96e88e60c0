#!/bin/sh
# Runs the shaped-window case of the control widget tests on the real Wayland platform, under
# a headless Weston of its own (own socket, own runtime folder). Skips where weston is not
# installed.
#   wayland-shaped-window.sh <widgets_controls program>
set -u
program=$1
skipped=77

if ! command -v weston >/dev/null 2>&1; then
    echo "weston is not installed; skipped"
    exit $skipped
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/halda-wayland-XXXXXX") || exit 1
chmod 700 "$runtime"
socket=halda-wayland
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --no-config --idle-time=0 \
    --socket=$socket >"$runtime/weston.log" 2>&1 &
weston_pid=$!

# Weston is ready once its socket exists; it may take long on a loaded machine.
tries=0
while [ ! -S "$runtime/$socket" ]; do
    if ! kill -0 "$weston_pid" 2>/dev/null; then
        echo "weston did not start:"
        cat "$runtime/weston.log"
        exit 1
    fi
    tries=$((tries + 1))
    if [ $tries -gt 600 ]; then
        echo "weston did not open its socket in time:"
        cat "$runtime/weston.log"
        exit 1
    fi
    sleep 0.1
done

XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$runtime/$socket QT_QPA_PLATFORM=wayland \
    "$program" --gtest_filter='WindowOutline.ShapedWindowMapsAndDraws'
status=$?
if [ $status -ne 0 ]; then
    echo "weston's log:"
    cat "$runtime/weston.log"
fi
exit $status
