#include "gui/location/FMetodosLoc.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/common/Numeros.h"
#include "core/model/SistemaConservacao.h"
#include "gui/common/Ajuda.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"
#include "gui/common/Formulario.h"

// ---- one list ----

TFEscolhaLoc::TFEscolhaLoc(QWidget* pai, const QString& titulo, const QString& caixa, const QStringList& opcoes,
                           int ajuda)
    : QDialog(pai) {
    setWindowTitle(titulo);
    auto* v = new QVBoxLayout(this);
    grupo_ = new QButtonGroup(this);
    v->addWidget(CaixaDeOpcoes(caixa, "rgEscolha", opcoes, grupo_, "rbOpcao"));
    RodapeOkCancelarAjuda(*this, v, [ajuda] { return ajuda; });
    SetEscolha(0);
}

int TFEscolhaLoc::Escolha() const { return grupo_->checkedId() >= 0 ? grupo_->checkedId() : 0; }

void TFEscolhaLoc::SetEscolha(int i) {
    if (QRadioButton* r = Opcao(i >= 0 && i < grupo_->buttons().size() ? i : 0)) r->setChecked(true);
}

QRadioButton* TFEscolhaLoc::Opcao(int i) const { return qobject_cast<QRadioButton*>(grupo_->button(i)); }

int TFEscolhaLoc::Executar() { return Dialogos().Executar(*this); }

// ---- soils ----

namespace {

struct TSolosLoc {
    const char* objeto;
    const char* titulo;
    const char* caixa;
    const char* solos[3];
    int ajuda;
    int padrao;  // the dialog's own choice, kept when the project's soil is of the other family
};

const TSolosLoc& SolosLoc(int familia) {
    static const TSolosLoc bentley{"FBentleyLoc", "Método Bentley", " Tipo de solo ",
                                   {"Solos &argilosos", "Solos de textura &média", "Solos de textura &grossa"}, 59, 1};
    static const TSolosLoc parana{"FParanaLoc", "Método Paraná", "Tipo de Solo",
                                  {"Terra &arenosa", "Terra a&rgilosa", "Terra ro&xa"}, 60, 0};
    return familia == TSolo::FamiliaParana ? parana : bentley;
}

QStringList Textos(const char* const (&t)[3]) {
    return {QString::fromUtf8(t[0]), QString::fromUtf8(t[1]), QString::fromUtf8(t[2])};
}

}  // namespace

TFSoloLoc::TFSoloLoc(int familia, QWidget* pai)
    : TFEscolhaLoc(pai, QString::fromUtf8(SolosLoc(familia).titulo), QString::fromUtf8(SolosLoc(familia).caixa),
                   Textos(SolosLoc(familia).solos), SolosLoc(familia).ajuda),
      familia_(familia == TSolo::FamiliaParana ? familia : TSolo::FamiliaBentley) {
    setObjectName(QString::fromLatin1(SolosLoc(familia).objeto));
    SetEscolha(SolosLoc(familia).padrao);
}

int TFSoloLoc::EditSpacing(TEspacamento& e) {
    // The soil index means a row of this method's table only when the family is its own;
    // otherwise the dialog's default stays.
    if (e.Solo().Familia() == familia_) SetEscolha(e.Solo().Index());
    const int r = Executar();
    if (r != QDialog::Accepted) return r;
    TEspacamento copia;
    copia.Assign(e);
    copia.Solo().SetFamilia(static_cast<std::uint8_t>(familia_));
    copia.Solo().SetIndex(Escolha());
    e.Assign(copia);
    return r;
}

TFTipoNenhum::TFTipoNenhum(QWidget* pai)
    : TFEscolhaLoc(pai, QStringLiteral("Tipo de Terraço Arbitrado"), QStringLiteral("Escolha um tipo de terraço "),
                   {QStringLiteral("Terraço de base estreita"), QStringLiteral("Terraço de base média"),
                    QStringLiteral("Terraço de base larga"), QStringLiteral("Terraço do tipo murundum"),
                    QStringLiteral("Terraço em patamar")},
                   117) {
    setObjectName(QStringLiteral("FTipoNenhum"));
}

// ---- Lombardi Neto ----

TFLombNetoLoc::TFLombNetoLoc(QWidget* pai) : QDialog(pai) {
    setObjectName(QStringLiteral("FLombNetoLoc"));
    setWindowTitle(QStringLiteral("Método Lombardi Neto"));
    auto* v = new QVBoxLayout(this);
    auto caixa = [&](const QString& titulo) {
        auto* gb = new QGroupBox(titulo);
        auto* g = new QGridLayout(gb);
        g->setColumnStretch(0, 1);
        v->addWidget(gb);
        return g;
    };
    auto lista = [](const char* nome) {
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(nome));
        c->setMinimumWidth(300);
        return c;
    };

    QGridLayout* g = caixa(QStringLiteral(" Cultura "));
    cbCultura_ = lista("cbCultura");
    for (const auto& l : TCultura::Tabela()) cbCultura_->addItem(Q(l.nome));
    edtIndiceU_ = CampoLeitura("edtIndiceU", 70);
    g->addWidget(cbCultura_, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Índice U :")), 0, 1);
    g->addWidget(edtIndiceU_, 0, 2);

    g = caixa(QStringLiteral(" Resistência à erosão "));
    cbGrupo_ = lista("cbGrupo");
    for (const auto& l : TResistenciaErosao::Tabela()) cbGrupo_->addItem(Q(l.grupo));
    edtIndiceK_ = CampoLeitura("edtIndiceK", 70);
    edtGruposSolo_ = CampoLeitura("edtGruposSolo");
    auto* ajudaGrupo = new QPushButton(QStringLiteral("A&juda"));
    ajudaGrupo->setObjectName(QStringLiteral("btnAjudaGrupo"));
    g->addWidget(cbGrupo_, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Índice K :")), 0, 1);
    g->addWidget(edtIndiceK_, 0, 2);
    g->addWidget(edtGruposSolo_, 1, 0);
    g->addWidget(ajudaGrupo, 1, 1, 1, 2);
    connect(ajudaGrupo, &QPushButton::clicked, this, [this] { AbrirAjuda(this, 43); });

    g = caixa(QStringLiteral(" Preparo do solo "));
    cbPreparo_ = lista("cbPreparo");
    for (const auto& l : TPreparoDoSolo::Tabela()) cbPreparo_->addItem(Q(l.grupo));
    edtIndiceM_ = CampoLeitura("edtIndiceM", 70);
    edtPreparos_ = CampoLeitura("edtPreparos");
    g->addWidget(cbPreparo_, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Índice M :")), 0, 1);
    g->addWidget(edtIndiceM_, 0, 2);
    g->addWidget(edtPreparos_, 1, 0, 1, 3);
    RodapeOkCancelarAjuda(*this, v, [] { return 61; });

    connect(cbCultura_, &QComboBox::activated, this, &TFLombNetoLoc::EscolherCultura);
    connect(cbGrupo_, &QComboBox::activated, this, &TFLombNetoLoc::EscolherGrupo);
    connect(cbPreparo_, &QComboBox::activated, this, &TFLombNetoLoc::EscolherPreparo);
}

void TFLombNetoLoc::EscolherCultura(int i) {
    if (i < 0 || i >= cbCultura_->count()) return;
    trabalho_.Cultura().SelectFromTable(i);
    Mostrar();
}

void TFLombNetoLoc::EscolherGrupo(int i) {
    if (i < 0 || i >= cbGrupo_->count()) return;
    trabalho_.ResistenciaErosao().SelectFromTable(i);
    Mostrar();
}

void TFLombNetoLoc::EscolherPreparo(int i) {
    if (i < 0 || i >= cbPreparo_->count()) return;
    trabalho_.PreparoDoSolo().SelectFromTable(i);
    Mostrar();
}

void TFLombNetoLoc::Mostrar() {
    const auto valido = [](int i, int n) { return i >= 0 && i < n ? i : -1; };
    const int c = valido(trabalho_.Cultura().Indice(), cbCultura_->count());
    const int g = valido(trabalho_.ResistenciaErosao().Indice(), cbGrupo_->count());
    const int p = valido(trabalho_.PreparoDoSolo().Indice(), cbPreparo_->count());
    cbCultura_->setCurrentIndex(c);
    cbGrupo_->setCurrentIndex(g);
    cbPreparo_->setCurrentIndex(p);
    edtIndiceU_->setText(c >= 0 ? Q(FloatToStr(trabalho_.Cultura().IndiceU())) : QString());
    edtIndiceK_->setText(g >= 0 ? Q(FloatToStr(trabalho_.ResistenciaErosao().IndiceK())) : QString());
    edtGruposSolo_->setText(g >= 0 ? Q(TResistenciaErosao::Tabela()[size_t(g)].solos) : QString());
    const TPreparoDoSolo& pr = trabalho_.PreparoDoSolo();
    edtIndiceM_->setText(p >= 0 ? Q(FormatFloat("0.00", pr.IndiceM())) : QString());
    edtPreparos_->setText(p >= 0 ? Q(pr.PreparoPrimario() + "; " + pr.PreparoSecundario() + "; " + pr.Residuos())
                                 : QString());
    for (QLineEdit* e : {edtGruposSolo_, edtPreparos_}) e->setCursorPosition(0);
}

int TFLombNetoLoc::EditSpacing(TEspacamento& e) {
    trabalho_.Assign(e);
    // A project without choices yet starts on the first row of each table.
    if (trabalho_.Cultura().Indice() < 0 || trabalho_.Cultura().Indice() >= cbCultura_->count())
        trabalho_.Cultura().SelectFromTable(0);
    if (trabalho_.ResistenciaErosao().Indice() < 0 || trabalho_.ResistenciaErosao().Indice() >= cbGrupo_->count())
        trabalho_.ResistenciaErosao().SelectFromTable(0);
    if (trabalho_.PreparoDoSolo().Indice() < 0 || trabalho_.PreparoDoSolo().Indice() >= cbPreparo_->count())
        trabalho_.PreparoDoSolo().SelectFromTable(0);
    Mostrar();
    const int r = Dialogos().Executar(*this);
    if (r == QDialog::Accepted) e.Assign(trabalho_);
    return r;
}
