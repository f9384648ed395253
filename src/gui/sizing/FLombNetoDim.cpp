#include "gui/sizing/FLombNetoDim.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/SistemaConservacao.h"
#include "core/sizing/EntradaDimensionamento.h"
#include "gui/common/Ajuda.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Formulario.h"

TFLombNetoDim::TFLombNetoDim(QWidget* pai)
    : TFEspacamentoDim(pai, QStringLiteral("Método Lombardi Neto"), 38, 100, QStringLiteral("&Declividade:"),
                       QStringLiteral("Não é permitido valor 0 para a declividade do terreno.")) {
    setObjectName(QStringLiteral("FLombNetoDim"));
    // Crop.
    auto* gc = new QGroupBox(QStringLiteral("Uso do solo"));
    auto* lc = new QGridLayout(gc);
    cbCultura_ = new QComboBox;
    cbCultura_->setObjectName(QStringLiteral("cbCultura"));
    for (const auto& l : TCultura::Tabela()) cbCultura_->addItem(Q(l.nome));
    edtIndiceU_ = CampoLeitura("edtIndiceU", 70);
    auto* rc = new QLabel(QStringLiteral("Cu&ltura:"));
    rc->setBuddy(cbCultura_);
    lc->addWidget(rc, 0, 0);
    lc->addWidget(cbCultura_, 0, 1);
    lc->addWidget(new QLabel(QStringLiteral("Índice U:")), 0, 2);
    lc->addWidget(edtIndiceU_, 0, 3);
    lc->setColumnStretch(1, 1);
    corpo_->addWidget(gc);

    // Erosion resistance.
    auto* ge = new QGroupBox(QStringLiteral("Resistência à erosão"));
    auto* le = new QGridLayout(ge);
    cbGrupo_ = new QComboBox;
    cbGrupo_->setObjectName(QStringLiteral("cbGrupo"));
    for (const auto& l : TResistenciaErosao::Tabela()) cbGrupo_->addItem(Q(l.grupo));
    cbGrupo_->setCurrentIndex(-1);
    edtGruposSolo_ = CampoLeitura("edtGruposSolo");
    edtIndiceK_ = CampoLeitura("edtIndiceK", 70);
    auto* rg = new QLabel(QStringLiteral("&Grupo:"));
    rg->setBuddy(cbGrupo_);
    auto* ajudaGrupo = new QPushButton(QStringLiteral("Ajuda (&solos)"));
    ajudaGrupo->setObjectName(QStringLiteral("btnAjudaGrupo"));
    le->addWidget(rg, 0, 0);
    le->addWidget(cbGrupo_, 0, 1);
    le->addWidget(new QLabel(QStringLiteral("Índice K:")), 0, 2);
    le->addWidget(edtIndiceK_, 0, 3);
    le->addWidget(new QLabel(QStringLiteral("Grupos de solo:")), 1, 0);
    le->addWidget(edtGruposSolo_, 1, 1, 1, 3);
    le->addWidget(ajudaGrupo, 0, 4);
    le->setColumnStretch(1, 1);
    corpo_->addWidget(ge);
    connect(ajudaGrupo, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 43); });

    // Tillage.
    auto* gp = new QGroupBox(QStringLiteral("Preparo do solo e manejo de restos culturais"));
    auto* lp = new QGridLayout(gp);
    cbPreparo_ = new QComboBox;
    cbPreparo_->setObjectName(QStringLiteral("cbPreparo"));
    for (const auto& l : TPreparoDoSolo::Tabela()) cbPreparo_->addItem(Q(l.grupo));
    edtPrimario_ = CampoLeitura("edtPreparoPrimario");
    edtSecundario_ = CampoLeitura("edtPreparoSecundario");
    edtRestos_ = CampoLeitura("edtRestosCulturais");
    edtIndiceM_ = CampoLeitura("edtIndiceM", 70);
    auto* rp = new QLabel(QStringLiteral("G&rupo:"));
    rp->setBuddy(cbPreparo_);
    lp->addWidget(rp, 0, 0);
    lp->addWidget(cbPreparo_, 0, 1);
    lp->addWidget(new QLabel(QStringLiteral("Índice M:")), 0, 2);
    lp->addWidget(edtIndiceM_, 0, 3);
    lp->addWidget(new QLabel(QStringLiteral("Preparo primário:")), 1, 0);
    lp->addWidget(edtPrimario_, 1, 1, 1, 3);
    lp->addWidget(new QLabel(QStringLiteral("Preparo secundário:")), 2, 0);
    lp->addWidget(edtSecundario_, 2, 1, 1, 3);
    lp->addWidget(new QLabel(QStringLiteral("Restos culturais:")), 3, 0);
    lp->addWidget(edtRestos_, 3, 1, 1, 3);
    lp->setColumnStretch(1, 1);
    corpo_->addWidget(gp);
    MontarRodape();
    resize(560, 470);

    connect(cbCultura_, &QComboBox::activated, this, [this] {
        CulturaClick();
        Recalcular();
    });
    connect(cbGrupo_, &QComboBox::activated, this, [this] {
        GrupoClick();
        Recalcular();
    });
    connect(cbPreparo_, &QComboBox::activated, this, [this] {
        PreparoClick();
        Recalcular();
    });
}

void TFLombNetoDim::SetSistemas(TSistemaConservacao* nivel, TSistemaConservacao* gradiente) {
    nivelSis_ = nivel;
    gradienteSis_ = gradiente;
}

void TFLombNetoDim::SetUnidade(const std::string& unidade) {
    unidade_ = unidade;
    WarnSlopeLimit();
}

void TFLombNetoDim::EscolherCultura(int i) {
    cbCultura_->setCurrentIndex(i);
    emit cbCultura_->activated(i);
}
void TFLombNetoDim::EscolherGrupo(int i) {
    cbGrupo_->setCurrentIndex(i);
    emit cbGrupo_->activated(i);
}
void TFLombNetoDim::EscolherPreparo(int i) {
    cbPreparo_->setCurrentIndex(i);
    emit cbPreparo_->activated(i);
}

void TFLombNetoDim::WarnSlopeLimit() {
    const int grupo = cbGrupo_->currentIndex();
    if (grupo < 0) return;
    const int pct = Declividade();
    const std::string aviso = AvisoDeclividadeLombardi(grupo, pct / 100.0, unidade_);
    if (aviso.empty()) {
        avisadoDeclive_ = avisadoGrupo_ = -1;
        return;
    }
    if (pct == avisadoDeclive_ && grupo == avisadoGrupo_) return;
    avisadoDeclive_ = pct;
    avisadoGrupo_ = grupo;
    Dialogos().Informacao(this, Q(aviso));
}

void TFLombNetoDim::CulturaClick() {
    const int i = cbCultura_->currentIndex();
    if (i < 0) return;
    trabalho_.Cultura().SelectFromTable(i);
    edtIndiceU_->setText(Q(FloatToStr(trabalho_.Cultura().IndiceU())));
}

void TFLombNetoDim::GrupoClick() {
    WarnSlopeLimit();
    int i = cbGrupo_->currentIndex();
    if (i < 0) return;
    const std::string aviso = nivel_ ? RecusaGrupoLombardiEmNivel(i) : std::string();
    if (!aviso.empty()) {
        Dialogos().Informacao(this, Q(aviso));
        cbGrupo_->setCurrentIndex(0);
        i = 0;
    }
    trabalho_.ResistenciaErosao().SelectFromTable(i);
    const auto& l = TResistenciaErosao::Tabela()[i];
    edtGruposSolo_->setText(Q(l.solos));
    edtGruposSolo_->setCursorPosition(0);
    edtIndiceK_->setText(Q(FloatToStr(trabalho_.ResistenciaErosao().IndiceK())));
}

void TFLombNetoDim::PreparoClick() {
    const int i = cbPreparo_->currentIndex();
    if (i < 0) return;
    trabalho_.PreparoDoSolo().SelectFromTable(i);
    const TPreparoDoSolo& p = trabalho_.PreparoDoSolo();
    edtPrimario_->setText(Q(p.PreparoPrimario()));
    edtSecundario_->setText(Q(p.PreparoSecundario()));
    edtRestos_->setText(Q(p.Residuos()));
    for (QLineEdit* e : {edtPrimario_, edtSecundario_, edtRestos_}) e->setCursorPosition(0);
    edtIndiceM_->setText(Q(FormatFloat("0.00", p.IndiceM())));
}

void TFLombNetoDim::Recalcular() {
    if (!DecliveValido()) return;
    try {
        trabalho_.Metodologia().SetIndex(TMetodologiaEspacamento::LombardiNeto);
        trabalho_.ComputeSpacing(Declividade() / 100.0);
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        return;
    }
    MostrarResultado("0.0#", true);
    WarnSlopeLimit();
}

void TFLombNetoDim::Compartilhar() {
    if (nivelSis_) nivelSis_->Espacamento().Assign(trabalho_);
    if (gradienteSis_) gradienteSis_->Espacamento().Assign(trabalho_);
}

void TFLombNetoDim::Preparar() {
    auto indice = [](int i, int n) { return i >= 0 && i < n ? i : 0; };
    cbCultura_->setCurrentIndex(indice(trabalho_.Cultura().Indice(), cbCultura_->count()));
    cbGrupo_->setCurrentIndex(indice(trabalho_.ResistenciaErosao().Indice(), cbGrupo_->count()));
    cbPreparo_->setCurrentIndex(indice(trabalho_.PreparoDoSolo().Indice(), cbPreparo_->count()));
    CulturaClick();
    GrupoClick();
    PreparoClick();
    Recalcular();
    Compartilhar();
}

void TFLombNetoDim::AoAceitar() { Compartilhar(); }
