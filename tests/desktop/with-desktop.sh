#!/usr/bin/env bash
# Runs a test program on a desktop of its own and takes the desktop down
# again, whatever the program does:
#   with-desktop.sh x11 PROGRAM...      Xvfb with the openbox window manager
#   with-desktop.sh wayland PROGRAM...  weston's headless compositor
# Where the desktop cannot be had, the program still runs and learns why from
# KZ_DESKTOP_MISSING (its tests skip with that reason).  Under a sanitizer run
# the desktop's own libraries are not judged: the windows' logic is covered
# offscreen there.
set -u
kind=$1
shift
pids=()
scratch=$(mktemp -d)
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

missing() { export KZ_DESKTOP_MISSING="$1"; }
waitfor() { for _ in $(seq 100); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }

start_x11() {
  for tool in Xvfb openbox xdotool xprop xdpyinfo; do
    command -v $tool >/dev/null || { missing "$tool is not installed (scripts/setup installs it)"; return; }
  done
  local n=140
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY=:$n
  waitfor xdpyinfo || { missing "Xvfb did not start: $(tail -3 "$scratch/xvfb.log")"; return; }
  openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
  pids+=($!)
  waitfor sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
    || { missing "openbox did not start: $(tail -3 "$scratch/openbox.log")"; return; }
  export QT_QPA_PLATFORM=xcb
}

start_wayland() {
  command -v weston >/dev/null || { missing "weston is not installed (scripts/setup installs it)"; return; }
  [ -n "$(find /usr/lib -name libqwayland-generic.so -path '*platforms*' 2>/dev/null | head -1)" ] \
    || { missing "Qt's Wayland plugin (qt6-wayland) is not installed"; return; }
  export XDG_RUNTIME_DIR=$scratch/run
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  weston --backend=headless-backend.so --socket=kz-wayland --idle-time=0 >"$scratch/weston.log" 2>&1 &
  pids+=($!)
  waitfor test -S "$XDG_RUNTIME_DIR/kz-wayland" \
    || { missing "weston could not start: $(tail -3 "$scratch/weston.log")"; return; }
  export WAYLAND_DISPLAY=kz-wayland QT_QPA_PLATFORM=wayland
}

if [ -n "${ASAN_OPTIONS:-}${TSAN_OPTIONS:-}" ]; then
  missing "sanitizer run: the desktop's libraries are not judged here"
else
  case "$kind" in
    x11) start_x11 ;;
    wayland) start_wayland ;;
    *) echo "usage: with-desktop.sh x11|wayland PROGRAM..." >&2; exit 2 ;;
  esac
fi
"$@"
