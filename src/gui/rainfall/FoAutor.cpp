#include "gui/rainfall/FoAutor.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/Dialogos.h"

TfrmFoAutor::TfrmFoAutor(const std::string& citacao, const TReferencia& ref, QWidget* pai) : QDialog(pai) {
    setObjectName("frmFoAutor");
    setWindowTitle("Autor");
    auto* l = new QVBoxLayout(this);
    auto linha = [&](const char* nome, const QString& texto, bool negrito) {
        auto* r = new QLabel(texto);
        r->setObjectName(nome);
        r->setWordWrap(true);
        r->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (negrito) r->setStyleSheet("font-weight: bold");
        l->addWidget(r);
    };
    linha("lblCitacao", Q(citacao), true);
    linha("lblAutores", Q(ref.Autores), false);
    linha("lblTitulo", Q(ref.Titulo), false);
    linha("lblPublicacao", Q(ref.Publicacao), false);
    auto* ok = new QPushButton("&OK");
    ok->setObjectName("btnOK");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    l->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(420);
    setMaximumWidth(600);
}
