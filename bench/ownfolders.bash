# shellcheck shell=bash disable=SC2034
# Sourced by the bench scripts: a work folder of the run's own, removed when it ends, holding the
# program's settings, state, data and runtime folders too, so that no run touches the user's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime STOCKCHECK_LOG=off
unset DISPLAY WAYLAND_DISPLAY
mkdir -m 700 "$XDG_RUNTIME_DIR"
