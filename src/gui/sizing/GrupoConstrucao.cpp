#include "gui/sizing/GrupoConstrucao.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/common/Numeros.h"
#include "core/sizing/ConstrucaoDimensionamento.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Formulario.h"

TGrupoConstrucao::TGrupoConstrucao(bool bacia, QWidget* pai) : QGroupBox(QStringLiteral("Construção"), pai), bacia_(bacia) {
    setObjectName(bacia ? "grpConstrucaoBacia" : "grpConstrucao");
    auto* g = new QGridLayout(this);
    cbMaquina_ = new QComboBox;
    cbMaquina_->setObjectName(QStringLiteral("cbMaquina"));
    cbMaquina_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbMaquina_->setMinimumContentsLength(20);
    auto* lbl = new QLabel(QStringLiteral("&Máquina:"));
    lbl->setBuddy(cbMaquina_);
    const int colunas = bacia ? 1 : 2;
    if (bacia) {
        // The basin's group stands in a narrow column: the machine's name gets a row of its own.
        g->addWidget(lbl, 0, 0, 1, colunas + 2);
        g->addWidget(cbMaquina_, 1, 0, 1, colunas + 2);
    } else {
        g->addWidget(lbl, 0, 0);
        g->addWidget(cbMaquina_, 0, 1, 1, colunas + 1);
    }
    if (!bacia) {
        g->addWidget(new QLabel(QStringLiteral("por 100 m")), 1, 1, Qt::AlignRight);
        g->addWidget(new QLabel(QStringLiteral("por hectare")), 1, 2, Qt::AlignRight);
    }
    const char* rotulos[3] = {bacia ? "Solo escavado (m³):" : "Solo movimentado (m³):", "Horas de máquina (h):",
                              "Custo (R$):"};
    const char* nomes[3][2] = {{"edtVolume100", "edtVolumeHa"}, {"edtHoras100", "edtHorasHa"},
                               {"edtCusto100", "edtCustoHa"}};
    for (int i = 0; i < 3; ++i) {
        g->addWidget(new QLabel(QString::fromUtf8(rotulos[i])), i + 2, 0);
        for (int j = 0; j < colunas; ++j) {
            campos_[i][j] = CampoResultado(nomes[i][j]);
            g->addWidget(campos_[i][j], i + 2, j + 1);
        }
    }
    nota_ = new QLabel;
    nota_->setObjectName(QStringLiteral("lblNotaConstrucao"));
    nota_->setWordWrap(true);
    nota_->setStyleSheet(QStringLiteral("color: #800000"));
    g->addWidget(nota_, 5, 0, 1, colunas + 2);
    g->setColumnStretch(colunas + 1, 1);
    connect(cbMaquina_, &QComboBox::activated, this, [this](int) { emit MaquinaEscolhida(cbMaquina_->currentText()); });
}

void TGrupoConstrucao::Mostrar(const TConstrucaoDimensionamento& c, const std::vector<TMaquina>& maquinas) {
    {
        const QSignalBlocker b(cbMaquina_);
        cbMaquina_->clear();
        for (const TMaquina& m : maquinas) cbMaquina_->addItem(Q(m.nome));
        cbMaquina_->setCurrentIndex(cbMaquina_->findText(Q(c.maquina)));
        cbMaquina_->setToolTip(Q(c.maquina));
    }
    auto horas = [](const TServicoMaquina& s) { return Q(CelulaConstrucao(s.horas, 2)); };
    auto custo = [](const TServicoMaquina& s) { return Q(CelulaConstrucao(s.horas < 0 ? -1 : s.custo, 2)); };
    QStringList notas;
    if (bacia_) {
        campos_[0][0]->setText(Q(CelulaConstrucao(c.volumeBacia, 1)));
        campos_[1][0]->setText(c.nota.empty() ? horas(c.servicoBacia) : Q(kSemValor));
        campos_[2][0]->setText(c.nota.empty() ? custo(c.servicoBacia) : Q(kSemValor));
        if (c.nota.empty() && !NotaConstrucao(c.servicoBacia).empty()) notas << Q(NotaConstrucao(c.servicoBacia));
    } else {
        campos_[0][0]->setText(Q(CelulaConstrucao(c.volume100, 1)));
        campos_[0][1]->setText(Q(CelulaConstrucao(c.volumeHa, 1)));
        campos_[1][0]->setText(horas(c.servico100));
        campos_[1][1]->setText(horas(c.servicoHa));
        campos_[2][0]->setText(custo(c.servico100));
        campos_[2][1]->setText(custo(c.servicoHa));
        if (!NotaConstrucao(c.servico100).empty()) notas << Q(NotaConstrucao(c.servico100));
    }
    for (const std::string& a : AvisosConstrucao(c)) notas << Q(a);
    nota_->setText(notas.join('\n'));
    nota_->setVisible(!notas.isEmpty());
}
