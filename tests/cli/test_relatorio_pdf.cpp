// Reports as PDF from the command line, where there is no display: the PDF module draws the
// pages offscreen. The files are read back with poppler's tools, as a user's viewer reads them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/common/Regional.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/location/RelatorioLocacao.h"

namespace {

const std::string kExemplos = std::string(VANDORO_BIN_DIR) + "/Exemplos/";

std::string Comando(const std::string& cmd) {
    std::string r;
    FILE* f = popen((cmd + " 2>&1").c_str(), "r");
    if (!f) return r;
    std::array<char, 4096> b{};
    for (size_t n; (n = fread(b.data(), 1, b.size(), f)) > 0;) r.append(b.data(), n);
    pclose(f);
    return r;
}

int Paginas(const std::string& pdf) {
    std::smatch m;
    const std::string info = Comando("pdfinfo '" + pdf + "'");
    return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
}

// The text with every run of blanks and line ends one space, so a table row reads as its cells
// in order and a paragraph as its sentence.
std::string Texto(const std::string& pdf) {
    return std::regex_replace(Comando("pdftotext -layout '" + pdf + "' -"), std::regex("\\s+"), " ");
}

// Pages holding a picture at least 'minimo' pixels wide, from pdfimages' list.
std::vector<int> PaginasComImagem(const std::string& pdf, int minimo) {
    std::vector<int> r;
    std::istringstream linhas(Comando("pdfimages -list '" + pdf + "'"));
    std::string l;
    std::smatch m;
    while (std::getline(linhas, l))
        if (std::regex_search(l, m, std::regex("^\\s*(\\d+)\\s+\\d+\\s+image\\s+(\\d+)")) && std::stoi(m[2]) >= minimo)
            r.push_back(std::stoi(m[1]));
    return r;
}

int PaginaDoTexto(const std::string& pdf, const std::string& marca, int paginas) {
    for (int p = 1; p <= paginas; ++p)
        if (Comando("pdftotext -f " + std::to_string(p) + " -l " + std::to_string(p) + " '" + pdf + "' -").find(marca) !=
            std::string::npos)
            return p;
    return 0;
}

// No display of any kind and the numbers as a Brazilian user has them.
struct SemTela {
    SemTela() {
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"}) unsetenv(v);
        setenv("LC_ALL", "pt_BR.UTF-8", 1);
        Regional::SetCurrent(Regional::PtBR());
    }
};

void CopiarExemplo(const PastaTemporaria& tmp) {
    CopiarExemploLocacao(tmp, {"Locacao em nivel.kzp", "Locacao com gradiente.kzp"});
}

std::string Linha(const std::vector<std::string>& celulas, size_t n) {
    std::string r;
    for (size_t k = 0; k < n; ++k) r += (k ? " " : "") + celulas[k];
    return r;
}

}  // namespace

TEST(CliRelatorioPdf, LevelLocationHasThePlanTheWholeTableAndTheProfiles) {
    const SemTela semTela;
    PastaTemporaria tmp;
    CopiarExemplo(tmp);
    const std::string pdf = tmp.Arquivo("plano.pdf");
    const ResultadoCli r = RodarCli({"locar", tmp.Arquivo("Locacao em nivel.kzp"), "--saida", tmp.Arquivo("p.vet"),
                                     "--relatorio", pdf});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Relatório: " + pdf), std::string::npos);
    EXPECT_EQ(r.erro, "");  // nothing from Qt about the missing display

    TBDT tabela;
    ASSERT_TRUE(tabela.LoadFromFile(tmp.Arquivo("p.bdt")));
    ASSERT_GT(tabela.Count(), 10);
    TComplementoBDT c;
    c.Ler(tmp.Arquivo("p.bdc"));
    const int n = tabela.Count();
    const int paginas = Paginas(pdf);
    // Identification, the plan, the table and what follows, then five profiles a page.
    const int paginasPerfis = (n + 4) / 5;
    EXPECT_GE(paginas, 3 + paginasPerfis);

    const std::string texto = Texto(pdf);
    const size_t numericas = ColunasTabelaTerracos().size() - 1;
    const TRegTerr& primeiro = *tabela.Item(1);
    const TRegTerr& ultimo = *tabela.Item(n);
    EXPECT_NE(texto.find(Linha(CelulasTerraco(primeiro, c.De(primeiro.id)), numericas)), std::string::npos)
        << Linha(CelulasTerraco(primeiro, c.De(primeiro.id)), numericas);
    EXPECT_NE(texto.find(Linha(CelulasTerraco(ultimo, c.De(ultimo.id)), numericas)), std::string::npos)
        << Linha(CelulasTerraco(ultimo, c.De(ultimo.id)), numericas);

    // The plan is the page after the identification, a picture filling it; the profiles, one
    // picture a page, close the report.
    const int planta = PaginaDoTexto(pdf, "PLANTA DOS TERRAÇOS", paginas);
    EXPECT_EQ(planta, 2);
    const int perfis = PaginaDoTexto(pdf, "PERFIS DOS TERRAÇOS", paginas);
    EXPECT_EQ(perfis, paginas - paginasPerfis + 1);
    std::vector<int> esperadas{planta};
    for (int p = perfis; p <= paginas; ++p) esperadas.push_back(p);
    EXPECT_EQ(PaginasComImagem(pdf, 1000), esperadas);
    // The warnings of the run are in it too.
    EXPECT_NE(texto.find("OBSERVAÇÕES"), std::string::npos);
    EXPECT_NE(texto.find("Travessia fora de nível: terraço"), std::string::npos);
    EXPECT_NE(texto.find("Área acima do terraço mais baixo fora de qualquer faixa: 0,0004 ha. Motivos: 1 trecho de "
                         "curva ou faixa pequeno demais para um terraço."),
              std::string::npos);
}

TEST(CliRelatorioPdf, GradedLocationAndSizingReportsToo) {
    const SemTela semTela;
    PastaTemporaria tmp;
    CopiarExemplo(tmp);
    const std::string gradiente = tmp.Arquivo("g.PDF");
    ResultadoCli r = RodarCli({"locar", tmp.Arquivo("Locacao com gradiente.kzp"), "--saida", tmp.Arquivo("g.vet"),
                               "--relatorio", gradiente});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    const int paginas = Paginas(gradiente);
    ASSERT_GT(paginas, 3);
    EXPECT_EQ(PaginaDoTexto(gradiente, "PLANTA DOS TERRAÇOS", paginas), 2);
    const int perfis = PaginaDoTexto(gradiente, "PERFIS DOS TERRAÇOS", paginas);
    ASSERT_GT(perfis, 2);
    EXPECT_EQ(PaginasComImagem(gradiente, 1000).size(), size_t(1 + paginas - perfis + 1));

    // The sizing report: the built section drawn as the window draws it.
    const std::string dimensionamento = tmp.Arquivo("d.pdf");
    r = RodarCli({"dimensionar", kExemplos + "Terraco em nivel.kzp", "--relatorio", dimensionamento});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_GE(Paginas(dimensionamento), 1);
    EXPECT_NE(Texto(dimensionamento).find("CONSTRUÇÃO"), std::string::npos);
    const std::string lista = Comando("pdfimages -list '" + dimensionamento + "'");
    EXPECT_NE(lista.find(" 540 "), std::string::npos) << lista;  // the section, 540 × 210
    // A folder that does not exist: the command's own message, nothing half-written.
    r = RodarCli({"dimensionar", kExemplos + "Terraco em nivel.kzp", "--relatorio", tmp.Arquivo("falta/d.pdf")});
    EXPECT_NE(r.codigo, 0);
    EXPECT_NE(r.erro.find("Não foi possível gravar o arquivo " + tmp.Arquivo("falta/d.pdf") + "."), std::string::npos)
        << r.erro;
}

TEST(CliRelatorioPdf, OnlyTheModuleBringsQt) {
    // The raster commands start as small as ever: the command line itself needs no Qt library.
    const std::string cli = Comando("readelf -d '" + std::string(VANDORO_BIN_DIR) + "/vandoro-cli'");
    ASSERT_NE(cli.find("NEEDED"), std::string::npos) << cli;
    EXPECT_EQ(cli.find("Qt6"), std::string::npos);
    const std::string modulo = Comando("readelf -d --dyn-syms '" + std::string(VANDORO_BIN_DIR) + "/vandoro-pdf.so'");
    EXPECT_NE(modulo.find("libQt6Gui"), std::string::npos);
    EXPECT_EQ(modulo.find("libQt6Widgets"), std::string::npos);
    EXPECT_NE(modulo.find("VandoroGravarPdf"), std::string::npos);
}
