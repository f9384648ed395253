// The PDF module: the command line opens it at run time to write a report as the report
// window's "Exportar PDF" does, with no display and no desktop session.
#include <QGuiApplication>
#include <QPageLayout>
#include <cstdio>
#include <exception>
#include <memory>

#include "core/common/Erros.h"
#include "core/location/PerfisTerracos.h"
#include "core/project/Relatorio.h"
#include "render/DocumentoRelatorio.h"
#include "render/FiguraSecao.h"
#include "render/FigurasLocacao.h"
#include "render/PedidoPdf.h"
#include "render/Texto.h"

namespace {

// Pages are painted offscreen whatever QT_QPA_PLATFORM and DISPLAY say: a command line may run
// where neither is set, or where they name a display that is gone.
std::unique_ptr<QGuiApplication> AplicacaoSemTela() {
    if (QCoreApplication::instance()) return nullptr;
    // Qt's own notes (no runtime folder and the like) are not the command's output.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& msg) {
        if (tipo == QtCriticalMsg || tipo == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(msg));
    });
    static int argc = 3;
    static char nome[] = "vandoro-cli", opcao[] = "-platform", plataforma[] = "offscreen";
    static char* argv[] = {nome, opcao, plataforma, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int Gravar(const TPedidoPdf& p) {
    Regional::SetCurrent(p.regional);
    const std::unique_ptr<QGuiApplication> app = AplicacaoSemTela();
    QMap<QString, QImage> imagens;
    if (p.secao) {
        const TFiguraGrafico f = FiguraSecaoRelatorio();
        imagens.insert(Q(f.Arquivo), ImagemSecao(*p.secao, QSize(f.Largura, f.Altura)));
    }
    if (p.locacao && p.figurasLocacao) imagens.insert(ImagensDaLocacao(*p.locacao, *p.figurasLocacao, p.projeto));
    return GravarRelatorioPdf(Q(p.saida), Q(p.html), imagens, PaginaPadrao());
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int VandoroGravarPdf(const TPedidoPdf* pedido, std::string* erro) {
    try {
        return Gravar(*pedido);
    } catch (const std::exception& e) {
        *erro = e.what();
    } catch (...) {
        *erro = "Erro inesperado ao gravar o PDF.";
    }
    return 0;
}
