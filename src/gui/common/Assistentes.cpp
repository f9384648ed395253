#include "gui/common/Assistentes.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/common/Erros.h"
#include "core/common/Numeros.h"
#include "core/model/NumeroDaCurva.h"
#include "core/project/Configuracao.h"
#include "core/sizing/TabelasAssistentes.h"
#include "gui/common/BotoesDialogo.h"
#include "gui/common/Dialogos.h"
#include "gui/common/EditNumero.h"

namespace {

QLabel* Cabecalho(const QString& t) {
    auto* l = new QLabel("<b>" + t + "</b>");
    return l;
}

QLabel* Celula(const QString& t, Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(t);
    l->setAlignment(a);
    return l;
}

}  // namespace

TFTabelaAssistente::TFTabelaAssistente(QWidget* pai, const QString& titulo, const QString& rotuloCampo,
                                       const QString& mensagemVazio)
    : QDialog(pai), mensagemVazio_(mensagemVazio) {
    setWindowTitle(titulo);
    // A short table (Z) would otherwise cut its long caption.
    QFont negrito = font();
    negrito.setBold(true);
    setMinimumWidth(QFontMetrics(negrito).horizontalAdvance(titulo) + 24);
    auto* v = new QVBoxLayout(this);
    grade_ = new QGridLayout;
    grade_->setHorizontalSpacing(14);
    v->addLayout(grade_);
    grupo_ = new QButtonGroup(this);
    auto* h = new QHBoxLayout;
    auto* rotulo = new QLabel(rotuloCampo);
    edtValor_ = new TEditNumero;
    edtValor_->setObjectName(QStringLiteral("edtValor"));
    edtValor_->setMaximumWidth(140);
    rotulo->setBuddy(edtValor_);
    h->addWidget(rotulo);
    h->addWidget(edtValor_);
    h->addStretch(1);
    v->addLayout(h);
    connect(edtValor_, &QLineEdit::textEdited, this, [this] {
        Digitado();
        AtualizarOk();
    });
    // The footer (source line and buttons) is added by Terminar once the table is built.
}

void TFTabelaAssistente::Terminar(const QString& fonte) {
    auto* v = static_cast<QVBoxLayout*>(layout());
    auto* f = new QLabel(fonte);
    f->setObjectName(QStringLiteral("lblFonte"));
    f->setWordWrap(true);
    f->setStyleSheet(QStringLiteral("color: #404040; font-size: 9pt"));
    v->addWidget(f);
    const TRodapeDialogo r = RodapeOkCancelarAjuda(*this, v, [this] { return helpContext_; },
                                                   QStringLiteral("Ca&ncelar"), [this] { Ok(); });
    btnOk_ = r.ok;
    // Runs after the rejection, before the dialog's run returns.
    connect(r.cancelar, &QPushButton::clicked, this, &TFTabelaAssistente::Desmarcar);
    AtualizarOk();
}

QRadioButton* TFTabelaAssistente::NovaOpcao(const QString& texto, const QString& valor) {
    auto* r = new QRadioButton(texto);
    const int linha = static_cast<int>(opcoes_.size()) + 1;
    r->setObjectName(QStringLiteral("rbOpcao%1").arg(linha));
    grupo_->addButton(r, linha);
    opcoes_.push_back(r);
    valores_.push_back(valor);
    connect(r, &QRadioButton::clicked, this, [this, linha] { ClicarOpcao(linha); });
    return r;
}

QString TFTabelaAssistente::TextoDaLinha(int linha) const {
    return linha >= 1 && linha <= static_cast<int>(valores_.size()) ? valores_[linha - 1] : QString();
}

QRadioButton* TFTabelaAssistente::Opcao(int linha) const {
    return linha >= 1 && linha <= static_cast<int>(opcoes_.size()) ? opcoes_[linha - 1] : nullptr;
}

void TFTabelaAssistente::Desmarcar() {
    grupo_->setExclusive(false);
    for (QRadioButton* r : opcoes_) r->setChecked(false);
    grupo_->setExclusive(true);
}

void TFTabelaAssistente::ClicarOpcao(int linha) {
    if (QRadioButton* r = Opcao(linha)) r->setChecked(true);
    linhaAtual_ = linha;
    const QString t = TextoDaLinha(linha);
    if (t.isNull())
        edtValor_->setFocus();
    else
        edtValor_->setText(t);
    AtualizarOk();
}

void TFTabelaAssistente::SetDados(int helpContext, int indice, double valor) {
    helpContext_ = helpContext;
    indice_ = indice;
    valor_ = valor;
    linhaAtual_ = indice;
    Desmarcar();
    if (QRadioButton* r = Opcao(indice)) {
        r->setChecked(true);
        const QString t = TextoDaLinha(indice);
        if (!t.isNull()) edtValor_->setText(t);
    }
    if (valor != 0) edtValor_->setText(Q(FloatToStr(valor)));
    AoMostrar();
    AtualizarOk();
}

void TFTabelaAssistente::AtualizarOk() {
    if (btnOk_) btnOk_->setEnabled(!edtValor_->text().trimmed().isEmpty() && OkPermitido());
}

void TFTabelaAssistente::Ok() {
    const QString t = edtValor_->text().trimmed();
    if (t.isEmpty()) {
        Dialogos().Erro(this, mensagemVazio_);
        edtValor_->setFocus();
        return;
    }
    if (!ConfirmarOk()) return;
    double v = 0;
    try {
        v = StrToFloat(S(t));
    } catch (const EVandoro& e) {
        Dialogos().Erro(this, Q(e.what()));
        edtValor_->setFocus();
        return;
    }
    indice_ = linhaAtual_;
    valor_ = v;
    Desmarcar();
    accept();
}


// ---- channel roughness ----

TFRugCan::TFRugCan(QWidget* pai)
    : TFTabelaAssistente(pai, QStringLiteral("Consulta a valores de rugosidade do canal"),
                         QStringLiteral("&Valor da rugosidade:"), QStringLiteral("Valor de rugosidade inconsistente.")) {
    setObjectName(QStringLiteral("FRugCan"));
    grade_->addWidget(Cabecalho(QStringLiteral("Tipo de canal")), 0, 0, 1, 2);
    grade_->addWidget(Cabecalho(QStringLiteral("Mínimo")), 0, 2);
    grade_->addWidget(Cabecalho(QStringLiteral("Normal")), 0, 3);
    grade_->addWidget(Cabecalho(QStringLiteral("Máximo")), 0, 4);
    int r = 1;
    for (const TLinhaRugCan& l : TabelaRugCan()) {
        if (*l.Grupo) grade_->addWidget(Cabecalho(Q(l.Grupo)), r++, 0, 1, 5);
        grade_->addWidget(NovaOpcao(Q(l.Opcao), Q(FloatToStr(l.Normal))), r, 1);
        grade_->addWidget(Celula(Q(FormatFloat("0.000", l.Minimo)), Qt::AlignRight), r, 2);
        grade_->addWidget(Celula(Q(FormatFloat("0.000", l.Normal)), Qt::AlignRight), r, 3);
        grade_->addWidget(Celula(Q(FormatFloat("0.000", l.Maximo)), Qt::AlignRight), r, 4);
        ++r;
    }
    grade_->setColumnMinimumWidth(0, 12);
    Terminar(QStringLiteral("Fonte: Chow, V. T. Open-channel hydraulics. New York: McGraw-Hill, 1959."));
}

void TFRugCan::Digitado() {
    Desmarcar();
    linhaAtual_ = 0;
}

// ---- terrain roughness ----

TFRugTer::TFRugTer(QWidget* pai)
    : TFTabelaAssistente(pai, QStringLiteral("Consulta a valores de rugosidade do terreno"),
                         QStringLiteral("&Valor da rugosidade:"), QStringLiteral("Valor de rugosidade inconsistente.")) {
    setObjectName(QStringLiteral("FRugTer"));
    grade_->addWidget(Cabecalho(QStringLiteral("Cobertura")), 0, 0);
    grade_->addWidget(Cabecalho(QStringLiteral("Preparo")), 0, 1);
    grade_->addWidget(Cabecalho(QStringLiteral("Superfície")), 0, 2);
    grade_->addWidget(Cabecalho(QStringLiteral("Intervalo")), 0, 3);
    grade_->addWidget(Cabecalho(QStringLiteral("Valor")), 0, 4);
    grade_->setVerticalSpacing(1);
    int r = 1;
    for (const TLinhaRugTer& l : TabelaRugTer()) {
        if (*l.Cobertura) grade_->addWidget(Celula("<i>" + Q(l.Cobertura) + "</i>"), r, 0);
        if (*l.Pratica) grade_->addWidget(Celula(Q(l.Pratica)), r, 1);
        grade_->addWidget(NovaOpcao(Q(l.Opcao), Q(FloatToStr(l.Valor))), r, 2);
        grade_->addWidget(Celula(QString::fromLatin1(l.Intervalo).replace('.', Q(std::string(1, Regional::Current().DecimalSeparator))),
                                 Qt::AlignCenter),
                          r, 3);
        grade_->addWidget(Celula(Q(FormatFloat("0.000", l.Valor)), Qt::AlignRight), r, 4);
        ++r;
    }
    Terminar(QStringLiteral("Fonte: Engman, E. T. Roughness coefficients for routing surface runoff. "
                            "Journal of Irrigation and Drainage Engineering, v. 112, n. 1, 1986."));
}

// ---- upstream wall slope ----

TFSm::TFSm(QWidget* pai, const std::string& unidade, int fator)
    : TFTabelaAssistente(pai, QStringLiteral("Valores de Sm para seções transversais típicas construídas pela CODASP"),
                         QStringLiteral("&Valor de Sm :"), QStringLiteral("Valor de Sm inconsistente.")),
      unidade_(unidade),
      fator_(fator) {
    setObjectName(QStringLiteral("FSm"));
    grade_->addWidget(Cabecalho(QStringLiteral("Tipo de terraço e forma de construção")), 0, 0);
    grade_->addWidget(Cabecalho(QStringLiteral("Valor de Sm")), 0, 1);
    grade_->setVerticalSpacing(2);
    int r = 1;
    for (const TLinhaSm& l : TabelaSm()) {
        auto* caixa = new QWidget;
        auto* cv = new QVBoxLayout(caixa);
        cv->setContentsMargins(0, 0, 0, 0);
        cv->setSpacing(0);
        cv->addWidget(NovaOpcao(Q(l.Opcao), Q(TextoSm(r, unidade_, fator_))));
        auto* segunda = new QLabel(Q(l.Linha2));
        segunda->setTextFormat(Qt::PlainText);
        segunda->setContentsMargins(22, 0, 0, 0);
        cv->addWidget(segunda);
        grade_->addWidget(caixa, r, 0);
        grade_->addWidget(Celula(Q(TextoSm(r, unidade_, fator_)), Qt::AlignRight | Qt::AlignVCenter), r, 1);
        ++r;
    }
    Terminar(QStringLiteral("Fonte: CODASP - Companhia de Desenvolvimento Agrícola de São Paulo. "
                            "Medições em terraços construídos (unidade: ") +
             Q(unidade_) + ").");
}

void TFSm::Digitado() {
    if (linhaAtual_ == kLinhaFaixaSm) return;
    linhaAtual_ = -1;
    Desmarcar();
}

bool TFSm::OkPermitido() const { return edtValor_->text() != Q(TextoSm(kLinhaFaixaSm, unidade_, fator_)); }

bool TFSm::ConfirmarOk() {
    // The range row is judged by its text's length: the unreplaced range is longer than 5.
    if (linhaAtual_ == kLinhaFaixaSm && edtValor_->text().size() > 5) {
        Dialogos().Aviso(this, Q(MensagemFaixaSm(fator_)));
        edtValor_->setFocus();
        return false;
    }
    return true;
}

// ---- side slope ----

TFZ::TFZ(QWidget* pai)
    : TFTabelaAssistente(pai, QStringLiteral("Declividades recomendadas para taludes de canais não revestidos"),
                         QStringLiteral("Valor de &Z :"), QStringLiteral("Valor do parâmetro Z inconsistente.")) {
    setObjectName(QStringLiteral("FZ"));
    grade_->addWidget(Cabecalho(QStringLiteral("Material")), 0, 0);
    grade_->addWidget(Cabecalho(QStringLiteral("Valores de Z")), 0, 1, Qt::AlignRight);
    int r = 1;
    for (const TLinhaZ& l : TabelaZ()) {
        // "Outros": the user types the value; the click only moves the focus.
        grade_->addWidget(NovaOpcao(Q(l.Opcao), r < kLinhaOutrosZ ? Q(TextoZ(r)) : QString()), r, 0);
        grade_->addWidget(Celula(Q(TextoZ(r)), Qt::AlignRight | Qt::AlignVCenter), r, 1);
        ++r;
    }
    Terminar(QStringLiteral("Fonte: Chow, V. T. Open-channel hydraulics. New York: McGraw-Hill, 1959."));
}

void TFZ::Digitado() {
    if (QRadioButton* r = Opcao(kLinhaOutrosZ)) r->setChecked(true);
    linhaAtual_ = kLinhaOutrosZ;
}

bool TFZ::OkPermitido() const { return edtValor_->text().trimmed() != QString::fromLatin1(kTextoOutrosZ); }

void TFZ::AoMostrar() {
    if (indice_ == kLinhaOutrosZ) edtValor_->setFocus();
}

// ---- components ----

bool TAssistente::Rodar(TFTabelaAssistente& d) {
    d.SetDados(HelpContext, Indice, Valor);
    if (Dialogos().Executar(d) != QDialog::Accepted) return false;
    Indice = d.Indice();
    Valor = d.Valor();
    return true;
}

bool TRugCan::Execute(QWidget* pai) {
    TFRugCan d(pai);
    return Rodar(d);
}

bool TRugTer::Execute(QWidget* pai) {
    TFRugTer d(pai);
    return Rodar(d);
}

bool TSm::Execute(QWidget* pai) {
    const std::string erro = ErroUnidadeSm(UDeclive, KDeclive);
    if (!erro.empty()) throw EVandoro(erro);
    TFSm d(pai, UDeclive, KDeclive);
    return Rodar(d);
}

bool TZ::Execute(QWidget* pai) {
    TFZ d(pai);
    return Rodar(d);
}

bool EscolherSm(QWidget* pai, TSm& a, const TConfiguracao& cfg, TReal& sm) {
    a.UDeclive = cfg.UDecli;
    a.KDeclive = cfg.KDecli;
    a.Valor = cfg.KDecli * sm.Value();
    a.Indice = sm.Index();
    try {
        if (!a.Execute(pai)) return false;
    } catch (const EVandoro& e) {
        Dialogos().Erro(pai, Q(e.what()));
        return false;
    }
    sm = TReal(a.Valor / cfg.KDecli, static_cast<std::int8_t>(a.Indice));
    return true;
}

void TAssistentesProprios::Completar(TAssistentes& a) {
    if (!a.RugCan1) a.RugCan1 = (rugCan_ = std::make_unique<TRugCan>()).get();
    if (!a.RugTer1) a.RugTer1 = (rugTer_ = std::make_unique<TRugTer>()).get();
    if (!a.Sm1) a.Sm1 = (sm_ = std::make_unique<TSm>()).get();
    if (!a.Z1) a.Z1 = (z_ = std::make_unique<TZ>()).get();
}
