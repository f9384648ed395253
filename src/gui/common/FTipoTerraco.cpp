#include "gui/common/FTipoTerraco.h"

#include <QShortcut>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"

TFTipoTerraco::TFTipoTerraco(QWidget* pai, const QString& titulo, int ajuda,
                             const std::vector<TLinhaTipoTerraco>& linhas, const QString& fonte)
    : QDialog(pai), ajuda_(ajuda) {
    setWindowTitle(titulo);
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
    tabela_->resizeRowsToContents();
    v->addWidget(tabela_, 1);
    auto* f = new QLabel(fonte);
    f->setObjectName(QStringLiteral("lblFonte"));
    f->setWordWrap(true);
    v->addWidget(f);
    auto* h = new QHBoxLayout;
    h->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("&Ok"));
    ok->setObjectName(QStringLiteral("btnOk"));
    auto* cancelar = new QPushButton(QStringLiteral("Ca&ncelar"));
    cancelar->setObjectName(QStringLiteral("btnCancelar"));
    auto* aj = new QPushButton(QStringLiteral("Aj&uda"));
    aj->setObjectName(QStringLiteral("btnAjuda"));
    h->addWidget(ok);
    h->addWidget(cancelar);
    h->addWidget(aj);
    v->addLayout(h);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(aj, &QPushButton::clicked, this, [this] { AbrirAjuda(this, ajuda_); });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, aj, &QPushButton::click);
    resize(560, 260);
}

TFTipoParana::TFTipoParana(QWidget* pai)
    : TFTipoTerraco(pai, QStringLiteral("Tipos de Terraços Recomendados por Paraná"), 46, TiposParana(),
                    QStringLiteral("Fonte: Paraná. Secretaria da Agricultura e do Abastecimento. "
                                   "Manual técnico do subprograma de manejo e conservação do solo. Curitiba, 1989.")) {
    setObjectName(QStringLiteral("FTipoParana"));
}

TFTipoRio::TFTipoRio(QWidget* pai)
    : TFTipoTerraco(pai, QStringLiteral("Tipos de Terraços Recomendados pela Emater/RS"), 57, TiposEmaterRS(),
                    QStringLiteral("Fonte: Emater/RS. Recomendações para terraceamento no Rio Grande do Sul.")) {
    setObjectName(QStringLiteral("FTipoRio"));
}

TFTipoLombardi::TFTipoLombardi(QWidget* pai)
    : TFTipoTerraco(pai, QStringLiteral("Tipos de Terraços Recomendados por Lombardi Neto"), 46, TiposLombardiNeto(),
                    QStringLiteral("Fonte: Lombardi Neto, F. et al. Terraceamento agrícola. Campinas: "
                                   "Coordenadoria de Assistência Técnica Integral, 1994.")) {
    setObjectName(QStringLiteral("FTipoLombardi"));
}
