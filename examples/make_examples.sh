#!/bin/sh
# Makes each example pair from its UTF-8 original in utf8/: NAME.txt, the
# expected output (code page 1250, CR LF), and NAME.zib, its Zibol source.
# Usage: make_examples.sh path/to/zibol_encode
set -eu
encode=$1
cd "$(dirname "$0")"
for original in utf8/*.txt; do
    name=$(basename "$original" .txt)
    # awk keeps a last line without a line end as it is.
    iconv -f UTF-8 -t CP1250 "$original" | awk 'BEGIN { ORS = "" } { if (NR > 1) print "\r\n"; print }
        END { if (NR > 0 && ends_with_newline) print "\r\n" }' ends_with_newline="$(tail -c 1 "$original" | wc -l)" >"$name.txt"
    "$encode" <"$name.txt" >"$name.zib"
done
