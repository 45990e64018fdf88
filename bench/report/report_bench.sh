#!/usr/bin/env bash
# kiila-calc --report: pages per second with --csv, the CPU time of a page, the memory of a long
# run and the bytes of a page; then the report of one design. Run by hand, never by ctest:
#   bench/report/report_bench.sh [build/bin/kiila-calc] [ROWS] [ROUNDS] [OTHER-kiila-calc]
# ROWS default 2000, ROUNDS default 5. With OTHER (another build, e.g. of the commit before a
# change) the two are run in turn, round after round, on the same file, so that both meet the
# same load; each line gives medians and, in brackets, the range of the rounds.
# Needs /usr/bin/time (Debian package time) and pdfinfo, pdfimages (poppler-utils).
set -euo pipefail
calc=$(realpath "${1:-build/bin/kiila-calc}")
rows=${2:-2000}
rounds=${3:-5}
other=${4:+$(realpath "$4")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Designs of every arrangement, chosen, stopped and advised, all with different values.
{
    echo "arrangement,cracked,c1,c2,s1,s2,nsd,v1d,e1,e2"
    for ((i = 0; i < rows; ++i)); do
        echo "$((1 + i % 7)),$((i % 2)),$((150 + i % 400)),$((200 + i % 300)),$((80 + i % 150)),$((90 + i % 120)),$((i % 17)).5,$((i % 5)),$((i % 30)),$((i % 20))"
    done
} >"$work/rows.csv"

# One run: "seconds cpu-seconds peak-KB pages bytes" appended to $work/<name>.runs.
run() {
    local name=$1 program=$2
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$program" --csv "$work/rows.csv" \
        --report "$work/rows.pdf" --project "Benchmark hall 3" >/dev/null || [ $? -eq 1 ]
    read -r seconds user system peak <"$work/time"
    local pages bytes
    pages=$(pdfinfo "$work/rows.pdf" | awk '/^Pages:/ {print $2}')
    bytes=$(stat -c %s "$work/rows.pdf")
    echo "$seconds $(awk -v u="$user" -v s="$system" 'BEGIN {print u + s}') $peak $pages $bytes" \
        >>"$work/$name.runs"
}

# The median and range of column $2 of file $1.
stat_of() {
    sort -g -k "$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%s %s %s", m, v[1], v[NR]}'
}

report() {
    local name=$1 label=$2 file="$work/$1.runs"
    read -r s slo shi <<<"$(stat_of "$file" 1)"
    read -r c clo chi <<<"$(stat_of "$file" 2)"
    read -r peak _ _ <<<"$(stat_of "$file" 3)"
    read -r pages _ _ <<<"$(stat_of "$file" 4)"
    read -r bytes _ _ <<<"$(stat_of "$file" 5)"
    awk -v l="$label" -v r="$rows" -v n="$rounds" -v p="$pages" -v s="$s" -v slo="$slo" \
        -v shi="$shi" -v c="$c" -v clo="$clo" -v chi="$chi" -v m="$peak" -v b="$bytes" 'BEGIN {
        printf "%s: %d rows, %d pages, %d rounds: %.0f pages/s (%.0f to %.0f), %.0f pages a CPU second (%.0f to %.0f), %.1f ms of CPU a page, peak memory %d MB, %.1f KB a page\n",
            l, r, p, n, p / s, p / shi, p / slo, p / c, p / chi, p / clo, 1000 * c / p, m / 1024, b / p / 1024}'
}

for ((round = 0; round < rounds; ++round)); do
    run this "$calc"
    [ -z "$other" ] || run other "$other"
done
echo "load average during the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
report this "$calc"
[ -z "$other" ] || report other "$other"

"$calc" --arrangement 2 --cracked --c1 100 --c2 100 --s1 150 --nsd 3 --v1d 2 --e1 20 \
    --report "$work/one.pdf" --project "Benchmark hall 3" >/dev/null
images=$(pdfimages -list "$work/one.pdf" | tail -n +3 | wc -l)
echo "one page: $(($(stat -c %s "$work/one.pdf") / 1024)) KB, $images raster images (goal: vector, under 200 KB)"
