#!/usr/bin/env bash
# Measures the converter against a plain copy, all in one run, and prints one
# table. Every time is the median of interleaved runs: each tool runs in turn
# with `dd bs=1M` on the same input, so that both see the same machine.
#
# Usage: bench/run.sh [runs]     (runs: at least 7; default 11)
#
# It builds a release binary with the widest kernel this CPU has, and one
# build each with the kernel forced to AVX2 and to scalar. Inputs are made
# reproducibly: Czech-like text from the example sources' words, uniform
# random bytes, and 5,000 files of 2 KiB. Needs bash, cmake, a C++ compiler,
# awk, dd, tr, cp, /usr/bin/time, and valgrind for the instruction counts.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-11}
[ "$runs" -ge 7 ] || { echo "at least 7 runs" >&2; exit 2; }
big_mib=128
small_mib=16
small_files=5000

# BENCH_DIR: where the inputs and outputs go (a folder on the disk to measure).
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/zodidezi-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# --- builds -----------------------------------------------------------------
kernels=(auto avx2 scalar)
for kernel in "${kernels[@]}"; do
    build=$root/build-bench/$kernel
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DZODIDEZI_KERNEL="$kernel" >/dev/null
    cmake --build "$build" --target zodidezi -j2 >/dev/null
done
binary() { echo "$root/build-bench/$1/zodidezi"; }

# --- inputs -----------------------------------------------------------------
# One MiB of each kind, from a Park-Miller generator with a fixed seed (exact
# in any awk), repeated to the sizes wanted.
awk -v size=1048576 'BEGIN { RS = "[ \233]+" }
    length($0) > 0 { words[count++] = $0 }
    END {
        x = 1250; line = 0
        while (written < size) {
            x = (x * 16807) % 2147483647
            word = words[x % count]
            if (line > 0 && line + 1 + length(word) > 72) {
                printf "\233"; written++; line = 0
                if (x % 9 == 0) { printf "\233"; written++ }
            } else if (line > 0) {
                printf " "; written++; line++
            }
            printf "%s", word; written += length(word); line += length(word)
        }
    }' "$root"/examples/*.zib | head -c 1048576 >"$work/text.mib"
awk -v size=1048576 'BEGIN {
        x = 1991
        for (i = 0; i < size; i++) { x = (x * 16807) % 2147483647; printf "%c", x % 256 }
    }' >"$work/random.mib"
for kind in text random; do
    for mib in $small_mib $big_mib; do
        for ((i = 0; i < mib; i++)); do cat "$work/$kind.mib"; done >"$work/$kind-$mib.zib"
    done
done
mkdir "$work/files"
head -c $((small_files * 2048)) "$work/text-$small_mib.zib" \
    | (cd "$work/files" && split -b 2048 -d -a 4 --additional-suffix=.zib - f)

# --- timing -----------------------------------------------------------------
# Seconds for one run of a command line, with the outputs removed first. The
# line runs in this shell, so no shell start-up is timed.
seconds() {
    rm -rf "$work/out" "$work"/files/*.txt
    local start=$EPOCHREALTIME
    eval "$1" >/dev/null
    local end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f\n", b - a }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs the baseline and the tool in turns; prints "tool_median baseline_median".
interleaved() {
    local baseline=$1 tool=$2 i
    : >"$work/t.base"
    : >"$work/t.tool"
    for ((i = 0; i < runs; i++)); do
        seconds "$baseline" >>"$work/t.base"
        seconds "$tool" >>"$work/t.tool"
    done
    echo "$(median <"$work/t.tool") $(median <"$work/t.base")"
}

row() {  # name, input kind, command reading $in and writing $work/out
    local name=$1 kind=$2 command=$3
    local in=$work/$kind-$big_mib.zib
    local result
    result=$(interleaved "dd if='$in' of='$work/out' bs=1M status=none" "${command//IN/$in}")
    awk -v name="$name" -v kind="$kind" -v r="$result" -v mib=$big_mib 'BEGIN {
        split(r, t, " ")
        printf "| %-24s | %-6s | %8.4f | %8.0f | %8.4f | %5.2f |\n", name, kind, t[1], mib * 1.048576 / t[1], t[2], t[1] / t[2] }'
}

cd "$work"
echo "CPU: $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
echo "Inputs: $big_mib MiB each; medians of $runs runs, each in turn with a run of dd bs=1M on the same input"
echo
echo "| tool or kernel           | input  | median s |     MB/s | dd, same runs | × dd  |"
echo "|---|---|---|---|---|---|"
for kind in text random; do
    row "dd bs=1M" "$kind" "dd if='IN' of='$work/out' bs=1M status=none"
    row "tr, 256-byte map" "$kind" "tr '\\000-\\377' '\\200-\\377\\000-\\177' <'IN' >'$work/out'"
    row "zodidezi (widest kernel)" "$kind" "'$(binary auto)' 'IN' '$work/out'"
    row "zodidezi, AVX2 forced" "$kind" "'$(binary avx2)' 'IN' '$work/out'"
    row "zodidezi, scalar forced" "$kind" "'$(binary scalar)' 'IN' '$work/out'"
done

echo
echo "| build | input | instructions per byte (callgrind, $small_mib MiB) |"
echo "|---|---|---|"
if command -v valgrind >/dev/null; then
    for kernel in "${kernels[@]}"; do
        for kind in text random; do
            rm -f "$work/out"
            collected=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "$(binary "$kernel")" \
                "$work/$kind-$small_mib.zib" "$work/out" 2>&1 >/dev/null | awk '/Collected/ { print $NF }')
            awk -v k="$kernel" -v kind="$kind" -v c="$collected" -v mib=$small_mib 'BEGIN {
                printf "| %s | %s | %.2f |\n", k, kind, c / (mib * 1048576) }'
        done
    done
    echo "(valgrind hides AVX-512: the widest build runs its AVX2 kernel there)"
else
    echo "| - | - | valgrind missing |"
fi

echo
echo "| build | peak RSS, $small_mib MiB text | peak RSS, $big_mib MiB text |"
echo "|---|---|---|"
for kernel in "${kernels[@]}"; do
    rss=()
    for mib in $small_mib $big_mib; do
        rm -f "$work/out"
        rss+=("$( { /usr/bin/time -f '%M' "$(binary "$kernel")" "$work/text-$mib.zib" "$work/out" >/dev/null; } 2>&1)")
    done
    echo "| $kernel | ${rss[0]} KiB | ${rss[1]} KiB |"
done

echo
echo "| per-file run over $small_files files of 2 KiB | median s | × cp -r |"
echo "|---|---|---|"
result=$(interleaved "cp -r '$work/files' '$work/out'" "'$(binary auto)' '$work/files/*.zib'")
awk -v r="$result" 'BEGIN { split(r, t, " "); printf "| zodidezi \x27*.zib\x27 | %.4f | %.2f |\n", t[1], t[1] / t[2] }'
awk -v r="$result" 'BEGIN { split(r, t, " "); printf "| cp -r | %.4f | 1.00 |\n", t[2] }'
