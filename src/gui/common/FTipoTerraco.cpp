#include "gui/common/FTipoTerraco.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"

namespace {

struct TTabelaTipos {
    const char* objeto;
    const char* titulo;
    int ajuda;
    const std::vector<TLinhaTipoTerraco>& (*linhas)();
    const char* fonte;
};

const TTabelaTipos& TabelaDaFonte(TFTipoTerraco::TFonte f) {
    static const TTabelaTipos t[] = {
        {"FTipoParana", "Tipos de Terraços Recomendados por Paraná", 46, TiposParana,
         "Fonte: Paraná. Secretaria da Agricultura e do Abastecimento. "
         "Manual técnico do subprograma de manejo e conservação do solo. Curitiba, 1989."},
        {"FTipoRio", "Tipos de Terraços Recomendados pela Emater/RS", 57, TiposEmaterRS,
         "Fonte: Emater/RS. Recomendações para terraceamento no Rio Grande do Sul."},
        {"FTipoLombardi", "Tipos de Terraços Recomendados por Lombardi Neto", 46, TiposLombardiNeto,
         "Fonte: Lombardi Neto, F. et al. Terraceamento agrícola. Campinas: "
         "Coordenadoria de Assistência Técnica Integral, 1994."},
    };
    return t[f];
}

}  // namespace

TFTipoTerraco::TFTipoTerraco(TFonte fonte, QWidget* pai) : QDialog(pai), ajuda_(TabelaDaFonte(fonte).ajuda) {
    const TTabelaTipos& t = TabelaDaFonte(fonte);
    const std::vector<TLinhaTipoTerraco>& linhas = t.linhas();
    setObjectName(QString::fromLatin1(t.objeto));
    setWindowTitle(QString::fromUtf8(t.titulo));
    auto* v = new QVBoxLayout(this);
    tabela_ = new QTableWidget(static_cast<int>(linhas.size()), 2);
    tabela_->setObjectName(QStringLiteral("tabTipos"));
    tabela_->setHorizontalHeaderLabels({QStringLiteral("Declividade (%)"), QStringLiteral("Tipos de terraços recomendados")});
    tabela_->verticalHeader()->hide();
    tabela_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela_->setSelectionMode(QAbstractItemView::NoSelection);
    tabela_->setWordWrap(true);
    for (int r = 0; r < static_cast<int>(linhas.size()); ++r) {
        auto* d = new QTableWidgetItem(Q(linhas[r].Declividade));
        d->setTextAlignment(Qt::AlignCenter);
        tabela_->setItem(r, 0, d);
        tabela_->setItem(r, 1, new QTableWidgetItem(Q(linhas[r].Tipos)));
    }
    tabela_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tabela_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // Long recommendations wrap to the width the column ends up with.
    connect(tabela_->horizontalHeader(), &QHeaderView::sectionResized, tabela_, &QTableWidget::resizeRowsToContents);
    v->addWidget(tabela_, 1);
    auto* f = new QLabel(QString::fromUtf8(t.fonte));
    f->setObjectName(QStringLiteral("lblFonte"));
    f->setWordWrap(true);
    v->addWidget(f);
    RodapeOkCancelarAjuda(*this, v, [this] { return ajuda_; }, QStringLiteral("Ca&ncelar"));
    resize(560, 260);
}
