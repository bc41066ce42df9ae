#!/bin/sh
# Runs the converter on the examples in a fresh folder and shows the console
# dialogue and the converted text (code page 1250 shown as UTF-8).
set -eu
zodidezi=$1
examples=$2
work=$3

rm -rf "$work"
mkdir -p "$work"
cp "$examples"/*.zib "$work"/
cd "$work"

echo "\$ zodidezi '*.zib'"
"$zodidezi" '*.zib'
for text in cizi.txt pozdrav.txt slovensky.txt; do
    echo
    echo "--- $text (code page 1250, shown as UTF-8) ---"
    iconv -f CP1250 -t UTF-8 "$text" | tr -d '\r' | awk 1
done

echo
echo "\$ zodidezi '*.zib' vse.txt"
"$zodidezi" '*.zib' vse.txt
echo
echo "--- vse.txt (code page 1250, shown as UTF-8) ---"
iconv -f CP1250 -t UTF-8 vse.txt | tr -d '\r' | awk 1
