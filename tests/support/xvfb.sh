# Sourced: start_xvfb FOLDER starts an X server on a free display and exports DISPLAY;
# stop_xvfb ends it.
start_xvfb() {
  local dir=$1
  mkdir -p "$dir"
  rm -f "$dir/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  _xvfb_pid=$!
  local i
  for i in $(seq 100); do
    [ -s "$dir/display" ] && break
    sleep 0.05
  done
  export DISPLAY=:$(tr -d '\n' <"$dir/display")
}
stop_xvfb() {
  [ -n "${_xvfb_pid:-}" ] && kill "$_xvfb_pid" 2>/dev/null || true
  _xvfb_pid=
}
