#!/bin/sh
# Times the converter on one large source beside two byte-copying baselines,
# in one run, and prints the ratios: cat (plain copy, the I/O floor) and tr
# (a one-byte-to-one-byte mapping). Usage: bench/run.sh path/to/zodidezi [MiB]
set -eu
zodidezi=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
size_mib=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Example text repeated: letters, accents and line ends as in real sources.
examples=$(dirname "$0")/../examples
cat "$examples"/*.zib >"$work/piece"
while [ "$(wc -c <"$work/piece")" -lt 1048576 ]; do cat "$work/piece" "$work/piece" >"$work/twice"; mv "$work/twice" "$work/piece"; done
head -c 1048576 "$work/piece" >"$work/mib"
i=0
while [ "$i" -lt "$size_mib" ]; do cat "$work/mib"; i=$((i + 1)); done >"$work/big.zib"

best_of_3() {
    best=
    for _ in 1 2 3; do
        rm -f "$work"/out*
        start=$(date +%s%N)
        sh -c "$1" >/dev/null
        end=$(date +%s%N)
        took=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
    done
    echo "$best"
}

cd "$work"
converter=$(best_of_3 "'$zodidezi' big.zib out.txt")
copy=$(best_of_3 "cat big.zib >out.txt")
mapping=$(best_of_3 "tr 'a-z' 'A-Z' <big.zib >out.txt")
echo "source: $size_mib MiB; best of 3 runs, milliseconds"
echo "zodidezi  $converter"
echo "cat       $copy"
echo "tr        $mapping"
awk -v z="$converter" -v c="$copy" -v t="$mapping" 'BEGIN {
    printf "zodidezi / cat = %.2f\nzodidezi / tr  = %.2f\n", z / (c ? c : 1), z / (t ? t : 1) }'
