#!/bin/bash
# The menu entry, the project file type and the icon, as the desktop will read them.
#   validar_desktop.sh PASTA_PACOTE PASTA_ICONES
set -euo pipefail
pacote=$1 icones=$2
falhas=0
falha() { echo "FALHA: $*" >&2; falhas=$((falhas + 1)); }

desktop-file-validate "$pacote/vandoro.desktop" || falha "vandoro.desktop inválido"
xmllint --noout "$pacote/vandoro-projeto.xml" || falha "vandoro-projeto.xml não é XML bem formado"
xmllint --noout "$icones/scalable/apps/vandoro.svg" || falha "vandoro.svg não é XML bem formado"

grep -qx 'Name=Vandoro 4.1' "$pacote/vandoro.desktop" || falha "nome da entrada"
grep -qx 'Categories=Science;Engineering;' "$pacote/vandoro.desktop" || falha "categorias"
grep -qx 'Exec=vandoro %f' "$pacote/vandoro.desktop" || falha "a entrada não passa o arquivo ao programa"

# The type the entry claims is the one the MIME file defines, and *.kzp maps to it.
tipo=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$pacote/vandoro.desktop")
[ "$tipo" = application/x-vandoro-projeto ] || falha "MimeType da entrada: '$tipo'"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/mime/packages"
cp "$pacote/vandoro-projeto.xml" "$tmp/mime/packages/"
XDG_DATA_HOME="$tmp" update-mime-database "$tmp/mime" 2>"$tmp/erros.txt" || falha "update-mime-database: $(cat "$tmp/erros.txt")"
[ ! -s "$tmp/erros.txt" ] || falha "update-mime-database: $(cat "$tmp/erros.txt")"
grep -qx "50:$tipo:\*.kzp" "$tmp/mime/globs2" || falha "*.kzp não leva a $tipo: $(cat "$tmp/mime/globs2")"

# The icon the entry names, in every size, of the size its folder says.
icone=$(sed -n 's/^Icon=//p' "$pacote/vandoro.desktop")
for lado in 16 22 24 32 48 64 128 256; do
  png=$icones/${lado}x${lado}/apps/$icone.png
  [ -f "$png" ] || { falha "falta $png"; continue; }
  # PNG header: width and height as 32-bit big-endian numbers at bytes 16..23.
  dim=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dim" = "${lado}x${lado}" ] || falha "$png mede $dim"
done

[ "$falhas" = 0 ] || exit 1
echo "entrada, tipo de arquivo e ícone: ok"
