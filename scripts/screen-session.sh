# Sourced by the screenshot scripts: a virtual display of the size given in $screen (e.g.
# 1440x900) with a window manager, a work folder in $work, and `take_screenshot OUT` to
# write what the screen shows. Everything started is stopped again on exit.
work="$(mktemp -d)"
display=":$((100 + RANDOM % 100))"
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY="$display" HOME="$work" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Starts the editor with the given arguments and waits for its window.
start_editor() {
    "$editor" "$@" >/dev/null 2>&1 &
    pids+=($!)
    xdotool search --sync --onlyvisible --name "VediVEZ v0.4" >/dev/null
    sleep 1.5
}

take_screenshot() {
    mkdir -p "$(dirname "$1")"
    import -window root "$work/shot.png"
    convert "$work/shot.png" -strip "$1"
    echo "wrote $1"
}
