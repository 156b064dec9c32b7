# Shared by the scripts that drive the desktop program on a virtual display: sourced, not run.
#
#   start_x_session SIZE [wm]   Xvfb on a free display (and openbox as the window manager); sets DISPLAY
#   wait_for_window PATTERN [S] prints the id of the first visible window whose name matches, waiting
#                               up to S seconds (30)
#   outer_geometry WINDOW       prints "left top width height" of the window's frame (xwininfo, xprop)
#   close_window WINDOW [PID [S]]
#                               asks the window manager to close the window, as the close box does; with
#                               PID, again until that process has ended, for up to S seconds (20) (a window
#                               manager ignores the request for a window it has not taken over yet)
#   stop_x_session              ends what start_x_session started

x_session_pids=()

start_x_session() {
    local screen=$1 wm=${2:-}
    local display=99
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 "$screen" -nolisten tcp > /dev/null 2>&1 &
    x_session_pids+=($!)
    export DISPLAY=":$display"
    for _ in $(seq 100); do
        xdotool getmouselocation > /dev/null 2>&1 && break
        sleep 0.1
    done
    if [ "$wm" = wm ]; then
        openbox --sm-disable > /dev/null 2>&1 &
        x_session_pids+=($!)
        for _ in $(seq 100); do
            wmctrl -m > /dev/null 2>&1 && break
            sleep 0.1
        done
    fi
}

stop_x_session() {
    local pid
    for pid in "${x_session_pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    x_session_pids=()
}

wait_for_window() {
    local pattern=$1 seconds=${2:-30} window=
    for _ in $(seq $((seconds * 10))); do
        window=$(xdotool search --onlyvisible --name "$pattern" 2> /dev/null | head -n1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || return 1
    echo "$window"
}

# The client rectangle grown by the frame the window manager announces in _NET_FRAME_EXTENTS. (xdotool's
# own position of a framed window counts the frame twice; xwininfo's absolute corner is the client's.)
outer_geometry() {
    local window=$1 info x y width height extents left right top bottom
    info=$(xwininfo -id "$window")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<< "$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<< "$info")
    width=$(sed -n 's/^ *Width: *//p' <<< "$info")
    height=$(sed -n 's/^ *Height: *//p' <<< "$info")
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS 2> /dev/null | sed -n 's/.*= *//p' | tr -d ' ')
    IFS=, read -r left right top bottom <<< "${extents:-0,0,0,0}"
    echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}

close_window() {
    local window=$1 pid=${2:-} seconds=${3:-20}
    if [ -z "$pid" ]; then
        wmctrl -i -c "$window"
        return
    fi
    for _ in $(seq $((seconds * 2))); do
        kill -0 "$pid" 2> /dev/null || return 0
        wmctrl -i -c "$window" 2> /dev/null || true
        sleep 0.5
    done
    return 1
}
