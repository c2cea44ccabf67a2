#!/usr/bin/env bash
# Starts the real program on a virtual X server, waits for its main window,
# checks that no other window (an error box) has opened, closes the window as
# a window manager would and expects a clean exit.
#
#   smoke_test.sh <palette_designer> <x11_window_probe> <directory to start in>
#
# Without xvfb-run the test fails. The script runs itself again
# inside the virtual display with --inner.
set -u
inner_run=false
if [[ "${1:-}" == "--inner" ]]; then
  inner_run=true
  shift
fi
program=$(realpath "$1")
probe=$(realpath "$2")
start_dir=$(realpath "$3")
title="Dravolin Quenzaro"

# The part that runs inside the virtual display.
inner() {
  local log rc pid
  log=$(mktemp)
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
  (cd "$start_dir" && QT_QPA_PLATFORM=xcb exec "$program") >"$log" 2>&1 &
  pid=$!

  local shown=false
  for _ in $(seq 30); do
    if "$probe" wait "$title" 1; then
      shown=true
      break
    fi
    kill -0 "$pid" 2>/dev/null || break
    # An error box during start-up holds the main window back.
    "$probe" others "$title" >/dev/null || break
  done
  if ! $shown; then
    echo "FAIL: the main window did not appear"
    "$probe" others "$title"
    kill "$pid" 2>/dev/null; wait "$pid"; cat "$log"; rm -f "$log"
    return 1
  fi
  # Let start-up finish its first redraws; an error box would open by now.
  sleep 2
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"; rc=$?
    echo "FAIL: the program ended on its own (exit $rc)"; cat "$log"; rm -f "$log"
    return 1
  fi
  if ! "$probe" others "$title"; then
    echo "FAIL: a window besides the main window is open (an error box?)"
    kill "$pid" 2>/dev/null; wait "$pid"; cat "$log"; rm -f "$log"
    return 1
  fi

  "$probe" close "$title"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: the program did not end after its window was closed"
    kill -9 "$pid"; wait "$pid"; cat "$log"; rm -f "$log"
    return 1
  fi
  wait "$pid"; rc=$?
  cat "$log"; rm -f "$log"
  if [[ $rc -ne 0 ]]; then
    echo "FAIL: exit status $rc after closing the window"
    return 1
  fi
  echo "PASS: window opened, no error box, clean exit"
}

if $inner_run; then
  inner
  exit
fi
command -v xvfb-run >/dev/null || { echo "xvfb-run not found"; exit 1; }
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inner "$program" "$probe" "$start_dir"
