#!/usr/bin/env bash
# Runs each harness for the given number of seconds (default 600) on a working corpus seeded from
# fuzz/seeds. Findings land in fuzz/findings/<harness>/; the corpora grow in build-fuzz/corpus/.
#   fuzz/run.sh [SECONDS] [HARNESS...]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(formation bitmap profile winpath reader)
if [ ! -d build-fuzz ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKSNED_FUZZ=ON -DKSNED_BUILD_TESTS=OFF -DKSNED_BUILD_BENCH=OFF >/dev/null
fi
for h in "${harnesses[@]}"; do
  exe=build-fuzz/bin/fuzz_$h
  cmake --build build-fuzz --target "fuzz_$h" >/dev/null || { echo "cannot build fuzz_$h"; continue; }
  corpus=build-fuzz/corpus/$h
  findings=fuzz/findings/$h
  mkdir -p "$corpus" "$findings"
  [ -d "fuzz/seeds/$h" ] && cp -n fuzz/seeds/$h/* "$corpus"/ 2>/dev/null
  echo "== fuzz_$h for ${seconds}s"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 "$exe" "$corpus" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -max_len=65536 -artifact_prefix="$findings/" -print_final_stats=1 \
      2>&1 | tail -n 25 | grep -E 'stat::|Done|ERROR|SUMMARY|crash|leak|timeout|deadly' || true
done
