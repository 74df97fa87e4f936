#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, replays the committed corpus, then runs
# every target for SECONDS (default 60) each.
#   bash tools/fuzz.sh          one minute per target
#   bash tools/fuzz.sh 3600     an hour per target
# New inputs found go to build-fuzz/corpus/<target>/; a crash is written to
# build-fuzz/crashes/<target>/ and ends the script with an error. Copy it into
# fuzz/corpus/<target>/ once it is fixed, so the replay keeps it fixed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
SECONDS_EACH="${1:-60}"
PACKAGES+=(clang-14 libclang-rt-14-dev)
install_packages

dir="$ROOT/build-fuzz"
CXX=clang++-14 cmake -S "$ROOT/fuzz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$dir" --parallel "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
targets=(monthfile monthfile_roundtrip clipboardimport csvdiaryimport settings summaries profile cp932 scramble_roundtrip)
status=0
for t in "${targets[@]}"; do
    seeds="$ROOT/fuzz/corpus/$t"
    work="$dir/corpus/$t"
    crashes="$dir/crashes/$t"
    mkdir -p "$work" "$crashes"
    echo "== fuzz_$t: replaying $(ls "$seeds" | wc -l) corpus files"
    "$dir/fuzz_$t" -runs=0 "$seeds"
    echo "== fuzz_$t: ${SECONDS_EACH}s"
    log="$dir/fuzz_$t.log"
    if ! "$dir/fuzz_$t" -max_total_time="$SECONDS_EACH" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$crashes/" -print_final_stats=1 "$work" "$seeds" >"$log" 2>&1; then
        echo "fuzz_$t FAILED; see $log and $crashes"
        tail -40 "$log"
        status=1
    fi
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$log" | sed "s/^/fuzz_$t /" || true
done
exit $status
