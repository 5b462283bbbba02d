#!/bin/bash
# Runs every libFuzzer target of a fuzz build for a while: run-fuzz.sh <build-dir> <seconds> [jobs] [format...]
# Each target starts from its format's test pictures and kept crashers; new inputs go to <build-dir>/corpus/,
# crashes to <build-dir>/artifacts/<format>/. Exits non-zero when any target found a fault.
set -u
build=$1 seconds=$2 jobs=${3:-1}
shift 3 2>/dev/null || shift $#
root=$(cd "$(dirname "$0")/.." && pwd)
formats=${*:-$(ls "$build" | sed -n 's/^fuzz_\([a-z]*\)$/\1/p')}

run_one() {
  format=$1
  mkdir -p "$build/corpus/$format" "$build/artifacts/$format"
  seeds="" data="$root/tests/data/$format"
  # The streamed conversion starts from the PNG and JPEG pictures, as cmake/fuzz.cmake says.
  [ "$format" = streamed ] && data="$root/tests/data/png $root/tests/data/jpeg"
  for dir in $data "$root/tests/fuzz/regressions/$format"; do
    [ -d "$dir" ] && seeds="$seeds $dir"
  done
  if "$build/fuzz_$format" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 \
       -artifact_prefix="$build/artifacts/$format/" "$build/corpus/$format" $seeds \
       >"$build/artifacts/$format.log" 2>&1; then
    echo "fuzz_$format: no fault in $seconds s"
  else
    echo "fuzz_$format: FAULT, see $build/artifacts/$format.log and $build/artifacts/$format/"
    return 1
  fi
}

export build seconds root
export -f run_one
printf '%s\n' $formats | xargs -P "$jobs" -I{} bash -c 'run_one "$1"' _ {}
