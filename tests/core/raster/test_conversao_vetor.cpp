// The vector conversion commands, and the stop of the long raster passes.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "core/raster/ConversaoVetor.h"
#include "core/raster/Declividade.h"
#include "core/raster/Filtro.h"
#include "core/raster/Vetor.h"

namespace {

std::string Vet(const std::string& n) { return DadosTeste("vetor/" + n); }
bool Existe(const std::string& n) { return std::filesystem::exists(n); }

TEST(ConversaoVetor, ChecksComeFirstAndWriteNothing) {
    PastaTemporaria tmp;
    const std::string vet = tmp.Arquivo("a.vet");
    EXPECT_EQ(MensagemDe([&] { ImportaVetor(TFormatoVetor::Idrisi, "", vet, "t"); }), "Arquivo de entrada inválido.");
    EXPECT_EQ(MensagemDe([&] { ImportaVetor(TFormatoVetor::Surfer, tmp.Arquivo("nada.txt"), vet, "t"); }),
              "Arquivo de entrada inválido.");
    EXPECT_EQ(MensagemDe([&] { ImportaVetor(TFormatoVetor::Idrisi, Vet("rio.vec"), "", "t"); }),
              "Arquivo de saída inválido.");
    EXPECT_THROW(ImportaVetor(TFormatoVetor::Idrisi, Vet("rio.vec"), "", "t"), EArquivoSaida);
    // Neither the input nor, for Idrisi, its documentation file is written over.
    EXPECT_EQ(MensagemDe([&] { ImportaVetor(TFormatoVetor::Surfer, Vet("curvas.txt"), Vet("curvas.txt"), "t"); }),
              "A entrada e a saída são o mesmo arquivo.");
    EXPECT_EQ(MensagemDe([&] { ImportaVetor(TFormatoVetor::Idrisi, Vet("rio.vec"), Vet("rio.dvc"), "t"); }),
              "A entrada e a saída são o mesmo arquivo.");
    ImportaVetor(TFormatoVetor::Idrisi, Vet("rio.vec"), vet, "Rio");
    // A ".vet" under a ".dvc" name would be the documentation file of the export.
    const std::string antes = LerArquivo(vet);
    GravarArquivo(tmp.Arquivo("b.dvc"), antes);
    EXPECT_EQ(MensagemDe([&] { ExportaVetor(TFormatoVetor::Idrisi, tmp.Arquivo("b.dvc"), tmp.Arquivo("b.vec"), "t"); }),
              "A entrada e a saída são o mesmo arquivo.");
    EXPECT_EQ(LerArquivo(tmp.Arquivo("b.dvc")), antes);
    EXPECT_FALSE(Existe(tmp.Arquivo("b.vec")));

    EXPECT_EQ(TituloImportacao("/x/rio.vec"), "Arquivo gerado da importação do arquivo rio.vec");
    EXPECT_EQ(TituloExportacao("/x/a.vet"), "Arquivo gerado da exportação do arquivo a.vet");
}

TEST(ConversaoVetor, IdrisiRoundTripKeepsLinesAndTitle) {
    PastaTemporaria tmp;
    ImportaVetor(TFormatoVetor::Idrisi, Vet("rio.vec"), tmp.Arquivo("a.vet"), "Rio");
    ExportaVetor(TFormatoVetor::Idrisi, tmp.Arquivo("a.vet"), tmp.Arquivo("b.vec"), "Volta");
    TInfArqDocVet doc;
    ASSERT_TRUE(doc.Load(tmp.Arquivo("b.dvc")));
    EXPECT_EQ(doc.Title, "Volta");
    ImportaVetor(TFormatoVetor::Idrisi, tmp.Arquivo("b.vec"), tmp.Arquivo("c.vet"), "Rio");
    TVET a, c;
    a.Load(tmp.Arquivo("a.vet"));
    c.Load(tmp.Arquivo("c.vet"));
    EXPECT_EQ(a.Title(), "Rio");
    // The same records: a file made the same way is the same file.
    EXPECT_EQ(a.Bytes(), c.Bytes());
    EXPECT_EQ(a.RecordCount(), 5);
}

// A receiver that asks to stop at once.
class Parar : public IProgresso {
public:
    bool StopRequested() const override { return true; }
};

TEST(Interrupcao, SlopeAndFilterStopBetweenRowsWritingNothing) {
    PastaTemporaria tmp;
    Parar p;
    const std::string msg = "Cálculo interrompido. Nenhum arquivo foi gravado.";
    EXPECT_EQ(MensagemDe([&] { CalculaDeclividade(DadosTeste("raster/declive3.asc"), tmp.Arquivo("d.asc"), "t", &p); }),
              msg);
    EXPECT_THROW(CalculaDeclividade(DadosTeste("raster/declive3i.doc"), tmp.Arquivo("d.asc"), "t", &p),
                 ECalculoInterrompido);
    EXPECT_EQ(MensagemDe([&] {
                  CalculaFiltro(DadosTeste("raster/filtro3.asc"), tmp.Arquivo("f.asc"), 3, "", &p, "Filtro");
              }),
              msg);
    EXPECT_THROW(CalculaFiltro(DadosTeste("raster/filtro3i.doc"), tmp.Arquivo("f.asc"), 3, "", &p), ECalculoInterrompido);
    EXPECT_TRUE(std::filesystem::is_empty(tmp.Caminho()));
}

}  // namespace
