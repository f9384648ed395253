#!/usr/bin/env python3
"""Writes the malformed-file corpus of tests/data/malformados/ and its list of cases.

Every damaged file is made from a small valid one, so the fault is the only thing wrong with
it. casos.txt holds one case per line, fields separated by '|':
    command | input | output | exit code | name the message must carry | text the message must carry
The valid files that must still be read go to validos/. Run from anywhere:
    python3 tools/gerar_malformados.py
The output is the same on every run (fixed random seed).
"""
import os
import random
import shutil
import struct

RAIZ = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "malformados")
aleatorio = random.Random(2711)
casos = []


def grava(nome, dados):
    if isinstance(dados, str):
        dados = dados.encode("cp1252")
    caminho = os.path.join(RAIZ, nome)
    os.makedirs(os.path.dirname(caminho), exist_ok=True)
    with open(caminho, "wb") as f:
        f.write(dados)


def caso(comando, entrada, saida, fragmento, nome=None, codigo=1):
    casos.append("|".join([comando, entrada, saida, str(codigo), nome or entrada, fragmento]))


# ---------------------------------------------------------------- grids

COLS, ROWS = 5, 4
ELEV = [[1000 + 3 * c + 7 * r for c in range(COLS)] for r in range(ROWS)]


def asc(cabecalho=None, celulas=None, fim="\r\n"):
    if cabecalho is None:
        cabecalho = ["ncols 5", "nrows 4", "xllcorner 500000", "yllcorner 7000000", "cellsize 10",
                     "NODATA_value -9999"]
    if celulas is None:
        celulas = [" ".join(str(v) for v in linha) for linha in ELEV]
    return fim.join(cabecalho + celulas) + fim


def troca(cabecalho, chave, nova):
    return [nova if l.split()[0].lower() == chave else l for l in cabecalho]


CAB = ["ncols 5", "nrows 4", "xllcorner 500000", "yllcorner 7000000", "cellsize 10", "NODATA_value -9999"]


def caso_asc(nome, texto, fragmento):
    grava(nome, texto)
    caso("declividade", nome, "s.asc", fragmento)


caso_asc("asc_chave_repetida.asc", asc(CAB[:1] + ["ncols 2"] + CAB[1:]), "ncols aparece mais de uma vez")
caso_asc("asc_nodata_repetido.asc", asc(CAB + ["NODATA_value 0"]), "nodata_value aparece mais de uma vez")
caso_asc("asc_sem_ncols.asc", asc(CAB[1:]), "falta a chave ncols")
caso_asc("asc_ncols_zero.asc", asc(troca(CAB, "ncols", "ncols 0")), "valor inválido para ncols")
caso_asc("asc_ncols_negativo.asc", asc(troca(CAB, "ncols", "ncols -5")), "valor inválido para ncols")
caso_asc("asc_ncols_fracionario.asc", asc(troca(CAB, "ncols", "ncols 4.5")), "valor inválido para ncols")
caso_asc("asc_nrows_absurdo.asc", asc(troca(CAB, "nrows", "nrows 99999999999")), "valor inválido para nrows")
caso_asc("asc_dimensoes_absurdas.asc", asc(troca(troca(CAB, "ncols", "ncols 2000000000"), "nrows", "nrows 2000000000")),
         "pequeno demais para uma grade de 2000000000 colunas")
caso_asc("asc_cellsize_zero.asc", asc(troca(CAB, "cellsize", "cellsize 0")), "tamanho de célula inválido")
caso_asc("asc_cellsize_negativo.asc", asc(troca(CAB, "cellsize", "cellsize -10")), "tamanho de célula inválido")
caso_asc("asc_cellsize_nan.asc", asc(troca(CAB, "cellsize", "cellsize nan")), "valor inválido 'nan' para cellsize")
caso_asc("asc_xllcorner_infinito.asc", asc(troca(CAB, "xllcorner", "xllcorner 1e400")), "para xllcorner")
caso_asc("asc_coordenada_enorme.asc", asc(troca(CAB, "xllcorner", "xllcorner 1e39")), "coordenadas fora da faixa")
caso_asc("asc_chave_desconhecida.asc", asc(CAB + ["zonautm 22"]), "chave desconhecida 'zonautm'")
celulas = [" ".join(str(v) for v in l) for l in ELEV]
caso_asc("asc_celula_infinita.asc", asc(celulas=celulas[:1] + ["1000 1001 inf 1003 1004"] + celulas[2:]),
         "coluna 3, linha 2 tem valor infinito (+INF)")
caso_asc("asc_celula_menos_infinito.asc", asc(celulas=["-1e39 1 2 3 4"] + celulas[1:]),
         "coluna 1, linha 1 tem valor infinito (-INF)")
caso_asc("asc_celula_texto.asc", asc(celulas=celulas[:3] + ["1000 1001 mil 1003 1004"]), "valor inválido 'mil' na linha 10")
caso_asc("asc_truncado.asc", asc(celulas=celulas[:3]), "fim inesperado dos dados (esperados 20 valores, lidos 15)")
caso_asc("asc_valores_a_mais.asc", asc(celulas=celulas + ["1 2 3 4 5"]), "mais valores do que os 20")
caso_asc("asc_utf16.asc", b"\xff\xfe" + asc().encode("utf-16-le"), "UTF-16")
caso_asc("asc_utf16_sem_bom.asc", asc().encode("utf-16-le"), "UTF-16")
caso_asc("asc_binario.asc", bytes(aleatorio.randrange(256) for _ in range(3000)), "asc_binario.asc")
caso_asc("asc_vazio.asc", b"", "falta a chave ncols")
caso_asc("asc_linha_longa.asc", asc(troca(CAB, "ncols", "ncols " + "9" * 200000)), "valor inválido '9999")
caso_asc("asc_chave_longa.asc", asc(CAB + ["x" * 300000 + " 1"]), "chave desconhecida 'xxxx")
caso_asc("asc_numero_longo.asc", asc(celulas=["1" * 400000 + " 1 2 3 4"] + celulas[1:]),
         "coluna 1, linha 1 tem valor infinito (+INF)")

# Header + 32-bit float cells.
HDR = ["ncols 5", "nrows 4", "xllcorner 500000", "yllcorner 7000000", "cellsize 10", "NODATA_value -9999",
       "byteorder LSBFIRST"]


def flt(valores, msb=False):
    return struct.pack((">" if msb else "<") + "%df" % len(valores), *valores)


TODAS = [float(v) for l in ELEV for v in l]


def caso_flt(nome, cabecalho, dados, fragmento, culpado=None, entrada=None):
    grava(nome + ".hdr", "\r\n".join(cabecalho) + "\r\n")
    grava(nome + ".flt", dados)
    caso("declividade", entrada or nome + ".flt", "s.flt", fragmento, culpado or nome + ".flt")


caso_flt("flt_curto", HDR, flt(TODAS[:-1]), "tem 76 bytes, mas a grade de 5 colunas × 4 linhas precisa de 80")
caso_flt("flt_longo", HDR, flt(TODAS + TODAS), "tem 160 bytes, mas a grade de 5 colunas × 4 linhas precisa de 80")
caso_flt("flt_vazio", HDR, b"", "tem 0 bytes")
# Elevations written most significant byte first under a header that says LSBFIRST: read
# swapped, each is a subnormal number no measurement gives.
caso_flt("flt_ordem_de_bytes_trocada", HDR, flt(TODAS, msb=True), "ordem de bytes errada")
caso_flt("flt_ordem_de_bytes_trocada_msb", troca(HDR, "byteorder", "byteorder MSBFIRST"), flt(TODAS),
         "ordem de bytes errada")
caso_flt("flt_ordem_de_bytes_desconhecida", troca(HDR, "byteorder", "byteorder VAX"), flt(TODAS),
         "ordem de bytes 'VAX' desconhecida", "flt_ordem_de_bytes_desconhecida.hdr")
caso_flt("flt_nbits_16", HDR + ["nbits 16"], flt(TODAS), "só são aceitas células de 32 bits",
         "flt_nbits_16.hdr")
caso_flt("flt_sem_nrows", HDR[:1] + HDR[2:], flt(TODAS), "falta a chave nrows", "flt_sem_nrows.hdr")
caso_flt("flt_celula_infinita", HDR, flt(TODAS[:7] + [float("inf")] + TODAS[8:]),
         "coluna 3, linha 2 tem valor infinito (+INF)")
caso_flt("flt_nodata_nan", troca(HDR, "nodata_value", "NODATA_value NaN"), flt(TODAS),
         "valor inválido 'NaN' para NODATA_value", "flt_nodata_nan.hdr")
caso_flt("flt_cabecalho_utf16", [], flt(TODAS), "UTF-16", "flt_cabecalho_utf16.hdr")
grava("flt_cabecalho_utf16.hdr", b"\xff\xfe" + ("\r\n".join(HDR) + "\r\n").encode("utf-16-le"))
caso_flt("flt_chave_repetida", HDR + ["cellsize 20"], flt(TODAS), "cellsize aparece mais de uma vez",
         "flt_chave_repetida.hdr")

# Idrisi: text header + raw cells.
def doc(titulo="Relevo", tipo="real", cols=5, rows=4, minx="500000", maxx="500050", miny="7000000",
        maxy="7000040", arquivo="binary", linhas=None):
    l = ["file title  : " + titulo, "data type   : " + tipo, "file type   : " + arquivo,
         "columns     : " + str(cols), "rows        : " + str(rows), "ref. system : plane",
         "ref. units  : m", "unit dist.  : 1", "min. X      : " + minx, "max. X      : " + maxx,
         "min. Y      : " + miny, "max. Y      : " + maxy, "pos n error : unknown", "resolution  : unknown",
         "min. value  : 1000", "max. value  : 1033", "value units : unspecified", "value error : unknown",
         "flag value  : none", "flag def'n  : none", "legend cats : 0"]
    return "\r\n".join(l[:linhas] if linhas else l) + "\r\n"


def caso_img(nome, texto_doc, dados, fragmento, culpado=None):
    grava(nome + ".doc", texto_doc)
    grava(nome + ".img", dados)
    caso("declividade", nome + ".doc", "s.doc", fragmento, culpado or nome + ".doc")


caso_img("img_dobro_do_tamanho", doc(), flt(TODAS + TODAS),
         "tem 160 bytes, mas a grade de 5 colunas × 4 linhas precisa de 80", "img_dobro_do_tamanho.img")
caso_img("img_curto", doc(), flt(TODAS[:10]), "tem 40 bytes", "img_curto.img")
caso_img("img_cabecalho_incompleto", doc(linhas=10), flt(TODAS), "cabeçalho Idrisi incompleto")
caso_img("img_colunas_zero", doc(cols=0), flt(TODAS), "valor inválido para columns")
caso_img("img_colunas_texto", doc(cols="cinco"), flt(TODAS), "valor inválido 'cinco' na linha 4")
caso_img("img_x_invertido", doc(minx="500050", maxx="500000"), flt(TODAS), "tamanho de célula nulo ou negativo")
caso_img("img_y_igual", doc(maxy="7000000"), flt(TODAS), "tamanho de célula nulo ou negativo")
caso_img("img_texto_ascii", doc(arquivo="ascii"), flt(TODAS), "em texto (ASCII) não são aceitas")
caso_img("img_tipo_desconhecido", doc(tipo="complex"), flt(TODAS), "tipo de dado 'complex' desconhecido")
caso_img("img_celula_infinita", doc(), flt([float("-inf")] + TODAS[1:]),
         "coluna 1, linha 1 tem valor infinito (-INF)", "img_celula_infinita.img")
caso_img("img_doc_utf16", b"\xff\xfe" + doc().encode("utf-16-le"), flt(TODAS), "UTF-16")
caso_img("img_minx_nan", doc(minx="NaN"), flt(TODAS), "valor inválido 'NaN' na linha 9")

# Surfer text grids.
def grd(cabecalho="DSAA", dims="5 4", xs="500000 500040", ys="7000000 7000030", zs="1000 1033", celulas=None):
    linhas = [cabecalho, dims, xs, ys, zs]
    linhas += celulas if celulas is not None else [" ".join(str(v) for v in l) for l in reversed(ELEV)]
    return "\r\n".join(linhas) + "\r\n"


def caso_grd(nome, texto, fragmento):
    grava(nome, texto)
    caso("declividade", nome, "s.grd", fragmento)


caso_grd("grd_truncado.grd", grd(celulas=celulas[:2]), "fim inesperado dos dados (esperados 20 valores, lidos 10)")
caso_grd("grd_valores_a_mais.grd", grd(celulas=celulas + celulas), "mais valores do que os 20")
caso_grd("grd_x_igual.grd", grd(xs="500000 500000"), "tamanho de célula nulo ou negativo")
caso_grd("grd_y_invertido.grd", grd(ys="7000030 7000000"), "tamanho de célula nulo ou negativo")
caso_grd("grd_colunas_negativas.grd", grd(dims="-5 4"), "valor inválido para colunas")
caso_grd("grd_celula_infinita.grd", grd(celulas=["1 2 3 4 -inf"] + celulas[1:]), "tem valor infinito (-INF)")
caso_grd("grd_limites_nan.grd", grd(xs="nan 500040"), "valor inválido no cabeçalho Surfer")
caso_grd("grd_utf16.grd", b"\xff\xfe" + grd().encode("utf-16-le"), "UTF-16")
caso_grd("grd_dimensoes_absurdas.grd", grd(dims="100000 100000"), "pequeno demais para uma grade")

# ---------------------------------------------------------------- vectors

def texto255(t):
    b = t.encode("cp1252")
    return bytes([len(b)]) + b + bytes(254 - len(b))


def vet(linhas, titulo="Terraços", unidade="m", limites=None):
    regs = b""
    xs, ys = [], []
    for ident, pontos in linhas:
        for x, y, z in pontos:
            regs += struct.pack("<hfff", ident, x, y, z)
            xs.append(struct.unpack("<f", struct.pack("<f", x))[0])
            ys.append(struct.unpack("<f", struct.pack("<f", y))[0])
    if limites is None:
        limites = (min(xs), max(xs), min(ys), max(ys)) if xs else (0, 0, 0, 0)
    return bytes([1]) + texto255(titulo) + texto255(unidade) + struct.pack("<4f", *limites) + regs


def linhas_terraco(n, pontos=5):
    return [(i, [(500000 + 10 * k + i, 7000000 + 30 * i + (k % 2), 1000 - 2 * i) for k in range(pontos)])
            for i in range(1, n + 1)]


V26 = vet(linhas_terraco(26))


def caso_vet(nome, dados, fragmento, comando="vetor-exportar", saida="s.txt"):
    grava(nome, dados)
    caso(comando, nome, saida, fragmento)


caso_vet("vet_metade.vet", V26[:527 + (len(V26) - 527) // 2], "está incompleto")
caso_vet("vet_cortado_num_registro.vet", V26[:527 + 14 * 80], "os limites do cabeçalho não correspondem aos 80 registros")
caso_vet("vet_registro_parcial.vet", V26 + b"\x01\x00\x00\x00\x80", "o último registro tem 5 de 14 bytes")
caso_vet("vet_cabecalho_curto.vet", V26[:300], "está incompleto (300 de 527 bytes)")
caso_vet("vet_versao_2.vet", bytes([2]) + V26[1:], "A versão do arquivo vet_versao_2.vet é inválida (2; só a versão 1 é lida).")
caso_vet("vet_aleatorio.vet", bytes(aleatorio.randrange(256) for _ in range(4000)), "vet_aleatorio.vet")
caso_vet("vet_vazio.vet", b"", "está incompleto (0 de 527 bytes)")
caso_vet("vet_limites_alterados.vet", vet(linhas_terraco(3), limites=(0, 1, 0, 1)), "os limites do cabeçalho")
caso_vet("vet_metade_para_sig.vet", V26[:527 + (len(V26) - 527) // 2], "está incompleto",
         saida="s.geojson")
caso_vet("vet_metade_info.vet", V26[:527 + (len(V26) - 527) // 2 + 3], "está incompleto", comando="vetor-info",
         saida="")

DVC = ("file title  : Curvas\r\nid type     : real\r\nfile type   : binary\r\nobject type : line\r\n"
       "ref. system : plane\r\nref. units  : m\r\nunit dist.  : 1\r\nmin. X      : 0\r\n"
       "max. X      : 100\r\nmin. Y      : 0\r\nmax. Y      : 100\r\npos n error : unknown\r\n"
       "resolution  : unknown\r\n")


def vec(blocos, fim=True):
    b = b""
    for ident, pontos in blocos:
        b += struct.pack("<ff", ident, len(pontos))
        for x, y in pontos:
            b += struct.pack("<ff", x, y)
    return b + (struct.pack("<ff", 0, 0) if fim else b"")


BLOCOS = [(100.0, [(0, 0), (10, 5), (20, 7)]), (105.0, [(0, 20), (15, 25)])]


def caso_vec(nome, dados, fragmento, dvc=DVC, culpado=None):
    grava(nome + ".vec", dados)
    grava(nome + ".dvc", dvc)
    caso("vetor-importar", nome + ".vec", "s.vet", fragmento, culpado or nome + ".vec")


caso_vec("vec_aleatorio", bytes(aleatorio.randrange(256) for _ in range(2048)), "vec_aleatorio.vec")
caso_vec("vec_zeros", bytes(512), "há 504 bytes depois da marca de fim")
caso_vec("vec_sem_linhas", vec([]), "não tem nenhuma linha")
caso_vec("vec_truncado", vec(BLOCOS)[:30], "está truncado")
caso_vec("vec_lixo_depois_do_fim", vec(BLOCOS) + b"lixo", "há 4 bytes depois da marca de fim")
caso_vec("vec_fim_no_meio", vec(BLOCOS[:1]) + vec(BLOCOS[1:]), "há 32 bytes depois da marca de fim")
caso_vec("vec_contagem_negativa", struct.pack("<fff", 7, -2, 1) + vec(BLOCOS), "anuncia -2 pontos")
caso_vec("vec_ponto_nan", vec([(100.0, [(0, 0), (float("nan"), 5)])]), "o ponto 2 do bloco 1")
caso_vec("vec_dvc_incompleto", vec(BLOCOS), "está incompleto (6 de 13 linhas)",
         dvc="\r\n".join(DVC.split("\r\n")[:6]), culpado="vec_dvc_incompleto.dvc")
caso_vec("vec_dvc_utf16", vec(BLOCOS), "UTF-16", dvc=b"\xff\xfe" + DVC.encode("utf-16-le"),
         culpado="vec_dvc_utf16.dvc")

# Terrace tables beside a good vector: the table is dropped with a message, the export goes on.
def bdt(registros, n=None):
    b = bytes([1]) + struct.pack("<i", len(registros) if n is None else n)
    for r in registros:
        b += struct.pack("<i6d", *r)
    return b


BOAS = [(i, 1000.0 - 2 * i, 6.5, 40.0, 1200.0, 1.1, 0.45) for i in range(1, 4)]


def caso_bdt(nome, dados, fragmento):
    grava(nome + ".vet", vet(linhas_terraco(3)))
    grava(nome + ".bdt", dados)
    caso("vetor-exportar", nome + ".vet", "s.geojson", fragmento, nome + ".bdt", codigo=0)


caso_bdt("bdt_id_zero", bdt(BOAS[:2] + [(0, 1.06e-314, 0, 0, 0, 0, 0)]),
         "está danificada: o registro 3 tem o número de terraço 0.")
caso_bdt("bdt_subnormal", bdt(BOAS[:2] + [(3, 1.06e-314, 6.5, 40.0, 1200.0, 1.1, 0.45)]),
         "está danificada: o registro 3 tem um valor que não é uma medida.")
caso_bdt("bdt_contagem_errada", bdt(BOAS, n=5), "está danificada: declara 5 terraços, mas tem 161 bytes.")
caso_bdt("bdt_bytes_a_mais", bdt(BOAS) + b"\x00" * 7, "declara 3 terraços, mas tem 168 bytes.")
caso_bdt("bdt_versao", bytes([7]) + bdt(BOAS)[1:], "está danificada: versão 7 desconhecida.")
caso_bdt("bdt_curta", b"\x01\x03", "está danificada: tem só 2 bytes.")
caso_bdt("bdt_id_repetido", bdt(BOAS[:2] + [BOAS[0]]), "o registro 3 tem o número de terraço 1.")
caso_bdt("bdt_comprimento_negativo", bdt(BOAS[:1] + [(2, 998.0, 6.5, -40.0, 1200.0, 1.1, 0.45)]),
         "o registro 2 tem uma medida negativa.")

# ---------------------------------------------------------------- valid files

grava("validos/relevo sem NODATA com bordas -9999.asc",
      asc(CAB[:5], [" ".join(str(-9999 if r in (0, ROWS - 1) or c in (0, COLS - 1) else ELEV[r][c])
                             for c in range(COLS)) for r in range(ROWS)]))
grava("validos/Relevo da Fazenda São João.asc", "\xef\xbb\xbf".encode("latin-1") + asc().encode("ascii"))
grava("validos/São José dos Pinhais.doc", doc(titulo="Relevo do Córrego Água Branca"))
grava("validos/São José dos Pinhais.img", flt(TODAS))
grava("validos/curvas de nível.vec", vec(BLOCOS))
grava("validos/curvas de nível.dvc", DVC.replace("Curvas", "Curvas de nível — Várzea"))
grava("validos/terraços com tabela.vet", vet(linhas_terraco(3)))
grava("validos/terraços com tabela.bdt", bdt(BOAS))

with open(os.path.join(RAIZ, "casos.txt"), "w", encoding="utf-8", newline="\n") as f:
    f.write("# comando|entrada|saída|código|nome na mensagem|trecho da mensagem — gerado por "
            "tools/gerar_malformados.py\n")
    for c in casos:
        f.write(c + "\n")
print(len(casos), "casos em", os.path.normpath(RAIZ))
