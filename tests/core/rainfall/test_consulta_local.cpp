// Stations and localities found by a typed name: exact names before bare repeated ones,
// ambiguity within one state and across states, the lists' order and the source citation.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "core/rainfall/BDPrecipitacao.h"
#include "core/rainfall/ConsultaLocal.h"

namespace {

const int CE = TEstado::IndiceDaSigla("CE"), PI = TEstado::IndiceDaSigla("PI"), MG = TEstado::IndiceDaSigla("MG"),
          SP = TEstado::IndiceDaSigla("SP");

StationRecord Estacao(const std::string& nome, double k) {
    StationRecord s;
    s.Name = nome;
    s.K = k;
    s.A = 0.2;
    s.B = 10;
    s.C = 0.8;
    s.Source = "Autor (1999)";
    s.Latitude = "05°00'00\"";
    s.Longitude = "40°00'00\"";
    return s;
}

LocalityRecord Localidade(const std::string& nome) { return {nome, "20°00'00\"", "45°00'00\""}; }

// A small database written to real files: repeated names with gauge codes, one name in two
// states, an exact name in one state and a coded one in another.
struct Banco {
    PastaTemporaria pasta;
    TBDPrecipitacao bd{pasta.Caminho()};
    Banco() {
        TEstacoesPorEstado e;
        e[CE] = {Estacao("SOBRAL (00340045)", 1), Estacao("SOBRAL (00340064)", 2), Estacao("LAGOA (00440001)", 3)};
        e[PI] = {Estacao("LAGOA", 4), Estacao("CRATEÚS  ", 5)};
        e[MG] = {Estacao("São João", 6)};
        e[SP] = {Estacao("SAO JOAO", 7)};
        GravarEstacoes(pasta.Arquivo(kArquivoEstacoes), e);
        TLocalidadesPorEstado l;
        l[MG] = {Localidade("Santa Luzia"), Localidade("Abaeté")};
        l[SP] = {Localidade("Santa Luzia")};
        l[CE] = {Localidade("Poço"), Localidade("POCO")};
        GravarLocalidades(pasta.Arquivo(kArquivoLocalidades), l);
        bd.LoadStations();
    }
};

}  // namespace

TEST(ConsultaLocal, EstacaoPorNome) {
    Banco b;
    // Case, accents and blanks do not count; the record and its place in the state come back.
    TEstacaoEncontrada s = AcharEstacao(b.bd, " crateus ");
    EXPECT_EQ(s.Estado, PI);
    EXPECT_EQ(s.Indice, 1u);
    EXPECT_EQ(s.Estacao.K, 5);
    // The bare name of a coded station, when no name matches as typed.
    s = AcharEstacao(b.bd, "sobral (00340064)");
    EXPECT_EQ(s.Estacao.K, 2);
    EXPECT_EQ(MensagemDe([&] { AcharEstacao(b.bd, "sobral"); }),
              "Há mais de uma estação com o nome sobral em Ceará: SOBRAL (00340045), SOBRAL (00340064).");
    // An exact "LAGOA" in Piauí wins over Ceará's coded one: no ambiguity.
    EXPECT_EQ(AcharEstacao(b.bd, "Lagoa").Estacao.K, 4);
    EXPECT_EQ(AcharEstacao(b.bd, "Lagoa", CE).Estacao.K, 3);
    EXPECT_EQ(MensagemDe([&] { AcharEstacao(b.bd, "sobral", PI); }), "Estação não encontrada: sobral.");

    // One name in two states: the states are offered, and either picks its own station.
    try {
        AcharEstacao(b.bd, "são joão");
        ADD_FAILURE() << "sem erro";
    } catch (const ENomeEmVariosEstados& e) {
        EXPECT_EQ(e.Descricao(), "Há estações com o nome são joão em mais de um estado (MG, SP)");
        EXPECT_EQ(std::string(e.what()), e.Descricao() + "; escolha o estado.");
        EXPECT_EQ(e.Estados(), (std::vector<int>{MG, SP}));
    }
    EXPECT_EQ(AcharEstacao(b.bd, "são joão", SP).Estacao.K, 7);
}

TEST(ConsultaLocal, LocalidadePorNome) {
    Banco b;
    const TLocalidadeEncontrada l = AcharLocalidade(b.bd, "ABAETE");
    EXPECT_EQ(l.Estado, MG);
    EXPECT_EQ(l.Indice, 1u);
    EXPECT_EQ(l.Localidade.Name, "Abaeté");
    EXPECT_EQ(MensagemDe([&] { AcharLocalidade(b.bd, "santa luzia"); }),
              "Há localidades com o nome santa luzia em mais de um estado (MG, SP); escolha o estado.");
    EXPECT_EQ(AcharLocalidade(b.bd, "santa luzia", SP).Estado, SP);
    EXPECT_EQ(MensagemDe([&] { AcharLocalidade(b.bd, "poço"); }),
              "Há mais de uma localidade com o nome poço em Ceará: Poço, POCO.");
    EXPECT_EQ(MensagemDe([&] { AcharLocalidade(b.bd, "Palmas"); }), "Localidade não encontrada: Palmas.");
}

TEST(ConsultaLocal, OrdemDasListasECitacao) {
    // By the folded key; equal keys by the name itself.
    const std::vector<LocalityRecord> l = {Localidade("Ábaco"), Localidade("abacate"), Localidade("Ana"),
                                           Localidade("ANA"), Localidade("Abelha")};
    EXPECT_EQ(OrdemPorNome(l), (std::vector<std::size_t>{1, 0, 4, 3, 2}));

    EXPECT_EQ(TextoReferencia({"Silva, A. B.", "Chuvas intensas", "Revista X, 1999"}),
              "Silva, A. B. Chuvas intensas. Revista X, 1999");
    EXPECT_EQ(TextoReferencia({"", "Título", ""}), "Título");

    // The shipped citation table; an interpolated equation has no reference.
    const std::string pasta = PastaBancoChuva(std::string(VANDORO_BIN_DIR) + "/");
    std::string texto;
    ASSERT_TRUE(ReferenciaDaFonte(pasta, "GRIDF-BR (2025)  ", texto));
    EXPECT_EQ(texto.rfind("Marcus N. Gomes Jr. Gridded Bias-Corrected", 0), 0u) << texto;
    EXPECT_FALSE(ReferenciaDaFonte(pasta, kFonteInterpolacao, texto));
    EXPECT_FALSE(ReferenciaDaFonte(pasta, "Outro (1990)", texto));
}
