#!/bin/sh
# Builds the fuzz targets with clang (ASan, UBSan, libFuzzer) into their own
# folder and runs each for a while, at most two at once, at low priority.
#   tests/fuzz/run_fuzz.sh [seconds per target, default 600] [targets...]
# Targets: laden bmp tga exif name_list settings png jpeg sealed keyfile recovery
# (default: all). Findings land
# in the build folder as crash-*/leak-*/timeout-* files; the log of each run
# ends with its executions and coverage (cov, ft).
set -eu
hier=$(cd "$(dirname "$0")" && pwd)
quelle=$(cd "$hier/../.." && pwd)
bau=${RK_FUZZ_BUILD:-/tmp/rk-fuzz-build}
sekunden=${1:-600}
[ $# -gt 0 ] && shift
ziele=${*:-laden bmp tga exif name_list settings png jpeg sealed keyfile recovery}

cmake -S "$quelle" -B "$bau" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DRK_BUILD_FUZZ=ON \
    -DRK_WITH_SDL=OFF -DRK_BUILD_TESTS=OFF -DRK_BUILD_BENCH=OFF >/dev/null
for z in $ziele; do nice -n 19 cmake --build "$bau" -j2 --target "rk_${z}_fuzz" >/dev/null; done

laeuft() {
    z=$1
    korpus="$hier/corpus_$z"
    [ "$z" = laden ] && korpus="$hier/corpus"
    # New inputs go to a scratch folder; the seeds in the repository stay as they are.
    mkdir -p "$bau/neu_$z"
    (cd "$bau" && nice -n 19 "./tests/fuzz/rk_${z}_fuzz" -max_total_time="$sekunden" -max_len=65536 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$bau/" "$bau/neu_$z" "$korpus" >"$bau/$z.log" 2>&1) || true
    echo "$z: $(grep -E '^#[0-9]+.*(DONE|pulse)' "$bau/$z.log" | tail -1)"
    grep -E 'ERROR|SUMMARY|Test unit written' "$bau/$z.log" || echo "$z: no findings"
}

set -- $ziele
while [ $# -gt 0 ]; do
    laeuft "$1" &
    if [ $# -gt 1 ]; then laeuft "$2" & shift; fi
    shift
    wait
done
