#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/location/LocNivel.h"

TEST(LocacaoNivel, ProjectKeysRoundTripKeepOtherSectionsAndOrder) {
    PastaTemporaria pasta;
    const std::string arq = pasta.Arquivo("p.kzp");
    GravarArquivo(arq, "[PROJETO]\r\nNome=X\r\n");
    TLocacaoNivel a;
    a.SetfnImgElev("C:\\dados\\elev.rst");
    a.SetfnImgDecli("decl ção.rst");
    a.SetfnVetSaida("saida.vet");
    a.SetfnLimite("limites/talhão.kml");
    ASSERT_TRUE(a.Save(arq));
    const std::string texto = LerArquivo(arq);
    EXPECT_NE(texto.find("Nome=X"), std::string::npos);
    const auto e = texto.find("fnImgElev="), d = texto.find("fnImgDecli="),
               v = texto.find("fnVetSaida=");
    ASSERT_NE(e, std::string::npos);
    EXPECT_LT(e, d);
    EXPECT_LT(d, v);
    EXPECT_LT(v, texto.find("fnLimite=limites/talh\xE3o.kml\r\n"));
    EXPECT_NE(texto.find("[LOCACAONIVEL]"), std::string::npos);

    TLocacaoNivel b;
    ASSERT_TRUE(b.Load(arq));
    EXPECT_EQ(b.fnImgElev(), "C:\\dados\\elev.rst");
    EXPECT_EQ(b.fnImgDecli(), "decl ção.rst");
    EXPECT_EQ(b.fnVetSaida(), "saida.vet");
    EXPECT_EQ(b.fnLimite(), "limites/talhão.kml");

    // A boundary removed is no longer in the file.
    b.SetfnLimite("");
    ASSERT_TRUE(b.Save(arq));
    EXPECT_EQ(LerArquivo(arq).find("fnLimite"), std::string::npos);

    // Missing keys give empty paths.
    GravarArquivo(arq, "[PROJETO]\r\n");
    ASSERT_TRUE(b.Load(arq));
    EXPECT_EQ(b.fnImgElev(), "");
    EXPECT_EQ(b.fnVetSaida(), "");
    EXPECT_EQ(b.fnLimite(), "");  // an older project: no boundary
}
