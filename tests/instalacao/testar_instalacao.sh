#!/bin/bash
# Installs the build into a temporary prefix and runs the installed programs from another
# working folder, as a user who cannot write into the installed tree.
#   testar_instalacao.sh BUILD DESTINO COM_JANELAS(0|1)
set -euo pipefail
build=$1 destino=$2 janelas=$3

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
raiz=$tmp/raiz
falhas=0
falha() { echo "FALHA: $*" >&2; falhas=$((falhas + 1)); }

cmake --install "$build" --prefix "$raiz" >/dev/null

# Everything lands in the program folder or under usr/: a rule that installs to a bare
# "bin" would put files beside them.
topo=$(cd "$raiz" && ls -A | sort | tr '\n' ' ')
[ "$topo" = "${destino%%/*} usr " ] || falha "pastas no topo da instalação: $topo"

prog=$raiz/$destino/bin
comuns="$raiz/$destino/Arquivos Comuns"
# The data folders hold what the build folder holds.
for pasta in Exemplos texto ajuda; do
  diff -r "$build/bin/$pasta" "$prog/$pasta" >/dev/null || falha "bin/$pasta instalada difere da do build"
done
diff -r "$build/Arquivos Comuns" "$comuns" >/dev/null || falha "Arquivos Comuns instalada difere da do build"
for f in "$build"/bin/*.bmp "$build"/bin/*.jpg; do
  cmp -s "$f" "$prog/$(basename "$f")" || falha "$(basename "$f") não foi instalado"
done

comandos=(vandoro-cli)
[ "$janelas" = 1 ] && comandos+=(vandoro)
for c in "${comandos[@]}"; do
  [ -L "$raiz/usr/bin/$c" ] || falha "usr/bin/$c não é um link"
  [ "$(readlink -f "$raiz/usr/bin/$c")" = "$(readlink -f "$prog/$c")" ] || falha "usr/bin/$c não leva a $destino/bin/$c"
  v=$("$raiz/usr/bin/$c" --version) || falha "$c --version terminou com erro"
  [ "$v" = "Vandoro 4.1.0" ] || falha "$c --version escreveu '$v'"
done

# The user: nobody when the test runs as root (root writes anywhere), else the caller with
# the installed tree made read-only.
casa=$tmp/casa trabalho=$tmp/trabalho
mkdir -p "$casa" "$trabalho"
chmod -R a-w "$raiz"
if [ "$(id -u)" = 0 ]; then
  chown -R nobody "$casa" "$trabalho"
  como() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
else
  como() { "$@"; }
fi
antes=$(cd "$raiz" && find . | sort)

exemplo="$prog/Exemplos/Terraco em nivel.kzp"
cd "$trabalho"
if como env HOME="$casa" XDG_CONFIG_HOME="$casa/.config" "$raiz/usr/bin/vandoro-cli" dimensionar "$exemplo" \
     --relatorio "$trabalho/relatorio.html" >"$tmp/instalado.txt" 2>"$tmp/erros.txt"; then
  # The same results as the build folder's program on the same example.
  (cd "$build" && bin/vandoro-cli dimensionar "bin/Exemplos/Terraco em nivel.kzp") >"$tmp/build.txt"
  diff -u "$tmp/build.txt" <(grep -v '^Relatório: ' "$tmp/instalado.txt") >&2 || falha "resultados diferentes dos do build"
  grep -q "Espaçamento" "$tmp/instalado.txt" || falha "dimensionar não mostrou o espaçamento"
  # The report's header picture is the installed one.
  grep -qF "SRC=\"$(readlink -f "$prog")/Cabecalho.jpg\"" "$trabalho/relatorio.html" ||
    falha "o relatório não aponta o cabeçalho instalado"
else
  falha "vandoro-cli dimensionar no exemplo instalado: $(cat "$tmp/erros.txt")"
fi
# The PDF module is found beside the command the link leads to, with no display of any kind.
if como env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$casa" XDG_CONFIG_HOME="$casa/.config" \
     "$raiz/usr/bin/vandoro-cli" dimensionar "$exemplo" --relatorio "$trabalho/relatorio.pdf" >/dev/null \
     2>"$tmp/erros.txt"; then
  [ "$(head -c 5 "$trabalho/relatorio.pdf")" = "%PDF-" ] || falha "relatorio.pdf não é um PDF"
  [ ! -s "$tmp/erros.txt" ] || falha "o PDF sem tela escreveu: $(cat "$tmp/erros.txt")"
else
  falha "vandoro-cli dimensionar --relatorio relatorio.pdf instalado: $(cat "$tmp/erros.txt")"
fi

# GDAL is opened from the module installed beside the command, and only when needed: the
# command itself does not load it.
[ -f "$prog/vandoro-gdal.so" ] || falha "o módulo vandoro-gdal.so não foi instalado"
! ldd "$prog/vandoro-cli" | grep -q libgdal || falha "vandoro-cli carrega o GDAL ao iniciar"
if como env HOME="$casa" "$raiz/usr/bin/vandoro-cli" raster-info "$prog/Exemplos/hugo_site_2m.flt" \
     >"$tmp/info.txt" 2>"$tmp/erros.txt"; then
  grep -qF "Sistema de coordenadas: SIRGAS 2000 / UTM zone 23S" "$tmp/info.txt" ||
    falha "raster-info instalado não descreveu o sistema: $(cat "$tmp/info.txt")"
else
  falha "vandoro-cli raster-info instalado: $(cat "$tmp/erros.txt")"
fi

if [ "$janelas" = 1 ]; then
  legenda=$(como env HOME="$casa" XDG_CONFIG_HOME="$casa/.config" QT_QPA_PLATFORM=offscreen \
              "$raiz/usr/bin/vandoro" --legenda "$exemplo" 2>"$tmp/erros.txt") ||
    falha "vandoro --legenda terminou com erro: $(cat "$tmp/erros.txt")"
  [ "$legenda" = "Vandoro 4.1 ('Terraco em nivel.kzp')" ] || falha "título da janela principal: '$legenda'"
  # The example was opened as the user's own copy.
  cmp -s "$exemplo" "$casa/Documents/Vandoro/Exemplos/Terraco em nivel.kzp" ||
    falha "o exemplo não foi copiado para $casa/Documents/Vandoro/Exemplos"
  [ -f "$casa/Documents/Vandoro/Exemplos/hugo_site.asc" ] || falha "os arquivos ao lado do exemplo não foram copiados"
  # The settings go to the user's configuration folder.
  [ -d "$casa/.config/Vandoro" ] || falha "a pasta de configuração $casa/.config/Vandoro não foi criada"
  # The screenshot tool stays in the build: the installed program neither holds nor knows it.
  [ ! -e "$prog/vandoro-telas" ] || falha "vandoro-telas foi instalado"
  rc=0
  como env HOME="$casa" XDG_CONFIG_HOME="$casa/.config" QT_QPA_PLATFORM=offscreen \
    "$raiz/usr/bin/vandoro" --telas "$trabalho/telas" >/dev/null 2>"$tmp/erros.txt" || rc=$?
  [ "$rc" = 2 ] && grep -qF "opção desconhecida: --telas." "$tmp/erros.txt" ||
    falha "vandoro --telas: saída $rc, $(cat "$tmp/erros.txt")"
fi

depois=$(cd "$raiz" && find . | sort)
[ "$antes" = "$depois" ] || falha "a instalação mudou: $(diff <(echo "$antes") <(echo "$depois") | tail -n +2)"

[ "$falhas" = 0 ] || exit 1
echo "instalação em $raiz: ok"
