// dimensionar: loads a project, sizes its current system and prints the result page.
#include <iostream>

#include "cli/Comando.h"
#include "cli/ModuloPdf.h"
#include "core/common/Arquivo.h"
#include "core/common/Erros.h"
#include "core/project/ModeloProjeto.h"
#include "core/sizing/ConstrucaoDimensionamento.h"
#include "core/sizing/Dimensionamento.h"
#include "core/sizing/RelatorioDimensionamento.h"

namespace {

const char* const kAjuda =
    "Uso: vandoro-cli dimensionar PROJETO.kzp [--relatorio SAIDA.html]\n\n"
    "Abre o projeto, dimensiona o sistema de conservação nele escolhido (terraços em nível,\n"
    "terraços com gradiente ou barraginhas) como o botão \"Calcular\" da janela de\n"
    "dimensionamento e mostra os resultados com os rótulos, unidades e formatos da página\n"
    "de resultados. O projeto não é alterado.\n\n"
    "  --relatorio SAIDA.html  grava também o relatório do dimensionamento (HTML em UTF-8),\n"
    "                          como o botão \"Relatório\" da página de resultados; o arquivo\n"
    "                          só é gravado quando o relatório está completo. Com a extensão\n"
    "                          .pdf, grava o PDF que o botão \"Exportar PDF\" da janela do\n"
    "                          relatório grava (A4), com o desenho da seção; não precisa de tela.\n";

int Executar(const std::vector<std::string>& args) {
    Argumentos a(args, {"--relatorio"});
    if (a.Posicionais().size() != 1)
        throw EVandoro("Uso: vandoro-cli dimensionar PROJETO.kzp [--relatorio SAIDA.html]");
    const std::string relatorio = a.Valor("--relatorio");
    if (a.Tem("--relatorio") && relatorio.empty()) throw EVandoro("Falta o valor da opção --relatorio.");
    const std::string& arquivo = a.Posicionais()[0];
    RecusaSaidaSobreEntradas({relatorio, "O relatório "}, {{arquivo, "o projeto "}});

    // The read may upgrade old storm sections in place; work on a copy so that sizing
    // never changes the user's file.
    TModeloProjeto modelo;
    AbrirProjeto(modelo, arquivo);

    const TResultadoDimensionamento r = DimensionarProjeto(modelo);

    // The window's information box, as a line before the result.
    if (r.ComprimentoLimitado) std::cout << kMensagemComprimentoCanal << "\n";
    const TIDProjeto& id = modelo.Identificacao();
    if (!id.Nome().empty()) std::cout << "Projeto: " << id.Nome() << "\n";
    std::cout << "Sistema: " << NomeSistema(r.TipoSistema) << "\n";
    for (const auto& l : LinhasResultado(r)) {
        std::cout << l.Rotulo << " " << l.Valor;
        if (!l.Unidade.empty()) std::cout << " " << l.Unidade;
        std::cout << "\n";
    }
    const std::string aviso = AvisoResultado(r);
    if (!aviso.empty()) std::cout << aviso << "\n";
    // What building it takes, with the settings' widths, swell and the design's machine.
    modelo.Configuracao().Construcao = ConstrucaoConfigurada();
    const TConstrucaoDimensionamento c =
        ConstrucaoDoDimensionamento(modelo, r.TipoSistema, modelo.Configuracao().Construcao);
    for (const auto& l : LinhasConstrucao(c)) std::cout << l.Rotulo << " " << l.Valor << "\n";
    if (!c.maquina.empty()) std::cout << "Máquina: " << c.maquina << "\n";
    for (const std::string& a : AvisosConstrucao(c)) std::cout << "Aviso: " << a << "\n";
    if (!relatorio.empty()) {
        // Built whole before anything is written, so a failure leaves no partial file.
        TOpcoesRelatorio opcoes;
        opcoes.PastaPrograma = PastaPrograma();
        if (RelatorioEmPdf(relatorio)) {
            // The PDF draws the built section as the window does; a basin has none.
            const TDesenhoSecao desenho = DesenhoDaConstrucao(c);
            if (r.TipoSistema != TTipoSistema::BaciaAcumulacao) opcoes.Secao = FiguraSecaoRelatorio();
            TPedidoPdf pedido;
            pedido.html = RelatorioDimensionamento(modelo, opcoes);
            pedido.saida = relatorio;
            pedido.secao = opcoes.Secao ? &desenho : nullptr;
            GravarPdfPeloModulo(pedido);
        } else {
            GravarRelatorio(RelatorioDimensionamento(modelo, opcoes), relatorio);
        }
        std::cout << "Relatório: " << relatorio << "\n";
    }
    return 0;
}

RegistroComando reg{"dimensionar", "dimensiona o sistema de um projeto (.kzp)", kAjuda, Executar};

}  // namespace
