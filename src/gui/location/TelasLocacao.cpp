#include "location/TelasLocacao.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>

#include "common/TrabalhoComProgresso.h"
#include "location/FrmLocacao.h"
#include "shell/Principal.h"
#include "shell/Telas.h"

void TelasLocacao(TFPrincipal& w, const std::function<void(QWidget&, const QString&)>& gravar,
                  const std::function<void(const QString&)>& proximo) {
    if (!w.AbrirArquivo(w.PastaPrograma() + "Exemplos/Locacao em nivel.kzp")) return;
    w.Locacao();
    auto* j = dynamic_cast<TfrmLocacao*>(w.JanelaModulo(QStringLiteral("Locacao")));
    if (!j) return;
    Esperar(300);
    gravar(w, QStringLiteral("locacao_precipitacao"));
    j->AbrirSecao(QStringLiteral("Terreno"));
    Esperar(200);
    gravar(w, QStringLiteral("locacao_terreno"));
    // The run writes into a scratch folder: the shipped example stays as it is.
    QTemporaryDir temp;
    auto* saida = j->findChild<QLineEdit*>(QStringLiteral("edtVetorSaida"));
    saida->setText(temp.filePath(QStringLiteral("hugo_site_2m.vet")));
    bool fotografado = false;
    j->AoIniciarExecucao = [&](TJanelaProgresso& p) {
        QTimer::singleShot(120, &p, [&] {
            if (fotografado) return;
            fotografado = true;
            gravar(p, QStringLiteral("locacao_progresso"));
        });
    };
    proximo(QStringLiteral("locacao_relatorio"));
    j->btnProcessarClick();
    j->AoIniciarExecucao = nullptr;
    Esperar(300);
    gravar(w, QStringLiteral("locacao_resultados"));
    w.GerenteSis1().SetAlterado(false);
}
