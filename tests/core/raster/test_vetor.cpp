#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>

#include "TestSupport.h"
#include "core/raster/Vetor.h"

namespace {

std::string Dado(const std::string& n) { return DadosTeste("vetor/" + n); }

std::string F32(float v) {
    std::string s(4, '\0');
    std::memcpy(s.data(), &v, 4);
    return s;
}
std::string Reg(int16_t id, float x, float y, float z) {
    std::string s(2, '\0');
    std::memcpy(s.data(), &id, 2);
    return s + F32(x) + F32(y) + F32(z);
}
// A header with the given version, title, units and bounds.
std::string Cabecalho(uint8_t versao, const std::string& titulo, const std::string& unid,
                      float x0 = 0, float x1 = 0, float y0 = 0, float y1 = 0) {
    std::string h(527, '\0');
    h[0] = static_cast<char>(versao);
    h[1] = static_cast<char>(titulo.size());
    h.replace(2, titulo.size(), titulo);
    h[256] = static_cast<char>(unid.size());
    h.replace(257, unid.size(), unid);
    return h.substr(0, 511) + F32(x0) + F32(x1) + F32(y0) + F32(y1);
}

TVetorRecPonto Linha(int id, std::initializer_list<TRecPonto> pts) {
    TVetorRecPonto l;
    l.SetLineId(id);
    for (const auto& p : pts) l.Add(p.X, p.Y, p.Z);
    return l;
}

}  // namespace

TEST(Vetor, ArquivoNovoTemSoOCabecalhoDe527BytesEDoisRegistrosSomam28) {
    PastaTemporaria tmp;
    TVET v;
    EXPECT_EQ(v.Version(), 1);
    EXPECT_EQ(v.RecordCount(), 0);
    ASSERT_TRUE(v.SaveToFile(tmp.Arquivo("vazio.vet")));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("vazio.vet")), Cabecalho(1, "", ""));

    TVET d("m");
    d.SetTitle("Açude");
    d.AppendLine(Linha(1, {{1.5f, -2, 100}}));
    d.AppendLine(Linha(2, {{3, 4, 95}}));
    ASSERT_TRUE(d.SaveToFile(tmp.Arquivo("dois.vet")));
    // Title in Windows-1252 (ç is one byte); bounds recomputed from the records.
    EXPECT_EQ(LerArquivo(tmp.Arquivo("dois.vet")),
              Cabecalho(1, "A\xE7ude", "m", 1.5f, 3, -2, 4) + Reg(1, 1.5f, -2, 100) + Reg(2, 3, 4, 95));
}

TEST(Vetor, GravaELeDeVoltaTituloUnidadeLimitesERegistros) {
    PastaTemporaria tmp;
    TVET v("km");
    v.SetTitle("Terraços da gleba São João");
    v.SetMinX(-1000);  // stale bounds are replaced when saving
    v.AppendLine(Linha(7, {{10, 20, 5}, {-4, 25, 5}, {12, 18.5f, 5}}));
    v.AppendLine(Linha(8, {{0, 0, 4}}));
    ASSERT_TRUE(v.SaveToFile(tmp.Arquivo("a.vet")));

    TVET w;
    ASSERT_TRUE(w.LoadFromFile(tmp.Arquivo("a.vet")));
    EXPECT_EQ(w.Title(), "Terraços da gleba São João");
    EXPECT_EQ(w.Units(), "km");
    EXPECT_TRUE(w.UnitsKnown());
    EXPECT_FLOAT_EQ(w.MinX(), -4);
    EXPECT_FLOAT_EQ(w.MaxX(), 12);
    EXPECT_FLOAT_EQ(w.MinY(), 0);
    EXPECT_FLOAT_EQ(w.MaxY(), 25);
    auto linhas = w.Lines();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[0].LineId(), 7);
    ASSERT_EQ(linhas[0].Count(), 3);
    EXPECT_FLOAT_EQ(linhas[0].Ponto(2).Y, 18.5f);
    EXPECT_EQ(linhas[1].LineId(), 8);
    EXPECT_EQ(linhas[1].Count(), 1);
    EXPECT_EQ(w.Bytes(), v.Bytes());

    // Appending after a load goes to the end, and the file grows by whole records.
    w.AppendLine(Linha(9, {{1, 1, 3}}));
    ASSERT_TRUE(w.SaveToFile(tmp.Arquivo("a.vet")));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("a.vet")).size(), 527u + 5 * 14);
}

TEST(Vetor, TituloEUnidadeCortadosEm254Caracteres) {
    PastaTemporaria tmp;
    TVET v;
    v.SetTitle(std::string(300, 'a'));
    v.SetUnits(std::string(253, 'b') + "éé");  // é is 2 bytes in memory, 1 on disk
    EXPECT_EQ(v.Title(), std::string(254, 'a'));
    EXPECT_EQ(v.Units(), std::string(253, 'b') + "é");
    ASSERT_TRUE(v.SaveToFile(tmp.Arquivo("t.vet")));
    std::string b = LerArquivo(tmp.Arquivo("t.vet"));
    EXPECT_EQ(static_cast<uint8_t>(b[1]), 254);
    EXPECT_EQ(static_cast<uint8_t>(b[256]), 254);
    EXPECT_EQ(static_cast<uint8_t>(b[510]), 0xE9);

    // A length byte of 255 cannot be whole; the field's 254 characters are taken.
    b[1] = static_cast<char>(255);
    GravarArquivo(tmp.Arquivo("t.vet"), b);
    TVET w;
    ASSERT_TRUE(w.LoadFromFile(tmp.Arquivo("t.vet")));
    EXPECT_EQ(w.Title(), std::string(254, 'a'));
}

TEST(Vetor, LinhaPorIdentificadorPegaSoAPrimeiraSequencia) {
    TVET v;
    v.AppendLine(Linha(1, {{0, 0, 1}, {3, 4, 1}}));
    v.AppendLine(Linha(2, {{9, 9, 2}}));
    v.AppendLine(Linha(1, {{3, 10, 1}}));
    auto l1 = v.GetLine(1);
    ASSERT_TRUE(l1);
    ASSERT_EQ(l1->Count(), 2);
    EXPECT_FLOAT_EQ(l1->Item(2)->X, 3);
    EXPECT_FLOAT_EQ(l1->Item(2)->Y, 4);
    EXPECT_EQ(l1->Tag(), 1);
    EXPECT_EQ(v.GetLine(3), nullptr);
    auto l2 = v.GetLine(2);
    ASSERT_TRUE(l2);
    EXPECT_EQ(l2->Count(), 1);
    EXPECT_DOUBLE_EQ(v.LineLength(1), 5);  // second run of id 1 is not joined
    EXPECT_DOUBLE_EQ(v.LineLength(2), 0);
    EXPECT_DOUBLE_EQ(v.LineLength(3), 0);
    EXPECT_EQ(v.Lines().size(), 3u);
    EXPECT_EQ(v.LineCount(), 3);
    EXPECT_EQ(TVET().LineCount(), 0);
}

TEST(Vetor, ComprimentoEhASomaDosSegmentosPlanos) {
    TVET v;
    // 5 + 6; Z differences do not count.
    v.AppendLine(Linha(4, {{0, 0, 0}, {3, 4, 50}, {3, 10, -20}}));
    EXPECT_DOUBLE_EQ(v.LineLength(4), 11);
}

TEST(Vetor, CursorDeRegistros) {
    TVET v;
    EXPECT_TRUE(v.Eof());
    v.WriteRecord(1, 1, 2, 3);
    v.WriteRecord(2, 4, 5, 6);
    v.WriteRecord(3, 7, 8, 9);
    EXPECT_EQ(v.RecordCount(), 3);
    EXPECT_EQ(v.RecNo(), 3);
    v.GoTo(1);
    v.WriteRecord(5, -1, -1, -1);  // overwrites in place
    EXPECT_EQ(v.RecordCount(), 3);
    v.First();
    TRegistroVet r;
    std::vector<int> ids;
    while (v.ReadRecord(r)) ids.push_back(r.Id);
    EXPECT_EQ(ids, (std::vector<int>{1, 5, 3}));
    EXPECT_FALSE(v.ReadRecord(r));
    v.GoTo(99);
    EXPECT_EQ(v.RecNo(), 3);
    v.GoTo(-4);
    EXPECT_EQ(v.RecNo(), 0);
    EXPECT_FLOAT_EQ(v.Record(1).Z, -1);
}

TEST(Vetor, LimitesVemDoPrimeiroRegistroEAlargam) {
    TVET v;
    v.SetMinX(-50);
    v.SetMaxY(50);
    v.ComputeBounds();  // no record: bounds kept
    EXPECT_FLOAT_EQ(v.MinX(), -50);
    v.AppendLine(Linha(1, {{5, 6, 0}}));
    v.ComputeBounds();
    EXPECT_FLOAT_EQ(v.MinX(), 5);
    EXPECT_FLOAT_EQ(v.MaxX(), 5);
    EXPECT_FLOAT_EQ(v.MinY(), 6);
    EXPECT_FLOAT_EQ(v.MaxY(), 6);
    v.AppendLine(Linha(2, {{-1, 8, 0}, {7, -3, 0}}));
    v.ComputeBounds();
    EXPECT_FLOAT_EQ(v.MinX(), -1);
    EXPECT_FLOAT_EQ(v.MaxX(), 7);
    EXPECT_FLOAT_EQ(v.MinY(), -3);
    EXPECT_FLOAT_EQ(v.MaxY(), 8);
}

TEST(Vetor, VetorDePontosInverteEClona) {
    TVetorRecPonto a = Linha(3, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    a.Reverse();
    EXPECT_FLOAT_EQ(a.Ponto(0).X, 3);
    EXPECT_FLOAT_EQ(a.Ponto(1).X, 2);
    EXPECT_FLOAT_EQ(a.Ponto(2).X, 1);
    TVetorRecPonto um = Linha(1, {{9, 8, 7}}), zero;
    um.Reverse();
    zero.Reverse();
    EXPECT_EQ(um.Count(), 1);
    EXPECT_FLOAT_EQ(um.Ponto(0).Y, 8);
    EXPECT_EQ(zero.Count(), 0);

    auto c = a.Clone();
    EXPECT_EQ(c->LineId(), 3);
    c->Ponto(0).X = 100;  // a copy, not shared
    EXPECT_FLOAT_EQ(a.Ponto(0).X, 3);
    a.SetCount(1);
    EXPECT_EQ(a.Count(), 1);
    a.Clear();
    EXPECT_EQ(a.Count(), 0);
}

TEST(Vetor, IdentificadorForaDe16BitsNaoEhGravadoTruncado) {
    TVET v;
    EXPECT_EQ(MensagemDe([&] { v.AppendLine(Linha(40000, {{0, 0, 0}})); }),
              "Erro ao salvar arquivo. Identificador de linha fora da faixa de -32768 a 32767: 40000.");
    EXPECT_EQ(v.RecordCount(), 0);
}

TEST(Vetor, VersaoInvalida) {
    TVET v;
    EXPECT_EQ(MensagemDe([&] { v.SetVersion(2); }), "A Versao deste arquivo é inválida");
    EXPECT_THROW(v.SetVersion(0), EVersaoVET);
    EXPECT_EQ(v.Version(), 1);

    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("v2.vet"), Cabecalho(2, "x", "m") + Reg(1, 1, 1, 1));
    EXPECT_FALSE(v.LoadFromFile(tmp.Arquivo("v2.vet")));
    EXPECT_ERRO(EVersaoVET, "A versão do arquivo v2.vet é inválida (2; só a versão 1 é lida).",
                v.Load(tmp.Arquivo("v2.vet")));
}

TEST(Vetor, ArquivosDanificadosFalhamComMotivo) {
    PastaTemporaria tmp;
    TVET v;
    EXPECT_FALSE(v.LoadFromFile(tmp.Arquivo("nao.vet")));
    EXPECT_EQ(MensagemDe([&] { v.Load(tmp.Arquivo("nao.vet")); }),
              "Erro ao carregar arquivo. O arquivo 'nao.vet' não existe.");

    GravarArquivo(tmp.Arquivo("curto.vet"), Cabecalho(1, "x", "m").substr(0, 100));
    EXPECT_FALSE(v.LoadFromFile(tmp.Arquivo("curto.vet")));
    EXPECT_EQ(MensagemDe([&] { v.Load(tmp.Arquivo("curto.vet")); }),
              "Erro ao carregar arquivo. O cabeçalho de 'curto.vet' está incompleto (100 de 527 bytes).");
    GravarArquivo(tmp.Arquivo("nada.vet"), "");
    EXPECT_FALSE(v.LoadFromFile(tmp.Arquivo("nada.vet")));

    // A cut last record is a file cut short: refused, not read in part.
    GravarArquivo(tmp.Arquivo("meio.vet"), Cabecalho(1, "x", "m") + Reg(1, 1, 2, 3) + Reg(1, 4, 5, 6).substr(0, 9));
    EXPECT_FALSE(v.LoadFromFile(tmp.Arquivo("meio.vet")));
    EXPECT_EQ(MensagemDe([&] { v.Load(tmp.Arquivo("meio.vet")); }),
              "Erro ao carregar arquivo. O arquivo 'meio.vet' está incompleto: o último registro tem 9 de 14 bytes.");

    EXPECT_FALSE(v.SaveToFile(""));
    EXPECT_EQ(MensagemDe([&] { v.Save(""); }), "Erro ao salvar arquivo. Nenhum nome de arquivo fornecido.");
    EXPECT_FALSE(v.SaveToFile(tmp.Arquivo("nao/existe/x.vet")));
    EXPECT_EQ(MensagemDe([&] { v.Save(tmp.Arquivo("nao/existe/x.vet")); }),
              "Erro ao salvar arquivo. Não foi possível gravar o arquivo 'x.vet': pasta inexistente.");
}

// ---------------------------------------------------------------- documentation file

TEST(Vetor, NomeDoArquivoDeDadosTrocaOsUltimosQuatroCaracteres) {
    EXPECT_EQ(NomeDadosDoc("RIO.DVC"), "RIO.VEC");
    EXPECT_EQ(NomeDadosDoc("/a/b.c/rio.dvc"), "/a/b.c/rio.VEC");
    TInfArqDocVet d;
    d.SetDefaults("/dados/RIO.DVC");
    EXPECT_EQ(d.DocNameNoPath(), "RIO.DVC");
    EXPECT_EQ(d.DataName(), "/dados/RIO.VEC");
    EXPECT_EQ(d.DataNameNoPath(), "RIO.VEC");

    // The .dvc partner of a .vec follows the case of its extension, or the file that exists.
    PastaTemporaria tmp;
    EXPECT_EQ(NomeDocDeVec(tmp.Arquivo("a.vec")), tmp.Arquivo("a.dvc"));
    EXPECT_EQ(NomeDocDeVec(tmp.Arquivo("a.VEC")), tmp.Arquivo("a.DVC"));
    GravarArquivo(tmp.Arquivo("b.DVC"), "");
    EXPECT_EQ(NomeDocDeVec(tmp.Arquivo("b.vec")), tmp.Arquivo("b.DVC"));
}

TEST(Vetor, DocumentacaoPadraoGravadaLinhaALinha) {
    RegionalFixo br(Regional::PtBR());  // bounds keep '.' whatever the locale
    PastaTemporaria tmp;
    TInfArqDocVet d;
    EXPECT_DOUBLE_EQ(d.UnitDist, 1);
    EXPECT_DOUBLE_EQ(d.MaxX, 1);
    EXPECT_EQ(d.Title, "");
    d.SetDefaults(tmp.Arquivo("p.dvc"));
    d.MinY = -2.5;
    d.Save();
    EXPECT_EQ(LerArquivo(tmp.Arquivo("p.dvc")),
              "file title  : Sem titulo.\r\n"
              "id type     : real\r\n"
              "file type   : binary\r\n"
              "object type : line\r\n"
              "ref. system : plane\r\n"
              "ref. units  : m\r\n"
              "unit dist.  :  1.00000000000000E+0000\r\n"
              "min. X      : 0.00000000\r\n"
              "max. X      : 1.00000000\r\n"
              "min. Y      : -2.50000000\r\n"
              "max. Y      : 1.00000000\r\n"
              "pos n error : unknown\r\n"
              "resolution  : unknown\r\n");

    TInfArqDocVet e;
    ASSERT_TRUE(e.Load(tmp.Arquivo("p.dvc")));
    EXPECT_TRUE(e.Valid());
    EXPECT_EQ(e.Title, "Sem titulo.");
    EXPECT_EQ(e.Resolution, "unknown");
    EXPECT_DOUBLE_EQ(e.UnitDist, 1);
    EXPECT_DOUBLE_EQ(e.MinY, -2.5);
    EXPECT_TRUE(e.AttributesAccepted());
}

TEST(Vetor, DocumentacaoLidaDoArquivoDoIdrisi) {
    TInfArqDocVet d;
    ASSERT_TRUE(d.Load(Dado("rio.dvc")));
    EXPECT_EQ(d.Title, "Rio das Pedras");
    EXPECT_EQ(d.DataNameNoPath(), "rio.VEC");
    EXPECT_EQ(d.RefUnits, "m");
    EXPECT_DOUBLE_EQ(d.MaxX, 10);
    EXPECT_DOUBLE_EQ(d.MaxY, 10);
    EXPECT_TRUE(d.AttributesAccepted());

    // Attributes compared upper-cased; anything else is refused.
    d.FileType = "BINARY ";
    d.IdType = "Integer";
    d.ObjectType = "polygon";
    d.RefUnits = "KM";
    EXPECT_TRUE(d.AttributesAccepted());
    for (auto campo : {&TInfArqDocVet::FileType, &TInfArqDocVet::IdType, &TInfArqDocVet::ObjectType,
                       &TInfArqDocVet::RefSystem, &TInfArqDocVet::RefUnits}) {
        TInfArqDocVet c = d;
        c.*campo = "ascii";
        EXPECT_FALSE(c.AttributesAccepted());
    }
}

TEST(Vetor, DocumentacaoAusenteOuDanificada) {
    PastaTemporaria tmp;
    TInfArqDocVet d;
    EXPECT_FALSE(d.Load(""));
    EXPECT_EQ(d.LastError(), "Nenhum nome de arquivo fornecido.");
    std::string nome = tmp.Arquivo("x.dvc");
    EXPECT_FALSE(d.Load(nome));
    EXPECT_FALSE(d.Valid());
    EXPECT_EQ(d.LastError(), "O arquivo " + nome + " não existe.");

    std::string rio = LerArquivo(Dado("rio.dvc"));
    GravarArquivo(nome, rio.substr(0, rio.find("max. Y")));
    EXPECT_FALSE(d.Load(nome));
    EXPECT_EQ(d.LastError(), "O arquivo de documentação 'x.dvc' está incompleto (10 de 13 linhas).");

    std::string ruim = rio;
    ruim.replace(ruim.find("0.0000000"), 9, "zero");
    GravarArquivo(nome, ruim);
    EXPECT_FALSE(d.Load(nome));
    EXPECT_EQ(d.LastError(), "O arquivo de documentação 'x.dvc' tem um valor inválido na linha 8 (min. X): 'zero'.");
}

// ---------------------------------------------------------------- conversions

TEST(Vetor, ImportaIdrisiUmaLinhaPorBlocoComCotaDoIdentificador) {
    TVET v;
    ImportarIdrisi(Dado("rio.vec"), "Importado", v);
    EXPECT_EQ(v.Title(), "Importado");
    EXPECT_EQ(v.Units(), "m");
    ASSERT_EQ(v.RecordCount(), 5);
    auto linhas = v.Lines();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[0].LineId(), 1);
    EXPECT_EQ(linhas[1].LineId(), 2);
    EXPECT_FLOAT_EQ(linhas[0].Ponto(2).Y, 10);
    EXPECT_FLOAT_EQ(linhas[0].Ponto(1).Z, 100);
    EXPECT_FLOAT_EQ(linhas[1].Ponto(0).Z, 95);
    EXPECT_DOUBLE_EQ(v.LineLength(1), 11);
    EXPECT_DOUBLE_EQ(v.LineLength(2), 5);
    // Documentation bounds until saved; then those of the records.
    EXPECT_FLOAT_EQ(v.MaxY(), 10);
    PastaTemporaria tmp;
    ASSERT_TRUE(v.SaveToFile(tmp.Arquivo("rio.vet")));
    EXPECT_FLOAT_EQ(v.MinX(), 0);
    EXPECT_FLOAT_EQ(v.MaxX(), 10);
    EXPECT_FLOAT_EQ(v.MaxY(), 10);
}

TEST(Vetor, ImportaIdrisiLimitesDaDocumentacaoVezesAUnidade) {
    PastaTemporaria tmp;
    std::string doc = LerArquivo(Dado("rio.dvc"));
    doc.replace(doc.find("1.0000000"), 9, "2.5");
    doc.replace(doc.find("ref. units  : m"), 15, "ref. units  : KM");
    GravarArquivo(tmp.Arquivo("r.dvc"), doc);
    GravarArquivo(tmp.Arquivo("r.vec"), F32(7) + F32(1) + F32(1) + F32(2) + F32(0) + F32(0));
    TVET v;
    ImportarIdrisi(tmp.Arquivo("r.vec"), "t", v);
    EXPECT_EQ(v.Units(), "KM");
    EXPECT_FLOAT_EQ(v.MaxX(), 25);
    EXPECT_FLOAT_EQ(v.MaxY(), 25);
    ASSERT_EQ(v.RecordCount(), 1);
    EXPECT_FLOAT_EQ(v.Record(0).X, 1);  // points are not scaled
    EXPECT_FLOAT_EQ(v.Record(0).Z, 7);
}

TEST(Vetor, ImportaIdrisiDanificado) {
    PastaTemporaria tmp;
    std::string doc = LerArquivo(Dado("rio.dvc"));
    GravarArquivo(tmp.Arquivo("d.dvc"), doc);
    TVET v;
    auto importa = [&](const std::string& dados) {
        GravarArquivo(tmp.Arquivo("d.vec"), dados);
        return MensagemDe([&] { ImportarIdrisi(tmp.Arquivo("d.vec"), "t", v); });
    };
    EXPECT_EQ(importa(F32(5) + F32(1e9f) + F32(1) + F32(2)),
              "O arquivo 'd.vec' está truncado ou danificado: o bloco 1 anuncia 1000000000 pontos e só há dados "
              "para 1.");
    EXPECT_EQ(importa(F32(5) + F32(2) + F32(1) + F32(2) + F32(3) + F32(4) + F32(6) + F32(-3)),
              "O arquivo 'd.vec' está truncado ou danificado: o bloco 2 anuncia -3 pontos e só há dados para 0.");
    EXPECT_EQ(importa(F32(5) + F32(NAN)),
              "O arquivo 'd.vec' está truncado ou danificado: o bloco 1 anuncia NAN pontos e só há dados para 0.");
    EXPECT_EQ(importa(F32(5) + F32(1) + F32(1) + F32(2) + std::string(3, '\0')),
              "O arquivo 'd.vec' está truncado: o bloco 2 não tem identificador e número de pontos completos.");
    // Ending right after a whole block, without the end marker, loses nothing.
    EXPECT_EQ(importa(F32(5) + F32(1) + F32(1) + F32(2)), "(sem erro)");
    EXPECT_EQ(v.RecordCount(), 1);
    // A count is rounded: 1.6 points means 2.
    EXPECT_EQ(importa(F32(5) + F32(1.6f) + F32(1) + F32(2) + F32(3) + F32(4) + F32(0) + F32(0)), "(sem erro)");
    EXPECT_EQ(v.RecordCount(), 2);
    // Nothing but an end block (or nothing at all) is no vector, and bytes after the end block
    // are not the file's.
    EXPECT_EQ(importa(""), "O arquivo 'd.vec' não tem nenhuma linha.");
    EXPECT_EQ(importa(F32(0) + F32(0)), "O arquivo 'd.vec' não tem nenhuma linha.");
    EXPECT_EQ(importa(F32(5) + F32(1) + F32(1) + F32(2) + F32(0) + F32(0) + "abc"),
              "O arquivo 'd.vec' está danificado: há 3 bytes depois da marca de fim dos dados.");
    EXPECT_EQ(importa(F32(5) + F32(1) + F32(NAN) + F32(2)),
              "O arquivo 'd.vec' está danificado: o ponto 1 do bloco 1 não tem coordenadas numéricas.");
    EXPECT_EQ(v.RecordCount(), 2);  // a refused file leaves the vector as it was

    std::string ponto = doc;
    ponto.replace(ponto.find("line"), 4, "point");
    GravarArquivo(tmp.Arquivo("d.dvc"), ponto);
    EXPECT_EQ(importa(F32(0) + F32(0)), "Atributo do arquivo 'd.vec' inválido.");
    std::remove(tmp.Arquivo("d.dvc").c_str());
    EXPECT_EQ(importa(F32(0) + F32(0)), "O arquivo " + tmp.Arquivo("d.dvc") + " não existe.");
}

TEST(Vetor, ExportaIdrisiBytesEDocumentacao) {
    RegionalFixo br(Regional::PtBR());
    PastaTemporaria tmp;
    TVET v("km");
    // Ids that do not run 1, 2, 3 still give one block per line, in file order.
    v.AppendLine(Linha(5, {{1.5f, -2, 100}, {2, -1, 100}}));
    v.AppendLine(Linha(9, {{3, 4, 95}}));
    ExportarIdrisi(v, tmp.Arquivo("s.vec"), "Saída");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("s.vec")), F32(100) + F32(2) + F32(1.5f) + F32(-2) + F32(2) + F32(-1) +
                                                    F32(95) + F32(1) + F32(3) + F32(4) + F32(0) + F32(0));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("s.dvc")),
              "file title  : Sa\xED" "da\r\n"
              "id type     : real\r\n"
              "file type   : binary\r\n"
              "object type : line\r\n"
              "ref. system : plane\r\n"
              "ref. units  : km\r\n"
              "unit dist.  :  1.00000000000000E+0000\r\n"
              "min. X      : 1.50000000\r\n"
              "max. X      : 3.00000000\r\n"
              "min. Y      : -2.00000000\r\n"
              "max. Y      : 4.00000000\r\n"
              "pos n error : unknown\r\n"
              "resolution  : unknown\r\n");

    // A level of 0 would read back as the end of the file: refused, nothing written.
    TVET z;
    z.AppendLine(Linha(1, {{1, 1, 3}}));
    z.AppendLine(Linha(2, {{2, 2, 0}}));
    EXPECT_EQ(MensagemDe([&] { ExportarIdrisi(z, tmp.Arquivo("z.vec"), ""); }),
              "A linha 2 tem cota 0, que o formato do Idrisi lê como fim do arquivo; o arquivo não foi exportado.");
    EXPECT_FALSE(std::ifstream(tmp.Arquivo("z.vec")).good());

    // And back: same points, lines renumbered in order, Z from each block.
    TVET w;
    ImportarIdrisi(tmp.Arquivo("s.vec"), "volta", w);
    EXPECT_EQ(w.Units(), "km");
    ASSERT_EQ(w.RecordCount(), 3);
    auto l = w.Lines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].LineId(), 1);
    EXPECT_EQ(l[1].LineId(), 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(w.Record(i).X, v.Record(i).X);
        EXPECT_FLOAT_EQ(w.Record(i).Y, v.Record(i).Y);
        EXPECT_FLOAT_EQ(w.Record(i).Z, v.Record(i).Z);
    }
}

TEST(Vetor, ImportaSurferNovaLinhaACadaMudancaDeCota) {
    TVET v;
    ImportarSurfer(Dado("curvas.txt"), "Curvas", "km", v);
    EXPECT_EQ(v.Title(), "Curvas");
    EXPECT_EQ(v.Units(), "km");
    ASSERT_EQ(v.RecordCount(), 5);
    auto l = v.Lines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].LineId(), 1);
    EXPECT_EQ(l[0].Count(), 3);
    EXPECT_FLOAT_EQ(l[0].Ponto(1).X, 510.5f);  // decimal comma accepted
    EXPECT_FLOAT_EQ(l[0].Ponto(2).Y, 7012.25f);
    EXPECT_EQ(l[1].LineId(), 2);
    EXPECT_FLOAT_EQ(l[1].Ponto(0).Z, 605);
    EXPECT_FLOAT_EQ(v.MinX(), 500);
    EXPECT_FLOAT_EQ(v.MaxX(), 520);
    EXPECT_FLOAT_EQ(v.MinY(), 6990);
    EXPECT_FLOAT_EQ(v.MaxY(), 7012.25f);

    // A level that comes back is a new line.
    PastaTemporaria tmp;
    GravarArquivo(tmp.Arquivo("z.txt"), "cab\n1 1 10\n2 2 20\n3 3 10\n");
    ImportarSurfer(tmp.Arquivo("z.txt"), "", "m", v);
    EXPECT_EQ(v.Lines().size(), 3u);
    EXPECT_EQ(v.Record(2).Id, 3);
    GravarArquivo(tmp.Arquivo("z.txt"), "\"X\" \"Y\" \"Z\"\r\n");
    ImportarSurfer(tmp.Arquivo("z.txt"), "", "m", v);
    EXPECT_EQ(v.RecordCount(), 0);
}

TEST(Vetor, ExportaSurferEVoltaComValoresNegativos) {
    PastaTemporaria tmp;
    TVET v("m");
    v.AppendLine(Linha(1, {{1.5f, -2, 100}, {-3, 4, 100}}));
    v.AppendLine(Linha(2, {{0.25f, 1e6f, -7}}));
    ExportarSurfer(v, tmp.Arquivo("s.txt"));
    EXPECT_EQ(LerArquivo(tmp.Arquivo("s.txt")),
              "\"X\" \"Y\" \"Z\"\r\n"
              " 1.50000000000000E+0000 -2.00000000000000E+0000 1.00000000000000E+0002\r\n"
              "-3.00000000000000E+0000 4.00000000000000E+0000 1.00000000000000E+0002\r\n"
              " 2.50000000000000E-0001 1.00000000000000E+0006 -7.00000000000000E+0000\r\n");
    TVET w;
    ImportarSurfer(tmp.Arquivo("s.txt"), "", "m", w);
    ASSERT_EQ(w.RecordCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.Record(i).Id, v.Record(i).Id);
        EXPECT_FLOAT_EQ(w.Record(i).X, v.Record(i).X);
        EXPECT_FLOAT_EQ(w.Record(i).Y, v.Record(i).Y);
        EXPECT_FLOAT_EQ(w.Record(i).Z, v.Record(i).Z);
    }

    // Values written back to back, with no blank before the minus sign, are still read.
    GravarArquivo(tmp.Arquivo("j.txt"), "x\r\n 1.0E+0000-2.5E+0001 3.0E-0001\r\n");
    ImportarSurfer(tmp.Arquivo("j.txt"), "", "m", w);
    ASSERT_EQ(w.RecordCount(), 1);
    EXPECT_FLOAT_EQ(w.Record(0).Y, -25);
    EXPECT_FLOAT_EQ(w.Record(0).Z, 0.3f);
}

TEST(Vetor, SurferDanificado) {
    PastaTemporaria tmp;
    TVET v;
    auto importa = [&](const std::string& t) {
        GravarArquivo(tmp.Arquivo("r.txt"), t);
        return MensagemDe([&] { ImportarSurfer(tmp.Arquivo("r.txt"), "", "m", v); });
    };
    EXPECT_EQ(importa("X Y Z\n1 2 3\n4 abc 6\n"),
              "O arquivo 'r.txt' tem uma linha inválida (3): esperados três valores numéricos X Y Z.");
    EXPECT_EQ(importa("X Y Z\n1 2\n"),
              "O arquivo 'r.txt' tem uma linha inválida (2): esperados três valores numéricos X Y Z.");
    EXPECT_EQ(importa("X Y Z\n1 2 inf\n"),
              "O arquivo 'r.txt' tem uma linha inválida (2): esperados três valores numéricos X Y Z.");
    EXPECT_EQ(importa("X Y Z\n1 2 3\n\n1 1e39 3\n"),
              "O arquivo 'r.txt' tem uma linha inválida (4): esperados três valores numéricos X Y Z.");
    EXPECT_EQ(MensagemDe([&] { ImportarSurfer(tmp.Arquivo("nao.txt"), "", "m", v); }),
              "O arquivo 'nao.txt' não existe.");
}
