#!/usr/bin/env bash
# Wall time of importing a 128-row channel plan into a data file and dumping the result:
# "nx5rb-cli import-channels" then "nx5rb-cli dump", both processes from start to exit. Fails when
# the mean reaches the limit.
#
#   bench/import_channels.sh
#
# The plan (common layout, every channel, all three bands, every tone mode) is written into
# bench/out/ and imported into the virtual radio's factory memory. Environment: BUILD_DIR (default
# build), RUNS (default 100, at least 50), LIMIT_MS (default 50).
set -euo pipefail

bench=import_channels.sh
default_limit_ms=50
# shellcheck source=bench/cli_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/cli_common.sh"
sample=$out/sample.dat
plan=$out/plan128.csv
result=$out/imported.dat
"$sim" --export "$sample"
awk 'BEGIN {
    print "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment"
    split("144.000000 430.000000 220.000000", base, " ")
    split(",,Tone,TSQL,DTCS,Cross", modes, ",")
    for (n = 0; n < 128; n++) {
        mhz = base[n % 3 + 1] + int(n / 3) * 0.0125
        duplex = n % 4 == 1 ? "+" : n % 4 == 2 ? "-" : ""
        printf "%d,\"Ch %d, plan\",%.6f,%s,0.600000,%s,100.0,67.0,023,NR,754,Tone->DTCS,%s,5.00,%s,%s,\n",
            n, n, mhz, duplex, modes[n % 6 + 1], n % 2 ? "NFM" : "FM", n % 5 ? "" : "S",
            n % 3 ? "5.0W" : "1.0W"
    }
}' >"$plan"
# A command that fails would be measured as fast; check both once first.
"$cli" import-channels "$sample" "$plan" -o "$result"
"$cli" dump "$result" >/dev/null

hyperfine --warmup 10 --runs "$runs" --output=pipe --export-csv "$out/import_channels.csv" \
    "$(printf '%q import-channels %q %q -o %q && %q dump %q' "$cli" "$sample" "$plan" "$result" \
        "$cli" "$result")"

# The CSV holds seconds: command,mean,stddev,median,user,system,min,max (counted from the end,
# as the command holds commas).
read -r mean_ms max_ms < <(awk -F, 'NR == 2 { printf "%.2f %.2f\n", $(NF - 6) * 1000, $NF * 1000 }' \
    "$out/import_channels.csv")
echo "nx5rb-cli import-channels (128 rows) + dump: mean ${mean_ms} ms, max ${max_ms} ms over ${runs} runs (limit: mean < ${limit_ms} ms)"
if awk -v mean="$mean_ms" -v limit="$limit_ms" 'BEGIN { exit !(mean >= limit) }'; then
    echo "import_channels.sh: FAIL: the mean is ${limit_ms} ms or more" >&2
    exit 1
fi
