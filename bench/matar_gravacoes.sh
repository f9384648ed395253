#!/usr/bin/env bash
# Kills every writing command of vandoro-cli in the middle of a large write and checks that
# its output names hold the whole old set of files or the whole new set, never a mix (a new
# .hdr beside an old .flt, a new .shp beside an old .dbf), and that no "*.gravando" file or
# folder is left behind once the next command has written into that folder.
#
#   bench/matar_gravacoes.sh [PASTA_BUILD] [VEZES] [COMANDOS]
#       PASTA_BUILD  where bin/vandoro-cli and bin/Exemplos are (default: build)
#       VEZES        kills per command (default: 20)
#       COMANDOS     only the commands whose label matches this regular expression
#                    (e.g. 'raster|locar'; default: all)
#
# For each command: an uninterrupted run from a slightly different input writes the old set,
# two uninterrupted runs write the new set (they must agree: the check compares bytes) and
# time it. Then VEZES times: the old set is put back, the command starts, and is killed with
# SIGKILL at a random moment between its first file appearing and its usual end; a cheap
# write of another file into the same folder follows (the program rolls abandoned sets
# forward or back at the next write into a folder), and the names are compared by sha256.
# One line per command: kills that landed, runs that left the old set, the new set, a mix,
# and runs that left something else behind. Exits non-zero on any mix or leftover.
#
# Needs bash, coreutils (sha256sum) and awk for the synthetic inputs; about 1 GB in $TMPDIR
# and 15 to 30 minutes at 20 kills.
set -euo pipefail
shopt -s nullglob dotglob

build=${1:-build}
vezes=${2:-20}
comandos=${3:-}
cli=$build/bin/vandoro-cli
exemplos=$build/bin/Exemplos
[ -x "$cli" ] || { echo "não encontrei $cli" >&2; exit 2; }
[ -d "$exemplos" ] || { echo "não encontrei $exemplos" >&2; exit 2; }
[[ $vezes =~ ^[1-9][0-9]*$ ]] || { echo "VEZES deve ser um inteiro positivo: $vezes" >&2; exit 2; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/matar_gravacoes.XXXXXX")
vivo=""  # a command still running when the script is stopped
limpar() {
    if [ -n "$vivo" ]; then kill -9 "$vivo" 2>/dev/null || true; wait "$vivo" 2>/dev/null || true; fi
    if [ -s "$tmp/cli.pid" ]; then kill -9 "$(cat "$tmp/cli.pid")" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap limpar EXIT
trap 'exit 130' INT TERM

# A GeoPackage stamps the time of its write; a fixed one makes two runs byte-identical.
export OGR_CURRENT_DATE=2000-01-01T00:00:00Z

# A read from this never returns: a sleep without starting a process.
exec {dorme}<> <(:)

# --- Inputs: a new and a slightly different old one of each ------------------------------
# The old inputs differ in every file a command writes from them (values, corner and UTM
# zone), so that a new member beside an old one always shows.
ent=$tmp/entrada
mkdir -p "$ent"

# prj ZONA: SIRGAS 2000 / UTM ZONA S
prj() {
    printf 'PROJCS["SIRGAS_2000_UTM_Zone_%sS",GEOGCS["GCS_SIRGAS_2000",DATUM["D_SIRGAS_2000",SPHEROID["GRS_1980",6378137.0,298.257222101]],PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]],PROJECTION["Transverse_Mercator"],PARAMETER["False_Easting",500000.0],PARAMETER["False_Northing",10000000.0],PARAMETER["Central_Meridian",%d.0],PARAMETER["Scale_Factor",0.9996],PARAMETER["Latitude_Of_Origin",0.0],UNIT["Meter",1.0]]' \
        "$1" $((6 * $1 - 183))
}

# grade NOME CELULAS TAMANHO_CELULA DECLIVE X0 ZONA: a wavy UTM hillside as NOME.flt/.hdr/.prj
grade() {
    awk -v n="$2" -v cs="$3" -v a="$4" -v x0="$5" 'BEGIN {
        printf "ncols %d\nnrows %d\nxllcorner %d\nyllcorner 7460000\ncellsize %g\nNODATA_value -9999\n", n, n, x0, cs
        for (i = 0; i < n; i++) {
            y = (n - 1 - i) * cs
            for (j = 0; j < n; j++)
                printf "%.3f%s", 600 + a * y + 8 * sin(j * cs / 150) + 3 * cos(y / 90), (j < n - 1 ? " " : "\n")
        } }' >"$ent/$1.asc"
    prj "$6" >"$ent/$1.prj"
    "$cli" raster-converter "$ent/$1.asc" "$ent/$1.flt" >/dev/null
    rm -f "$ent/$1.asc"
}

# pontos NOME Z0 ZONA: 300 lines of 1 000 points as NOME.vet (+ .prj), and the Surfer text
pontos() {
    awk -v z0="$2" 'BEGIN { print "\"X\" \"Y\" \"Z\""
        for (l = 0; l < 300; l++) for (p = 0; p < 1000; p++)
            printf "%.2f %.2f %d\n", 300000 + p * 2.5, 7460000 + l * 10 + p * 0.01, z0 + l }' >"$ent/$1.txt"
    "$cli" vetor-importar "$ent/$1.txt" "$ent/$1.vet" >/dev/null
    prj "$3" >"$ent/$1.prj"
}

echo "Preparando as entradas em $tmp ..."
grade grade-novo 3000 2 0.06 300000 23
grade grade-velho 3000 2 0.07 300010 22
grade elev-novo 2000 1.5 0.06 300000 23
grade elev-velho 2000 1.5 0.07 300010 22
"$cli" declividade "$ent/elev-novo.flt" "$ent/decl-novo.flt" >/dev/null
"$cli" declividade "$ent/elev-velho.flt" "$ent/decl-velho.flt" >/dev/null
pontos vetor-novo 600 23
pontos vetor-velho 610 22
cp "$exemplos/Locacao em nivel.kzp" "$ent/locacao.kzp"
cp "$exemplos/Terraco em gradiente.kzp" "$ent/gradiente-novo.kzp"
sed 's/^VIB=.*/VIB=12/' "$ent/gradiente-novo.kzp" >"$ent/gradiente-velho.kzp"
cp "$exemplos/Terraco em nivel.kzp" "$ent/nivel.kzp"

# --- One command -------------------------------------------------------------------------
# Each command writes every output into $pasta; $base keeps its old and new sets.
base=$tmp/caso
pasta=$base/pasta
falhas=0
printf '\n%-28s %7s %9s %6s %6s %6s %8s %6s\n' comando "dur(s)" "janela(s)" kills velho novo mistura sobras

# retrato PASTA NOME...: "NOME sha256" of each name in PASTA, "NOME -" where it is missing
retrato() {
    local dir=$1 n
    shift
    for n in "$@"; do
        if [ -f "$dir/$n" ]; then
            printf "%s %s\n" "$n" "$(sha256sum <"$dir/$n" | cut -d' ' -f1)"
        else
            printf '%s -\n' "$n"
        fi
    done
}

# rodar VARIANTE: the command for that input, uninterrupted, into $pasta; prints its
# output on failure. Sets dur_us (its duration) and grava_us (when its first file appeared
# in $pasta, looked for every 2 ms; 0 when none was seen before it ended).
rodar() {
    local t0 p rc fim
    local -a e
    rm -f "$tmp/fim"
    t0=${EPOCHREALTIME/[.,]/}
    grava_us=""
    # The end is taken by the subshell itself, not by the polling below.
    (
        "$cli" "${args[@]//\{v\}/$1}" >"$tmp/saida.txt" 2>&1 &
        echo $! >"$tmp/cli.pid"
        rc=0
        wait $! || rc=$?
        echo "$rc ${EPOCHREALTIME/[.,]/}" >"$tmp/fim"
    ) &
    p=$!
    vivo=$p
    while [ -z "$grava_us" ] && kill -0 "$p" 2>/dev/null; do
        e=("$pasta"/*)
        [ ${#e[@]} -eq 0 ] || grava_us=$((${EPOCHREALTIME/[.,]/} - t0))
        read -rt 0.002 -u "$dorme" || true
    done
    wait "$p" || true
    vivo=""
    rm -f "$tmp/cli.pid"
    read -r rc fim <"$tmp/fim"
    dur_us=$((fim - t0))
    [ -n "$grava_us" ] && [ "$grava_us" -le "$dur_us" ] || grava_us=0
    if [ "$rc" -ne 0 ]; then
        echo "$rotulo: a execução sem interrupção falhou ($rc):" >&2
        cat "$tmp/saida.txt" >&2
        return 1
    fi
    e=("$pasta"/*.gravando)
    if [ ${#e[@]} -gt 0 ]; then
        echo "$rotulo: a execução sem interrupção deixou ${e[*]##*/}" >&2
        return 1
    fi
}

# caso ROTULO ARGUMENTOS...: {v} in an argument is the input variant (novo or velho).
caso() {
    rotulo=$1
    shift
    [[ -z $comandos || $rotulo =~ $comandos ]] || return 0
    args=("$@")
    rm -rf "$base"
    mkdir -p "$base/velho" "$base/novo" "$pasta"

    # The new set twice (timed by the quicker run: the machine may be busy), then the old one,
    # each into the same folder: a writer may put its own path into a file.
    local -a f nomes
    local i dur=0 grava=0
    for i in 1 2; do
        rodar novo || { falhas=$((falhas + 1)); return 0; }
        if [ "$i" -eq 1 ] || [ "$dur_us" -lt "$dur" ]; then dur=$dur_us grava=$grava_us; fi
        f=("$pasta"/*)
        if [ ${#f[@]} -eq 0 ]; then
            echo "$rotulo: a execução sem interrupção não gravou nada" >&2
            falhas=$((falhas + 1))
            return 0
        fi
        nomes=("${f[@]##*/}")
        if [ "$i" -eq 1 ]; then
            mv "${f[@]}" "$base/novo/"
            retrato "$base/novo" "${nomes[@]}" >"$base/novo.sha256"
        else
            if [ "$(retrato "$pasta" "${nomes[@]}")" != "$(cat "$base/novo.sha256")" ]; then
                echo "$rotulo: duas execuções iguais gravaram arquivos diferentes" >&2
                falhas=$((falhas + 1))
                return 0
            fi
            rm -rf "${f[@]}"
        fi
    done
    rodar velho || { falhas=$((falhas + 1)); return 0; }
    f=("$pasta"/*)
    [ ${#f[@]} -gt 0 ] || { echo "$rotulo: a execução com a entrada velha não gravou nada" >&2; falhas=$((falhas + 1)); return 0; }
    local nvelho=${#f[@]}
    mv "${f[@]}" "$base/velho/"

    # Every name either set has, and what each set holds under them.
    f=("$base/novo"/* "$base/velho"/*)
    mapfile -t nomes < <(printf '%s\n' "${f[@]##*/}" | LC_ALL=C sort -u)
    retrato "$base/novo" "${nomes[@]}" >"$base/novo.sha256"
    retrato "$base/velho" "${nomes[@]}" >"$base/velho.sha256"
    if cmp -s "$base/novo.sha256" "$base/velho.sha256"; then
        echo "$rotulo: o conjunto velho é igual ao novo; o teste não distinguiria os dois" >&2
        falhas=$((falhas + 1))
        return 0
    fi

    # The kills. Each run is watched until its first new file appears (a writer that made none
    # would be killed at twice the usual duration), then killed within the usual time of the
    # write: timing it from its own start would miss short writes whenever the machine is
    # busier or idler than during the reference. Near the expected moment it is watched
    # without pause, or a small file would be written and renamed between two looks.
    local janela=$((dur - grava)) kills=0 velho=0 novo=0 mistura=0 sobras=0
    local t0 atraso espera p rc estado n
    local -a detalhes=()
    [ "$janela" -ge 2000 ] || janela=2000
    for ((i = 0; i < vezes; i++)); do
        rm -rf "$pasta"
        cp -a "$base/velho" "$pasta"
        t0=${EPOCHREALTIME/[.,]/}
        "$cli" "${args[@]//\{v\}/novo}" >/dev/null 2>&1 &
        p=$!
        vivo=$p
        while kill -0 "$p" 2>/dev/null; do
            f=("$pasta"/*)
            [ ${#f[@]} -le "$nvelho" ] || break
            n=$((${EPOCHREALTIME/[.,]/} - t0))
            [ "$n" -lt $((2 * dur)) ] || break
            [ "$n" -ge $((grava * 3 / 4)) ] || read -rt 0.002 -u "$dorme" || true
        done
        atraso=$((RANDOM * janela / 32768))
        printf -v espera "%d.%06d" $((atraso / 1000000)) $((atraso % 1000000))
        read -rt "$espera" -u "$dorme" || true
        kill -9 "$p" 2>/dev/null || true
        rc=0
        wait "$p" 2>/dev/null || rc=$?
        vivo=""
        atraso=$(((${EPOCHREALTIME/[.,]/} - t0) / 1000))  # ms from the start, for the details
        case $rc in
            137) kills=$((kills + 1)) ;;
            0) ;;  # it ended before the kill: must have left the new set
            *) detalhes+=("a execução $((i + 1)) falhou sem ser morta ($rc)")
               falhas=$((falhas + 1)) ;;
        esac

        # The next write into the folder tidies what the killed run left.
        if ! "$cli" simular "$ent/nivel.kzp" --csv "$pasta/outro.csv" >"$tmp/saida.txt" 2>&1; then
            detalhes+=("a gravação seguinte falhou: $(tr '\n' ' ' <"$tmp/saida.txt")")
            falhas=$((falhas + 1))
        fi
        rm -f "$pasta/outro.csv"

        estado=$(retrato "$pasta" "${nomes[@]}")
        if [ "$estado" = "$(cat "$base/velho.sha256")" ]; then
            velho=$((velho + 1))
        elif [ "$estado" = "$(cat "$base/novo.sha256")" ]; then
            novo=$((novo + 1))
        else
            mistura=$((mistura + 1))
            detalhes+=("mistura (morto aos $atraso ms): $(paste -d' ' "$base/velho.sha256" "$base/novo.sha256" - <<<"$estado" |
                awk '{ printf "%s %s  ", $1, ($6 == $2 ? "velho" : $6 == $4 ? "novo" : $6 == "-" ? "ausente" : "outro") }')")
        fi
        f=()
        for n in "$pasta"/*; do
            [[ " ${nomes[*]} " == *" ${n##*/} "* ]] || f+=("${n##*/}")
        done
        if [ ${#f[@]} -gt 0 ]; then
            sobras=$((sobras + 1))
            detalhes+=("sobras (morto aos $atraso ms): ${f[*]}")
        fi
    done
    printf "%-28s %4d.%02d %6d.%02d %6d %6d %6d %8d %6d\n" "$rotulo" $((dur / 1000000)) $((dur / 10000 % 100)) \
        $((janela / 1000000)) $((janela / 10000 % 100)) "$kills" "$velho" "$novo" "$mistura" "$sobras"
    # Up to four details, mixes first.
    mapfile -t detalhes < <(printf "%s\n" "${detalhes[@]}" | grep "^mistura" || true; printf "%s\n" "${detalhes[@]}" | grep -v "^mistura" || true)
    for n in "${detalhes[@]:0:4}"; do [ -z "$n" ] || echo "    $n"; done
    [ ${#detalhes[@]} -le 4 ] || echo "    ... e mais $((${#detalhes[@]} - 4))"
    falhas=$((falhas + mistura + sobras))
    rm -rf "$base"
}

# --- The commands ------------------------------------------------------------------------
g=$ent/grade-{v}.flt
caso "declividade .flt" declividade "$g" "$pasta/declividade.flt"
caso "filtro .flt" filtro "$g" "$pasta/filtrada.flt"
caso "raster-converter .flt" raster-converter "$g" "$pasta/grade.flt"
caso "raster-converter .asc" raster-converter "$g" "$pasta/grade.asc"
caso "raster-converter .img" raster-converter "$g" "$pasta/grade.img"
caso "raster-converter .grd" raster-converter "$g" "$pasta/grade.grd"
caso "raster-converter .tif" raster-converter "$g" "$pasta/grade.tif"
v=$ent/vetor-{v}.vet
caso "vetor-exportar .vec" vetor-exportar "$v" "$pasta/linhas.vec"
caso "vetor-exportar .txt" vetor-exportar "$v" "$pasta/linhas.txt"
caso "vetor-exportar .shp" vetor-exportar "$v" "$pasta/linhas.shp"
caso "vetor-exportar .gpkg" vetor-exportar "$v" "$pasta/linhas.gpkg"
caso "vetor-exportar .geojson" vetor-exportar "$v" "$pasta/linhas.geojson"
caso "vetor-exportar .kml" vetor-exportar "$v" "$pasta/linhas.kml"
caso "vetor-importar .vet" vetor-importar "$ent/vetor-{v}.txt" "$pasta/linhas.vet"
caso "locar --faixas --sig .shp" locar "$ent/locacao.kzp" --elevacao "$ent/elev-{v}.flt" \
    --declividade "$ent/decl-{v}.flt" --saida "$pasta/terracos.vet" --faixas "$pasta/faixas.asc" --sig "$pasta/sig.shp"
caso "dimensionar --relatorio" dimensionar "$ent/gradiente-{v}.kzp" --relatorio "$pasta/relatorio.html"
caso "simular --csv" simular "$ent/gradiente-{v}.kzp" --csv "$pasta/simulacao.csv"

if [ "$falhas" -gt 0 ]; then
    echo "Falhas: $falhas (misturas, sobras ou execuções que falharam)."
    exit 1
fi
echo "Nenhuma mistura nem sobra."
