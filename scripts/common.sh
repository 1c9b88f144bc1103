# Shared by scripts/run and scripts/test: configure and build one build directory.
# usage: dravik_build DIR [cmake args...]
dravik_build() {
  local dir=$1
  shift
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
  else
    cmake "$dir" "$@" >/dev/null
  fi
  cmake --build "$dir" -j "$jobs"
}
