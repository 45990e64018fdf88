#!/usr/bin/env bash
# kiila-calc --csv: designs per second with one and with two jobs, and the peak memory, on a
# fixed generated file of random designs. Run by hand, never by ctest:
#   bench/calc/csv_bench.sh [build/bin/kiila-calc] [ROWS] [ROUNDS]   (default 1000000 rows, 7)
# The runs of one and two jobs alternate, so that the load of a shared machine falls on both;
# the medians are printed with the range of the rounds. On a machine whose cores are taken by
# others the CPU time (user and system) tells the program's own cost better than the wall
# clock. Needs /usr/bin/time (Debian package time).
set -euo pipefail
calc=$(realpath "${1:-build/bin/kiila-calc}")
rows=${2:-1000000}
rounds=${3:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same designs on every machine: a Lehmer generator in exact integer arithmetic.
awk -v rows="$rows" 'BEGIN {
    x = 20261211
    print "arrangement,cracked,c1,c2,s1,s2,nsd,v1d,e1,e2"
    for (i = 0; i < rows; ++i) {
        for (j = 0; j < 10; ++j) {
            x = (x * 48271) % 2147483647
            r[j] = x
        }
        printf "%d,%d,%d,%d,%d,%d,%d.%d,%d.%02d,%d,%d\n", 1 + r[0] % 7, r[1] % 2, 50 + r[2] % 851,
            50 + r[3] % 851, 40 + r[4] % 361, 40 + r[5] % 361, r[6] % 20, r[7] % 10, r[8] % 10,
            r[8] % 100, r[9] % 61, (r[9] / 61) % 61
    }
}' >"$work/rows.csv"

# One run: seconds, peak memory (KB) and CPU seconds on one line.
run() {
    /usr/bin/time -f "%e %M %U %S" -o "$work/time" "$calc" --csv "$work/rows.csv" --jobs "$1" \
        >"$work/out.$1" || [ $? -eq 1 ]
    awk '{print $1, $2, $3 + $4}' "$work/time"
}

: >"$work/1"
: >"$work/2"
for ((round = 0; round < rounds; ++round)); do
    run 1 >>"$work/1"
    run 2 >>"$work/2"
    if ((round == 0)) && ! cmp -s "$work/out.1" "$work/out.2"; then
        echo "the output of two jobs differs from one job's" >&2
        exit 1
    fi
done

# median, min and max of column $2 of file $1
stats() { sort -n -k"$2","$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {print v[int((NR + 1) / 2)], v[1], v[NR]}'; }
read -r s1 s1min s1max < <(stats "$work/1" 1)
read -r s2 s2min s2max < <(stats "$work/2" 1)
read -r m1 _ _ < <(stats "$work/1" 2)
read -r m2 _ _ < <(stats "$work/2" 2)
read -r c1 _ _ < <(stats "$work/1" 3)
read -r c2 _ _ < <(stats "$work/2" 3)
awk -v n="$rows" -v r="$rounds" -v s1="$s1" -v a1="$s1min" -v b1="$s1max" -v m1="$m1" \
    -v s2="$s2" -v a2="$s2min" -v b2="$s2max" -v m2="$m2" -v c1="$c1" -v c2="$c2" -v cores="$(nproc)" \
    -v load="$(cut -d' ' -f1-3 /proc/loadavg)" 'BEGIN {
    printf "%d rows, medians of %d alternating rounds, %d cores, load %s\n", n, r, cores, load
    printf "1 job:  %.2f s (%.2f to %.2f), %.0f k designs/s, peak memory %.1f MB, CPU %.2f s (%.0f k designs a CPU second)\n", s1, a1, b1, n / s1 / 1000, m1 / 1024, c1, n / c1 / 1000
    printf "2 jobs: %.2f s (%.2f to %.2f), %.0f k designs/s, peak memory %.1f MB, CPU %.2f s, %.2f x one job\n", s2, a2, b2, n / s2 / 1000, m2 / 1024, c2, s1 / s2
}'
