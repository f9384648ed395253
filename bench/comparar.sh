#!/bin/sh
# Times whole commands of vandoro-cli against gdaldem on the same grids: each work item
# runs ours and the reference alternately, five times each, under /usr/bin/time -v, and
# prints the median wall time, our ratio to gdaldem and the peak memory (max RSS, start-up
# included) of each side.
#
#   bench/comparar.sh [VANDORO_CLI] [PASTA_TRABALHO]
#
# Needs gdal_translate, gdaldem and /usr/bin/time (make bench installs them).
set -eu

CLI=${1:-build-bench/bin/vandoro-cli}
PASTA=${2:-${TMPDIR:-/tmp}/vandoro-comparar}
VEZES=${VEZES:-5}

for f in "$CLI" /usr/bin/time; do
    [ -x "$f" ] || { echo "comparar.sh: falta $f" >&2; exit 1; }
done
for p in gdal_translate gdaldem; do
    command -v $p >/dev/null || { echo "comparar.sh: falta $p (apt-get install gdal-bin)" >&2; exit 1; }
done
mkdir -p "$PASTA"
# No .aux.xml statistics beside the grids.
export GDAL_PAM_ENABLED=NO

# A smooth hilly surface in metres, a few no-data holes, written by awk as ArcView ASCII
# and converted by GDAL: the grids are the same on every run.
grade() {  # grade COLUNAS LINHAS BASE
    asc="$PASTA/$3.asc"
    [ -f "$PASTA/$3.tif" ] && [ -f "$PASTA/$3.flt" ] && [ -f "$PASTA/$3z.tif" ] && return 0
    awk -v c="$1" -v l="$2" 'BEGIN {
        printf "ncols %d\nnrows %d\nxllcorner 300000\nyllcorner 7400000\ncellsize 5\nNODATA_value -9999\n", c, l
        for (r = 0; r < l; r++) {
            s = ""
            for (k = 0; k < c; k++) {
                z = 600 + 40 * sin(k / 97.0) * cos(r / 131.0) + 0.013 * k + 0.007 * r + ((k * 7 + r * 13) % 17) * 0.05
                if ((k + r * 3) % 9973 == 0) z = -9999
                s = s sprintf("%.3f ", z)
            }
            print s
        }
    }' > "$asc"
    gdal_translate -q -a_srs EPSG:31983 -ot Float32 "$asc" "$PASTA/$3.tif"
    gdal_translate -q -a_srs EPSG:31983 -ot Float32 -of EHdr "$asc" "$PASTA/$3.flt"
    # A compressed GeoTIFF, as drones and surveys often deliver: ours writes it back compressed.
    gdal_translate -q -co COMPRESS=DEFLATE -co PREDICTOR=3 -co TILED=YES "$PASTA/$3.tif" "$PASTA/$3z.tif"
    rm -f "$asc"
}

# Twelve-odd hills of 25 to 35 m on a plane tilted to the north-east, 1 m cells: a whole farm
# for the location (6560 x 4560 = 30 M cells), with its slope made by our own command.
fazenda() {
    [ -f "$PASTA/fazenda.flt" ] && [ -f "$PASTA/fazenda_decl.flt" ] && return 0
    awk -v c=6560 -v l=4560 'BEGIN {
        printf "ncols %d\nnrows %d\nxllcorner 300000\nyllcorner 7400000\ncellsize 1\nNODATA_value -9999\n", c, l
        for (r = 0; r < l; r++) {
            s = ""; y = r + 0.5
            for (k = 0; k < c; k++) {
                x = k + 0.5; base = 120 + 0.004 * (x + y); v = base
                for (i = 0; i < 6; i++) for (j = 0; j < 4; j++) {
                    cx = 550 + 1100 * i; cy = 600 + 1150 * j
                    d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy)
                    if (d2 < 1440000) { t = base + (25 + 5 * ((i + 2 * j) % 3)) * exp(-d2 / 180000.0); if (t > v) v = t }
                }
                s = s sprintf("%.3f ", v)
            }
            print s
        }
    }' > "$PASTA/fazenda.asc"
    gdal_translate -q -a_srs EPSG:31983 -ot Float32 -of EHdr "$PASTA/fazenda.asc" "$PASTA/fazenda.flt"
    rm -f "$PASTA/fazenda.asc"
    "$CLI" declividade "$PASTA/fazenda.flt" "$PASTA/fazenda_decl.flt" >/dev/null
}

# Wall seconds and max RSS (MB) of one run, "s mb".
medir() {
    log="$PASTA/time.log"
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>"$PASTA/saida.err" || {
        echo "comparar.sh: falhou: $*" >&2; cat "$PASTA/saida.err" >&2; exit 1; }
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
                /Maximum resident set size/ { kb = $2 }
                END { printf "%.3f %.0f\n", s, kb / 1024 }' "$log"
}

mediana() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# item NOME "comando nosso" ["comando gdaldem"]
item() {
    nome=$1; nosso=$2; ref=${3:-}
    : > "$PASTA/t_nosso"; : > "$PASTA/m_nosso"; : > "$PASTA/t_ref"; : > "$PASTA/m_ref"
    i=0
    while [ $i -lt "$VEZES" ]; do
        r=$(eval medir $nosso) || exit 1
        set -- $r; echo "$1" >> "$PASTA/t_nosso"; echo "$2" >> "$PASTA/m_nosso"
        if [ -n "$ref" ]; then
            r=$(eval medir $ref) || exit 1
            set -- $r; echo "$1" >> "$PASTA/t_ref"; echo "$2" >> "$PASTA/m_ref"
        fi
        i=$((i + 1))
    done
    tn=$(mediana < "$PASTA/t_nosso"); mn=$(mediana < "$PASTA/m_nosso")
    if [ -n "$ref" ]; then
        tr=$(mediana < "$PASTA/t_ref"); mr=$(mediana < "$PASTA/m_ref")
        awk -v n="$nome" -v tn="$tn" -v tr="$tr" -v mn="$mn" -v mr="$mr" 'BEGIN {
            printf "%-40s %7.2f s %7.2f s %6.2fx %6d MB %6d MB\n", n, tn, tr, (tr > 0 ? tn / tr : 0), mn, mr }'
    else
        awk -v n="$nome" -v tn="$tn" -v mn="$mn" 'BEGIN {
            printf "%-40s %7.2f s %9s %7s %6d MB %9s\n", n, tn, "-", "-", mn, "-" }'
    fi
}

grade 4000 4000 g4000
grade 6560 4560 g6560

echo "Threads: $(nproc); mediana de $VEZES execuções alternadas"
printf "%-40s %9s %9s %7s %9s %9s\n" "item" "nosso" "gdaldem" "razão" "mem nossa" "mem gdal"
G="$PASTA"
item "declividade 4000x4000 .flt -> .flt" \
    "\"$CLI\" declividade \"$G/g4000.flt\" \"$G/d_nosso.flt\"" \
    "gdaldem slope -q -p -of EHdr \"$G/g4000.flt\" \"$G/d_gdal.flt\""
item "declividade 4000x4000 .tif -> .tif" \
    "\"$CLI\" declividade \"$G/g4000.tif\" \"$G/d_nosso.tif\"" \
    "gdaldem slope -q -p \"$G/g4000.tif\" \"$G/d_gdal.tif\""
item "declividade 4000x4000 .tif DEFLATE" \
    "\"$CLI\" declividade \"$G/g4000z.tif\" \"$G/z_nosso.tif\"" \
    "gdaldem slope -q -p -co COMPRESS=DEFLATE -co PREDICTOR=3 -co ZLEVEL=1 -co TILED=YES \"$G/g4000z.tif\" \"$G/z_gdal.tif\""
item "declividade 6560x4560 .tif -> .tif" \
    "\"$CLI\" declividade \"$G/g6560.tif\" \"$G/e_nosso.tif\"" \
    "gdaldem slope -q -p \"$G/g6560.tif\" \"$G/e_gdal.tif\""
item "filtro 1 passada 4000x4000 .flt" \
    "\"$CLI\" filtro \"$G/g4000.flt\" \"$G/f_nosso.flt\"" \
    "gdaldem slope -q -p -of EHdr \"$G/g4000.flt\" \"$G/d_gdal.flt\""
item "filtro 1 passada 4000x4000 .tif" \
    "\"$CLI\" filtro \"$G/g4000.tif\" \"$G/f_nosso.tif\"" \
    "gdaldem slope -q -p \"$G/g4000.tif\" \"$G/d_gdal.tif\""
item "raster-converter 4000x4000 .tif -> .flt" \
    "\"$CLI\" raster-converter \"$G/g4000.tif\" \"$G/c_nosso.flt\"" \
    "gdaldem slope -q -p -of EHdr \"$G/g4000.tif\" \"$G/d_gdal.flt\""
item "raster-converter 4000x4000 .flt -> .tif" \
    "\"$CLI\" raster-converter \"$G/g4000.flt\" \"$G/c_nosso.tif\"" \
    "gdaldem slope -q -p \"$G/g4000.flt\" \"$G/d_gdal.tif\""
fazenda
cp "$(dirname "$0")/../data/Exemplos/Locacao em nivel.kzp" "$G/fazenda.kzp"
item "locar 6560x4560 (1 m, 30 M células)" \
    "\"$CLI\" locar \"$G/fazenda.kzp\" --elevacao \"$G/fazenda.flt\" --declividade \"$G/fazenda_decl.flt\" --saida \"$G/fazenda_loc.vet\" --max-terracos 0"
echo "(filtro e conversão: a coluna gdaldem é a declividade do mesmo arquivo, a referência de memória)"
