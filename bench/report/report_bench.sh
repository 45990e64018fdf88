#!/usr/bin/env bash
# kiila-calc --report: pages per second with --csv, the memory of a long run, and the size of one
# page. Run by hand, never by ctest:
#   bench/report/report_bench.sh [build/bin/kiila-calc] [ROWS]      (ROWS default 2000)
# Needs /usr/bin/time (Debian package time) and pdfinfo, pdfimages (poppler-utils).
set -euo pipefail
calc=$(realpath "${1:-build/bin/kiila-calc}")
rows=${2:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Designs of every arrangement, chosen, stopped and advised, all with different values.
{
    echo "arrangement,cracked,c1,c2,s1,s2,nsd,v1d,e1,e2"
    for ((i = 0; i < rows; ++i)); do
        echo "$((1 + i % 7)),$((i % 2)),$((150 + i % 400)),$((200 + i % 300)),$((80 + i % 150)),$((90 + i % 120)),$((i % 17)).5,$((i % 5)),$((i % 30)),$((i % 20))"
    done
} >"$work/rows.csv"

/usr/bin/time -v -o "$work/time" "$calc" --csv "$work/rows.csv" --report "$work/rows.pdf" \
    --project "Benchmark hall 3" >/dev/null || [ $? -eq 1 ]
seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, t, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + t[i]; print s}' "$work/time")
rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
pages=$(pdfinfo "$work/rows.pdf" | awk '/^Pages:/ {print $2}')
bytes=$(stat -c %s "$work/rows.pdf")
echo "rows $rows: $pages pages in $seconds s, $(awk -v p="$pages" -v s="$seconds" 'BEGIN {printf "%.0f", p / s}') pages/s, peak memory $((rss / 1024)) MB, PDF $((bytes / 1024)) KB ($((bytes / pages / 1024)) KB a page)"

"$calc" --arrangement 2 --cracked --c1 100 --c2 100 --s1 150 --nsd 3 --v1d 2 --e1 20 \
    --report "$work/one.pdf" --project "Benchmark hall 3" >/dev/null
images=$(pdfimages -list "$work/one.pdf" | tail -n +3 | wc -l)
echo "one page: $(($(stat -c %s "$work/one.pdf") / 1024)) KB, $images raster images (goal: vector, under 200 KB)"
