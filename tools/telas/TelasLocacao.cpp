#include "telas/TelasLocacao.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <utility>

#include "core/common/Erros.h"
#include "core/location/LocNivel.h"
#include "core/location/RelatorioLocacao.h"
#include "core/project/Construcao.h"
#include "core/project/ModeloProjeto.h"
#include "core/project/Relatorio.h"
#include "gui/common/Dialogos.h"
#include "gui/common/FRelatorio.h"
#include "render/Paginas.h"
#include "gui/common/TrabalhoComProgresso.h"
#include "gui/common/VisualizadorHtml.h"
#include "gui/location/FrmLocacao.h"
#include "gui/location/MapaLocacao.h"
#include "render/MapaPlano.h"
#include "gui/shell/Principal.h"
#include "telas/Telas.h"

namespace {

// The location report as the printer gets it: the page where 'texto' is, on A4.
void GravarPaginaImpressa(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar,
                          const QString& texto, const QString& nome) {
    std::string html;
    try {
        html = RelatorioDaLocacao(w.Modelo(), w.Modelo().LocacaoNivel());
    } catch (const EVandoro&) {
        return;  // no run, no table
    }
    const char* titulo =
        LocacaoComGradiente(w.Modelo().LocacaoNivel()) ? kTituloRelatorioLocacaoGradiente : kTituloRelatorioLocacao;
    TFRelatorio r(Q(LegendaJanelaRelatorio(titulo)), Q(html), &w);
    r.show();  // the first activation loads the text and its pictures
    Esperar(200);
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    const TDocumentoPaginado paginas(*r.Visualizador()->document(), a4.fullRect(QPageLayout::Inch).size() * 96.0,
                                     r.Visualizador());
    const int n = paginas.PaginaDoTexto(texto);
    const QImage img = ImagemDaPagina(*r.Visualizador()->document(), r.Visualizador()->Titulo(), n, a4, 96,
                                      r.Visualizador());
    r.close();
    if (img.isNull()) return;
    QLabel folha;
    folha.setWindowTitle(QStringLiteral("Relatório impresso - página %1 de %2").arg(n).arg(paginas.Paginas()));
    folha.setPixmap(QPixmap::fromImage(img));
    folha.setFixedSize(img.size());  // whole, even where the screen is smaller than the page
    gravar(folha, nome);
}

// A copy of a shipped location example in a scratch folder (the run writes beside the project,
// and the shipped files stay as they are), opened in its location window.
TfrmLocacao* AbrirExemplo(TFPrincipal& w, const QTemporaryDir& temp, const char* projeto, const char* escoadouro) {
    const QString exemplos = w.PastaPrograma() + "Exemplos/";
    for (const char* f : {projeto, "hugo_site_2m.flt", "hugo_site_2m.hdr", "hugo_site_2m.prj",
                          "hugo_site_2m_declividade.flt", "hugo_site_2m_declividade.hdr", "hugo_site_2m_declividade.prj",
                          escoadouro})
        if (f) QFile::copy(exemplos + f, temp.filePath(QString::fromUtf8(f)));
    if (!w.AbrirArquivo(temp.filePath(QString::fromUtf8(projeto)))) return nullptr;
    w.Locacao();
    auto* j = dynamic_cast<TfrmLocacao*>(w.JanelaModulo(QStringLiteral("Locacao")));
    if (j) Esperar(300);
    return j;
}

// One section of the window opened, photographed.
void GravarSecao(TFPrincipal& w, TfrmLocacao& j, const std::function<void(QWidget&, const QString&)>& gravar,
                 const QString& secao, const QString& nome) {
    j.AbrirSecao(secao);
    Esperar(200);
    gravar(w, nome);
}

// The results' map zoomed in on the middle of a line, the mouse over it, and the sheet
// "Exportar mapa" writes.
void GravarMapa(TFPrincipal& w, TfrmLocacao& j, const std::function<void(QWidget&, const QString&)>& gravar) {
    TMapaLocacao* mapa = j.Mapa();
    if (!mapa || !mapa->Mapa() || mapa->Mapa()->Plano().linhas.empty()) return;
    const std::vector<TLinhaPlano>& linhas = mapa->Mapa()->Plano().linhas;
    const TLinhaPlano& l = linhas[linhas.size() / 2];
    const QPointF meio(l.x[l.x.size() / 2], l.y[l.y.size() / 2]);
    mapa->Ajustar();
    mapa->Zoom(3, mapa->PixelDe(meio));
    QMouseEvent sobre(QEvent::MouseMove, mapa->PixelDe(meio), mapa->Vista()->mapToGlobal(mapa->PixelDe(meio)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(mapa->Vista(), &sobre);
    Esperar(200);
    gravar(w, QStringLiteral("locacao_mapa_zoom"));
    mapa->Ajustar();
    const QImage img = mapa->FolhaA4();
    QLabel folha;
    folha.setWindowTitle(QStringLiteral("Mapa exportado"));
    folha.setPixmap(QPixmap::fromImage(img));
    folha.setFixedSize(img.size());  // whole, as the file holds it
    gravar(folha, QStringLiteral("locacao_mapa_folha"));
}

// The graded example: its channel and waterway fields, and its results.
void TelasLocacaoGradiente(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar,
                           const std::function<void(const QString&)>& proximo) {
    QTemporaryDir temp;
    TfrmLocacao* j = AbrirExemplo(w, temp, "Locacao com gradiente.kzp", "hugo_site_2m_escoadouro.vet");
    if (!j) return;
    GravarSecao(w, *j, gravar, QStringLiteral("Canal"), QStringLiteral("locacao_gradiente_canal"));
    GravarSecao(w, *j, gravar, QStringLiteral("Terreno"), QStringLiteral("locacao_gradiente_terreno"));
    GravarSecao(w, *j, gravar, QStringLiteral("Plano de terraços"), QStringLiteral("locacao_gradiente_plano"));
    GravarSecao(w, *j, gravar, QStringLiteral("Solo"), QStringLiteral("locacao_gradiente_solo"));
    proximo(QStringLiteral("locacao_gradiente_relatorio"));
    j->btnProcessarClick();
    Esperar(300);
    gravar(w, QStringLiteral("locacao_gradiente_resultados"));
    // The graded plan with its waterways on the portrait sheet a field standing up gets.
    if (const TMapaPlano* mapa = j->Mapa()->Mapa()) {
        QLabel folha;
        folha.setWindowTitle(QStringLiteral("Mapa exportado (folha em pé)"));
        const QImage img = mapa->Folha(QSize(1654, 2339));
        folha.setPixmap(QPixmap::fromImage(img));
        folha.setFixedSize(img.size());
        gravar(folha, QStringLiteral("locacao_gradiente_mapa_folha"));
    }
    GravarPaginaImpressa(w, gravar, QStringLiteral("CONSTRUÇÃO DOS TERRAÇOS"),
                         QStringLiteral("locacao_gradiente_relatorio_construcao_impresso"));
    w.GerenteSis1().SetAlterado(false);
}

}  // namespace

void TelasLocacao(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar,
                  const std::function<void(const QString&)>& proximo) {
    // The level example with a machine whose output and price the user has entered (the
    // settings are a scratch file), so its hours and cost show; the graded one without.
    TConfigConstrucao& construcao = w.Modelo().Configuracao().Construcao;
    const TConfigConstrucao construcaoAntes = construcao;
    construcao.maquinas[1] = {"Motoniveladora", 40, 250, TUnidadeRendimento::Metros};
    construcao.maquina = 1;
    QTemporaryDir temp;
    TfrmLocacao* j = AbrirExemplo(w, temp, "Locacao em nivel.kzp", nullptr);
    if (!j) {
        construcao = construcaoAntes;
        return;
    }
    gravar(w, QStringLiteral("locacao_precipitacao"));
    GravarSecao(w, *j, gravar, QStringLiteral("Terreno"), QStringLiteral("locacao_terreno"));
    GravarSecao(w, *j, gravar, QStringLiteral("Plano de terraços"), QStringLiteral("locacao_plano"));
    bool fotografado = false;
    j->AoIniciarExecucao = [&](TJanelaProgresso& p) {
        QTimer::singleShot(0, &p, [&] {
            if (fotografado) return;
            fotografado = true;
            gravar(p, QStringLiteral("locacao_progresso"));
            proximo(QStringLiteral("locacao_relatorio"));
        });
    };
    j->btnProcessarClick();
    j->AoIniciarExecucao = nullptr;
    Esperar(300);
    gravar(w, QStringLiteral("locacao_resultados"));
    GravarMapa(w, *j, gravar);
    GravarPaginaImpressa(w, gravar, QStringLiteral("Cota"), QStringLiteral("locacao_relatorio_impresso"));
    GravarPaginaImpressa(w, gravar, QStringLiteral("CONSTRUÇÃO DOS TERRAÇOS"),
                         QStringLiteral("locacao_relatorio_construcao_impresso"));

    // The spacing-method dialogs and, from each selection criterion, its table of terrace
    // types or the arbitrary type; the service photographs each dialog and closes it.
    auto* metodo = j->findChild<QComboBox*>(QStringLiteral("cbMetodo"));
    const int metodoDoExemplo = metodo ? metodo->currentIndex() : -1;
    for (const auto& [i, nome] : {std::pair{0, "bentley"}, std::pair{1, "lombardi"}, std::pair{2, "parana"}}) {
        if (!metodo) break;
        metodo->setCurrentIndex(i);
        proximo(QStringLiteral("locacao_metodo_%1").arg(QLatin1String(nome)));
        j->btnDefinirClick();
    }
    if (metodo) metodo->setCurrentIndex(metodoDoExemplo);
    for (const auto& [i, nome] : {std::pair{0, "tipo_parana"}, std::pair{1, "tipo_rio"}, std::pair{2, "tipo_lombardi"},
                                  std::pair{3, "tipo_arbitrado"}}) {
        auto* criterio = j->findChild<QRadioButton*>(QStringLiteral("rbCriterio%1").arg(i));
        if (!criterio) continue;
        criterio->click();
        proximo(QString::fromLatin1(nome));
        j->btnConsultaTipoTerracoClick();
    }
    w.GerenteSis1().SetAlterado(false);
    construcao = construcaoAntes;
    TelasLocacaoGradiente(w, gravar, proximo);
}
