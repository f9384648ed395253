#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "GeoTeste.h"
#include "GradesSinteticas.h"
#include "TestSupport.h"
#include "core/common/Arquivo.h"
#include "core/location/BDT.h"
#include "core/location/ComplementoBDT.h"
#include "core/raster/Vetor.h"

namespace {
const std::string kExemplos = std::string(VANDORO_SOURCE_DIR) + "/data/Exemplos/";

int Contar(const std::string& texto, const std::string& marca) {
    int n = 0;
    for (size_t p = texto.find(marca); p != std::string::npos; p = texto.find(marca, p + 1)) ++n;
    return n;
}
}  // namespace

TEST(CliLocar, LocatesOnTheExampleModelAndPrintsTheTable) {
    PastaTemporaria tmp;
    const std::string decl = tmp.Arquivo("decl.asc"), vet = tmp.Arquivo("terracos.vet");
    ASSERT_EQ(RodarCli({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    const std::string projeto = kExemplos + "Terraco em nivel.kzp";
    const std::string antes = LerArquivo(projeto);
    ResultadoCli r = RodarCli({"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc", "--declividade", decl,
                               "--saida", vet});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.rfind("Terraço;Cota (m);Espaçamento vertical (m);Declividade média (%);Comprimento (m);"
                            "Área (m2);Altura (m);Acima;Tipo de terraço;Volume (m³);Horas (h);Custo (R$)\n",
                            0),
              0u);
    // Rows read downhill: each names the line above its strip, an earlier row whose level is
    // its own plus its EV, or the summit; each has its type under the project's criterion.
    std::istringstream linhas(r.saida);
    std::string linha;
    std::getline(linhas, linha);
    std::map<int, double> cotas;
    int topos = 0;
    while (std::getline(linhas, linha) && linha.rfind("Total de terraços", 0) != 0) {
        std::vector<std::string> c;
        std::stringstream ss(linha);
        for (std::string x; std::getline(ss, x, ';');) c.push_back(x);
        ASSERT_EQ(c.size(), 12u) << linha;
        const int id = std::stoi(c[0]);
        EXPECT_EQ(id, int(cotas.size()) + 1);
        cotas[id] = std::stod(c[1]);
        if (c[7] == "topo") {
            ++topos;
        } else {
            const int acima = std::stoi(c[7]);
            ASSERT_TRUE(cotas.count(acima)) << linha;
            EXPECT_NEAR(cotas[acima] - cotas[id], std::stod(c[2]), 0.011) << linha;
        }
        EXPECT_FALSE(c[8].empty()) << linha;
        EXPECT_GE(std::stod(c[4]), 50.0) << linha;  // no terrace under the plan's minimum length
    }
    // The whole field is terraced: at least 95 % of it lies in strips.
    const auto valor = [&](const std::string& rotulo) {
        const size_t p = r.saida.find(rotulo);
        return p == std::string::npos ? 0.0 : std::stod(r.saida.substr(p + rotulo.size()));
    };
    EXPECT_GE(valor("Área total (m2): "), 0.95 * valor("Área da imagem (ha): ") * 10000);
    EXPECT_GE(topos, 1);
    EXPECT_LT(topos, int(cotas.size()));
    EXPECT_TRUE(ArquivoExiste(tmp.Arquivo("terracos.bdc")));
    // As many table rows as records in the terrace table beside the vector file.
    const std::string bdt = LerArquivo(tmp.Arquivo("terracos.bdt"));
    ASSERT_GE(bdt.size(), 5u);
    const int n = int((bdt.size() - 5) / 52);
    EXPECT_GT(n, 0);
    EXPECT_NE(r.saida.find("Total de terraços: " + std::to_string(n) + "\n"), std::string::npos);
    EXPECT_EQ(Contar(r.saida, "\n") - 1 - 12 - 1, n + Contar(r.saida, "\nLocação encerrada") +
                                                  Contar(r.saida, "\nLocação interrompida ao atingir") +
                                                  Contar(r.saida, "\nTravessia fora de nível: ") +
                                                  Contar(r.saida, "\nAviso: Trechos com raio") +
                                                  Contar(r.saida, "\nLinhas com menos de "));
    // What the run left: land above the lowest line in no strip, pieces too small.
    EXPECT_NE(r.saida.find("\nÁrea acima do terraço mais baixo fora de qualquer faixa (ha): "), std::string::npos);
    EXPECT_NE(r.saida.find("\nTrechos de curva ou faixas pequenos demais para um terraço (descartados): "),
              std::string::npos);
    // 10 m cells are too coarse for this project's spacing (the last line says so).
    EXPECT_NE(r.saida.find("\nAviso: O espaçamento horizontal entre terraços ("), std::string::npos);
    EXPECT_NE(r.saida.find(" m) é menor que duas células da imagem de elevação (20.0 m): terraços vizinhos se tocam e "
                           "a locação pode ficar incompleta. Use uma imagem de elevação de resolução maior.\n"),
              std::string::npos);
    EXPECT_GT(LerArquivo(vet).size(), 527u);
    EXPECT_EQ(LerArquivo(projeto), antes);  // the project is not touched
}

TEST(CliLocar, FailuresExitWithTheMessage) {
    PastaTemporaria tmp;
    const std::string projeto = kExemplos + "Terraco em nivel.kzp";
    ResultadoCli r = RodarCli({"locar", projeto, "--elevacao", tmp.Arquivo("falta.asc"), "--declividade",
                               tmp.Arquivo("falta2.asc"), "--saida", tmp.Arquivo("s.vet")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("falta.asc não existe."), std::string::npos) << r.erro;
    EXPECT_FALSE(std::ifstream(tmp.Arquivo("s.vet")).good());

    r = RodarCli({"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc", "--saida", tmp.Arquivo("s.vet")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("O projeto não indica a imagem de declividade (use --declividade)."), std::string::npos)
        << r.erro;

    r = RodarCli({"locar"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("Uso: vandoro-cli locar PROJETO.kzp"), std::string::npos);
}

TEST(CliLocar, StripMapIsWrittenAndReadBackByRasterInfo) {
    PastaTemporaria tmp;
    const std::string decl = tmp.Arquivo("decl.asc"), vet = tmp.Arquivo("t.vet"), mapa = tmp.Arquivo("faixas.asc");
    ASSERT_EQ(RodarCli({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    const std::string projeto = kExemplos + "Terraco em nivel.kzp";
    ResultadoCli r = RodarCli({"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc", "--declividade", decl,
                               "--saida", vet, "--faixas", mapa});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("\nMapa das faixas: " + mapa + "\n"), std::string::npos);
    ResultadoCli info = RodarCli({"raster-info", mapa});
    ASSERT_EQ(info.codigo, 0) << info.erro;
    EXPECT_NE(info.saida.find("76"), std::string::npos) << info.saida;  // the model's 76 x 55 cells
    EXPECT_NE(info.saida.find("55"), std::string::npos);
    // Terrace numbers, 0 and the model's no-data: as many distinct values as terraces + 2 at most.
    EXPECT_NE(LerArquivo(mapa).find("-9999"), std::string::npos);

    // The map may not replace an input or another output.
    r = RodarCli({"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc", "--declividade", decl, "--saida",
                  tmp.Arquivo("u.vet"), "--faixas", decl});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O mapa das faixas " + decl + " substituiria a imagem de declividade " + decl +
                          ": escolha outro nome. Nada foi gravado.\n");
    EXPECT_FALSE(ArquivoExiste(tmp.Arquivo("u.vet")));
    r = RodarCli({"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc", "--declividade", decl, "--saida",
                  tmp.Arquivo("u.vet"), "--relatorio", tmp.Arquivo("r.asc"), "--faixas", tmp.Arquivo("r.asc")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O mapa das faixas " + tmp.Arquivo("r.asc") + " substituiria o relatório " +
                          tmp.Arquivo("r.asc") + ": escolha outro nome. Nada foi gravado.\n");
    // A name that is no image is refused before the run.
    r = RodarCli({"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc", "--declividade", decl, "--saida",
                  tmp.Arquivo("u.vet"), "--faixas", tmp.Arquivo("faixas.txt")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O mapa das faixas precisa ter a extensão de uma imagem (.asc, .flt, .doc ou "
                      ".grd): " + tmp.Arquivo("faixas.txt") + ".\n");
    EXPECT_FALSE(ArquivoExiste(tmp.Arquivo("u.vet")));
}

TEST(CliLocar, ThePlanOptionsCapTheRunAndAreChecked) {
    PastaTemporaria tmp;
    const std::string decl = tmp.Arquivo("decl.asc");
    ASSERT_EQ(RodarCli({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    const std::string projeto = kExemplos + "Terraco em nivel.kzp";
    const std::vector<std::string> base{"locar", projeto, "--elevacao", kExemplos + "hugo_site.asc",
                                        "--declividade", decl, "--saida", tmp.Arquivo("t.vet")};
    const auto com = [&](std::vector<std::string> extra) {
        std::vector<std::string> a = base;
        a.insert(a.end(), extra.begin(), extra.end());
        return RodarCli(a);
    };
    // The cap counts the lines placed; with no minimum length none of them is merged later.
    ResultadoCli r = com({"--max-terracos", "3", "--comprimento-minimo", "0"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Total de terraços: 3\n"), std::string::npos) << r.saida;
    EXPECT_NE(r.saida.find("\nLocação interrompida ao atingir o número máximo de 3 terraços; o restante da área "
                           "não foi locado.\n"),
              std::string::npos);
    // The traced lines (radius 0) have no passage; the smoothed ones keep their level elsewhere.
    r = com({"--raio-minimo", "0"});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(Contar(r.saida, "Travessia fora de nível"), 0);
    for (const auto& [op, valor, msg] :
         {std::tuple{"--tolerancia", "0", "Tolerância de nível inválida: use um valor maior que 0 e até 100 cm."},
          std::tuple{"--raio-minimo", "-1", "Raio mínimo de curva inválido: use um valor de 0 a 500 m (0 mantém as "
                                            "linhas traçadas)."},
          std::tuple{"--max-terracos", "99999999999", "Número máximo de terraços inválido: use um número inteiro de "
                                                      "1 a 32767, ou deixe o campo vazio."},
          std::tuple{"--comprimento-minimo", "abc", "Valor inválido para --comprimento-minimo: 'abc'."}}) {
        r = com({op, valor});
        EXPECT_EQ(r.codigo, 1) << op;
        EXPECT_NE(r.erro.find(msg), std::string::npos) << r.erro;
    }
}

TEST(CliLocar, OneThreadOrTwoWriteTheSameFilesAndABadCountIsRefused) {
    PastaTemporaria tmp;
    const std::string decl = tmp.Arquivo("decl.asc");
    ASSERT_EQ(RodarCli({"declividade", kExemplos + "hugo_site.asc", decl}).codigo, 0);
    const auto locar = [&](const std::string& nome, const std::string& threads) {
        return RodarCli({"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao", kExemplos + "hugo_site.asc",
                         "--declividade", decl, "--saida", tmp.Arquivo(nome + ".vet"), "--threads", threads});
    };
    const auto arquivos = [&](const std::string& nome) {
        return LerArquivo(tmp.Arquivo(nome + ".vet")) + LerArquivo(tmp.Arquivo(nome + ".bdt")) +
               LerArquivo(tmp.Arquivo(nome + ".bdc"));
    };
    const ResultadoCli um = locar("um", "1"), dois = locar("dois", "2");
    ASSERT_EQ(um.codigo, 0) << um.erro;
    ASSERT_EQ(dois.codigo, 0) << dois.erro;
    EXPECT_TRUE(arquivos("um") == arquivos("dois"));
    EXPECT_EQ(um.saida.substr(0, um.saida.find("Arquivos:")), dois.saida.substr(0, dois.saida.find("Arquivos:")));
    const ResultadoCli r = locar("zero", "0");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.erro, "vandoro-cli: O número de threads deve ser um inteiro de 1 a 64.\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.Arquivo("zero.vet")));
}

TEST(CliLocar, AModelInWholeMetresIsRefusedUnlessTheUserInsists) {
    PastaTemporaria tmp;
    // A 16-bit survey of a gentle cone: whole metres, against an interval of about a metre.
    const Campo cone = [](double x, double y) { return 40 - 0.05 * std::hypot(x - 60.5, y - 60.5); };
    GravarAsc(tmp.Arquivo("e.asc"), 120, 120, 1.0, [&](double x, double y) { return std::round(cone(x, y)); });
    GravarDeclividade(tmp.Arquivo("d.asc"), 120, 120, 1.0, cone);
    const std::vector<std::string> base{"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao", tmp.Arquivo("e.asc"),
                                        "--declividade", tmp.Arquivo("d.asc"), "--saida", tmp.Arquivo("t.vet")};
    ResultadoCli r = RodarCli(base);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("O modelo de elevação tem valores em degraus de 1.00 m, mais que um terço do espaçamento "
                          "vertical entre terraços ("),
              std::string::npos)
        << r.erro;
    EXPECT_NE(r.erro.find("Suavize o modelo com o Filtro ou use um levantamento mais fino. Para locar assim mesmo, "
                          "use --insistir.\n"),
              std::string::npos);
    EXPECT_FALSE(std::ifstream(tmp.Arquivo("t.vet")).good());
    std::vector<std::string> insiste = base;
    insiste.push_back("--insistir");
    r = RodarCli(insiste);
    EXPECT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.erro.find("Aviso: O modelo de elevação tem valores em degraus de 1.00 m"), std::string::npos);
    EXPECT_TRUE(std::ifstream(tmp.Arquivo("t.vet")).good());
}

TEST(CliLocar, TheShippedTwoMetrePlanCanBeBuilt) {
    // The shipped 2 m survey model with its own project, as a technician runs it: the whole
    // field in strips, no terrace under the minimum, the lines smooth and on level.
    PastaTemporaria tmp;
    CopiarExemploLocacao(tmp);
    const ResultadoCli r = RodarCli({"locar", tmp.Arquivo("Locacao em nivel.kzp"), "--saida", tmp.Arquivo("p.vet")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.find("Locação interrompida"), std::string::npos);
    const auto valor = [&](const std::string& rotulo) {
        const size_t p = r.saida.find(rotulo);
        return p == std::string::npos ? -1.0 : std::stod(r.saida.substr(p + rotulo.size()));
    };
    const double total = valor("Comprimento total (m): ");
    ASSERT_GT(total, 1000);
    EXPECT_GE(valor("Área total (m2): "), 0.95 * valor("Área da imagem (ha): ") * 10000);
    // Off level by more than the tolerance: at most a tenth of the length, all of it listed.
    double travessias = 0;
    for (size_t p = r.saida.find("Travessia fora de nível: "); p != std::string::npos;
         p = r.saida.find("Travessia fora de nível: ", p + 1)) {
        const size_t m = r.saida.find(" m do início, ", p);
        travessias += std::stod(r.saida.substr(m + 14));
    }
    EXPECT_LE(travessias, 0.10 * total);
    EXPECT_EQ(r.saida.find("Aviso: Trechos com raio"), std::string::npos);  // radius kept everywhere
    // The totals end with the machine, its hours and cost, and last the soil the plan moves, in
    // the length's format; no other "Volume" line.
    const size_t volume = r.saida.find("\nVolume total de solo movimentado (m³): ");
    ASSERT_NE(volume, std::string::npos) << r.saida;
    EXPECT_GT(valor("Volume total de solo movimentado (m³): "), 0);
    EXPECT_EQ(r.saida.find("\nVolume", volume + 1), std::string::npos);
    const size_t maquina = r.saida.find("\nMáquina: ");
    ASSERT_NE(maquina, std::string::npos);
    std::vector<std::string> totais;
    std::istringstream fim(r.saida.substr(maquina + 1));
    for (std::string l; totais.size() < 5 && std::getline(fim, l);) totais.push_back(l.substr(0, l.find(':') + 1));
    EXPECT_EQ(totais, (std::vector<std::string>{"Máquina:", "Horas de máquina (h):", "Custo (R$):",
                                                "Volume total de solo movimentado (m³):", "Arquivos:"}));
    const std::string rotulo = "\nVolume total de solo movimentado (m³): ";
    const std::string v = r.saida.substr(volume + rotulo.size(), r.saida.find('\n', volume + 1) - volume - rotulo.size());
    EXPECT_EQ(v.size() - v.find_first_of(".,"), 2u) << v;  // one decimal, as the length
    TComplementoBDT c;
    c.Ler(tmp.Arquivo("p.bdc"));
    EXPECT_EQ(c.comprimentoRaioMenor, 0);
    TBDT t;
    t.Load(tmp.Arquivo("p.bdt"));
    ASSERT_EQ(size_t(t.Count()), c.terracos.size());
    for (int i = 1; i <= t.Count(); ++i) {
        EXPECT_GE(t.Item(i)->length, 50.0) << i;
        ASSERT_NE(c.De(t.Item(i)->id), nullptr);
        EXPECT_FALSE(c.De(t.Item(i)->id)->tipo.empty()) << i;
    }
}

TEST(CliLocar, AGradedProjectLaysItsTerracesFromTheWaterways) {
    // The graded example project on a 200 x 300 m plane falling 8 % to the south, with a
    // waterway down its middle drawn as the program's own vector.
    PastaTemporaria tmp;
    const auto plano = [](double, double y) { return 100 - 0.08 * y; };
    GravarAsc(tmp.Arquivo("e.asc"), 300, 200, 1.0, plano);
    GravarDeclividade(tmp.Arquivo("d.asc"), 300, 200, 1.0, plano);
    TVET w("m");
    TVetorRecPonto l;
    l.SetLineId(1);
    l.Add(100, 300, 0);
    l.Add(100, 0, 0);
    w.AppendLine(l);
    w.Save(tmp.Arquivo("w.vet"));
    const std::string projeto = kExemplos + "Terraco em gradiente.kzp";
    const std::vector<std::string> base = {"locar", projeto, "--elevacao", tmp.Arquivo("e.asc"), "--declividade",
                                           tmp.Arquivo("d.asc"), "--saida", tmp.Arquivo("g.vet")};
    // Without waterways a graded project is refused, and nothing is written.
    ResultadoCli r = RodarCli(base);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("O projeto é de terraços com gradiente: indique os canais escoadouros para onde os "
                          "terraços drenam (use --escoadouro)."),
              std::string::npos)
        << r.erro;
    EXPECT_FALSE(ArquivoExiste(tmp.Arquivo("g.vet")));

    // The waterways are an input: an output named like them is refused, and they stay as they were.
    const std::string antes = LerArquivo(tmp.Arquivo("w.vet"));
    r = RodarCli({"locar", projeto, "--elevacao", tmp.Arquivo("e.asc"), "--declividade", tmp.Arquivo("d.asc"),
                  "--saida", tmp.Arquivo("./w.vet"), "--escoadouro", tmp.Arquivo("w.vet")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.erro.find("substituiria os canais escoadouros " + tmp.Arquivo("w.vet") +
                          ": escolha outro nome. Nada foi gravado."),
              std::string::npos)
        << r.erro;
    r = RodarCli({"locar", projeto, "--elevacao", tmp.Arquivo("e.asc"), "--declividade", tmp.Arquivo("d.asc"),
                  "--saida", tmp.Arquivo("g.vet"), "--escoadouro", tmp.Arquivo("w.vet"), "--relatorio",
                  tmp.Arquivo("w.vet")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(LerArquivo(tmp.Arquivo("w.vet")), antes);
    EXPECT_FALSE(ArquivoExiste(tmp.Arquivo("g.vet")));

    std::vector<std::string> comEscoadouro = base;
    comEscoadouro.insert(comEscoadouro.end(), {"--escoadouro", tmp.Arquivo("w.vet"), "--faixas", tmp.Arquivo("f.asc"),
                                               "--sig", tmp.Arquivo("g.gpkg"), "--relatorio", tmp.Arquivo("g.html")});
    r = RodarCli(comEscoadouro);
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_EQ(r.saida.rfind("Terraço;Escoadouro;Acima;Cota da saída (m);Cota do início (m);Comprimento (m);Área (m2);"
                            "Declividade média (%);Espaçamento horizontal (m);Vazão (L/s);Altura (m);Volume (m³);"
                            "Horas (h);Custo (R$)\n", 0),
              0u);
    // Every row drains to waterway 1, its far end higher than its outlet by the grade times its
    // length; the flows the waterway receives are the rows' sum.
    TBDT t;
    t.Load(tmp.Arquivo("g.bdt"));
    TComplementoBDT c;
    c.Ler(tmp.Arquivo("g.bdc"));
    ASSERT_GT(t.Count(), 10);
    ASSERT_EQ(c.canais.size(), size_t(t.Count()));
    double soma = 0;
    for (int i = 1; i <= t.Count(); ++i) {
        const TCanalLocado* k = c.CanalDe(t.Item(i)->id);
        ASSERT_NE(k, nullptr);
        EXPECT_EQ(k->escoadouro, 1);
        EXPECT_GT(k->declividade, 0);
        EXPECT_NEAR(k->cotaInicio - t.Item(i)->level, k->declividade * t.Item(i)->length, 1e-6);
        soma += k->vazao;
    }
    EXPECT_GT(soma, 0);
    const std::string rotulo = "Vazão recebida pelo escoadouro 1 (L/s): ";
    const size_t p = r.saida.find(rotulo);
    ASSERT_NE(p, std::string::npos);
    std::string vazao = r.saida.substr(p + rotulo.size(), r.saida.find('\n', p) - p - rotulo.size());
    std::replace(vazao.begin(), vazao.end(), ',', '.');  // either decimal separator
    EXPECT_NEAR(std::stod(vazao), soma, 0.1);
    // The vector holds each channel at its design elevation, rising from the outlet.
    TVET v;
    v.Load(tmp.Arquivo("g.vet"));
    const auto linhas = v.Lines();
    ASSERT_EQ(int(linhas.size()), t.Count());
    const auto& pts = linhas[0].Pontos();
    EXPECT_NEAR(pts.front().Z, t.Item(1)->level, 1e-3);
    EXPECT_GT(pts.back().Z, pts.front().Z);
    EXPECT_TRUE(ArquivoExiste(tmp.Arquivo("f.asc")));
    // The graded report: each terrace's row and far end, and what the waterway receives.
    const std::string html = LerArquivo(tmp.Arquivo("g.html"));
    EXPECT_NE(html.find("Locação de Sistemas de Terraceamento com Gradiente"), std::string::npos);
    const size_t sc = html.find("<B>Declividade do canal: </B>");
    ASSERT_NE(sc, std::string::npos);
    EXPECT_EQ(html.substr(sc + 29, 9).substr(0, 1) + html.substr(sc + 31, 7), "0005 m/m");  // 0,005 or 0.005
    EXPECT_NE(html.find("<B>Vazão recebida pelo escoadouro 1: </B>"), std::string::npos);
    EXPECT_EQ(Contar(html, "Escoadouro: 1. Cota do início: "), t.Count());  // under each row: no column to spare
    // The GIS lines carry each channel's outlet, far end, grade, flow and waterway.
    auto ds = geoteste::AbreVetor(tmp.Arquivo("g.gpkg"));
    ASSERT_TRUE(ds);
    ASSERT_EQ(ds->GetLayer(0)->GetFeatureCount(), t.Count());
    int i = 1;
    for (auto& f : *ds->GetLayer(0)) {
        const TCanalLocado* k = c.CanalDe(t.Item(i)->id);
        EXPECT_EQ(f->GetFieldAsInteger("terraco"), t.Item(i)->id);
        EXPECT_NEAR(f->GetFieldAsDouble("cota_saida_m"), t.Item(i)->level, 1e-9);
        EXPECT_NEAR(f->GetFieldAsDouble("cota_inicio_m"), k->cotaInicio, 1e-6);
        EXPECT_NEAR(f->GetFieldAsDouble("decliv_canal"), k->declividade, 1e-12);
        EXPECT_NEAR(f->GetFieldAsDouble("vazao_ls"), k->vazao, 1e-6);
        EXPECT_EQ(f->GetFieldAsInteger("escoadouro"), 1);
        // The soil its companion keeps; hours and cost only where the settings give them.
        const TObraTerraco* o = c.ObraDe(t.Item(i)->id);
        ASSERT_NE(o, nullptr);
        EXPECT_NEAR(f->GetFieldAsDouble("volume_m3"), o->volume, 1e-9 * o->volume);
        EXPECT_EQ(f->IsFieldSetAndNotNull(f->GetFieldIndex("horas")), o->servico.horas >= 0);
        EXPECT_EQ(f->IsFieldSetAndNotNull(f->GetFieldIndex("custo_rs")), o->servico.custo >= 0);
        ++i;
    }

    // A level project takes the same waterways as a note.
    r = RodarCli({"locar", kExemplos + "Terraco em nivel.kzp", "--elevacao", tmp.Arquivo("e.asc"), "--declividade",
                  tmp.Arquivo("d.asc"), "--saida", tmp.Arquivo("n.vet"), "--escoadouro", tmp.Arquivo("w.vet")});
    ASSERT_EQ(r.codigo, 0) << r.erro;
    EXPECT_NE(r.saida.find("Aviso: O projeto é de terraços em nível: os canais escoadouros foram ignorados.\n"),
              std::string::npos);
}
