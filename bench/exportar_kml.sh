#!/usr/bin/env bash
# Times "vandoro-cli vetor-exportar" of lines of 1 000 points to KML, beside GeoJSON of the
# same lines: the KML time must grow in proportion to the points (2 000 lines, 2 M points,
# within 15 s on a desktop).
#   bench/exportar_kml.sh [PASTA_BUILD] [LINHAS ...]     (default: build 125 250 500 2000)
set -euo pipefail
build=${1:-build}
shift || true
linhas=("$@")
[ ${#linhas[@]} -gt 0 ] || linhas=(125 250 500 2000)
cli="$build/bin/vandoro-cli"
[ -x "$cli" ] || { echo "não encontrei $cli" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# SIRGAS 2000 / UTM 23S, so the KML has a system to reproject from.
prj='PROJCS["SIRGAS_2000_UTM_Zone_23S",GEOGCS["GCS_SIRGAS_2000",DATUM["D_SIRGAS_2000",SPHEROID["GRS_1980",6378137.0,298.257222101]],PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],PARAMETER["False_Easting",500000.0],PARAMETER["False_Northing",10000000.0],PARAMETER["Central_Meridian",-45.0],PARAMETER["Scale_Factor",0.9996],PARAMETER["Latitude_Of_Origin",0.0],UNIT["Meter",1.0]]'
printf '%-8s %-10s %-10s %-10s\n' linhas pontos kml_s geojson_s
for n in "${linhas[@]}"; do
    awk -v n="$n" 'BEGIN { print "\"X\" \"Y\" \"Z\""
        for (l = 0; l < n; l++) for (p = 0; p < 1000; p++)
            printf "%.2f %.2f %d\n", 500000 + p * 2.5, 7500000 + l * 10 + p * 0.01, 600 + l }' >"$tmp/c.txt"
    "$cli" vetor-importar "$tmp/c.txt" "$tmp/v.vet" >/dev/null
    printf '%s' "$prj" >"$tmp/v.prj"
    t0=$(date +%s.%N)
    "$cli" vetor-exportar "$tmp/v.vet" "$tmp/v.kml" >/dev/null
    t1=$(date +%s.%N)
    "$cli" vetor-exportar "$tmp/v.vet" "$tmp/v.geojson" >/dev/null
    t2=$(date +%s.%N)
    printf '%-8s %-10s %-10.2f %-10.2f\n' "$n" $((n * 1000)) "$(echo "$t1 - $t0" | bc)" "$(echo "$t2 - $t1" | bc)"
    rm -f "$tmp"/v.* "$tmp/c.txt"
done
