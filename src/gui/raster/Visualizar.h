#pragma once
// The raster viewer: one grid through a palette, with its legend, zoom steps, the read-out of
// the cell under the mouse, lines of a vector file over it, editing of single cells and
// saving as raster or picture. Typed cell values stay in memory until the image is saved.
#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

#include "core/raster/EdicaoCelulas.h"
#include "core/raster/Imagem.h"
#include "core/raster/Paleta.h"

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QStatusBar;
class TImagem;
class TImagemRaster;
class TLegendaRaster;
class TVET;

// Closes every viewer, each asking about its unsaved edits; false when one stays open
// (its question was cancelled or its save failed).
bool FecharVisualizadores();

// The built-in palettes, in the order their numbers count.
extern const char* const kPaletasPadrao[5];

class TFVisualizar : public QWidget {
    Q_OBJECT
public:
    // 'pastaPaletas': folder of the built-in palettes ('/'-terminated). 'modoArmazenamento':
    // where the images' cells are kept. 'barra' (may be null) follows long passes.
    TFVisualizar(const QString& pastaPaletas, TModoArmazenamento modoArmazenamento, QProgressBar* barra = nullptr,
                 QWidget* pai = nullptr);
    ~TFVisualizar() override;

    // Opening: a missing raster raises "Erro. A imagem " + file + " não existe.", a missing
    // palette "Erro. O arquivo de paleta " + palette + " não existe."; nothing changes then.
    virtual void Abrir(const QString& raster, const QString& paleta);  // current zoom
    virtual void Abrir(const QString& raster, const QString& paleta, int zoom);
    virtual void Abrir(const QString& raster, int paleta);  // built-in palette number
    virtual void Abrir(const QString& raster, int paleta, int zoom);

    // The menu commands.
    void ZoomMais();
    void ZoomMenos();
    void Propriedades();
    void PropriedadesVetor();
    void Paleta();
    void Imprimir();
    void AlterarAtributo();  // toggles editing
    void SalvarFigura();
    bool SalvarRaster();
    bool SalvarRasterComo();
    bool SobreporVetor(const QString& arquivo = {});  // empty: asks for the file
    void RemoverVetor();
    void AlternarLegenda();

    // Editing: the cell picked, the value typed for it, another pick.
    void SelecionarCelula(int coluna, int linha);
    bool AplicarAtributo();
    void SelecionarOutroPonto();

    // Takes a palette (the palette dialog's choice) and draws the image again.
    void TrocarPaleta(const QString& arquivoPaleta);

    const TImagem& Imagem() const { return *imagem_; }
    const QString& Arquivo() const { return arquivo_; }
    const QString& ArquivoPaleta() const { return arquivoPaleta_; }
    const QString& ArquivoVetor() const { return arquivoVetor_; }
    const TVET* Vetor() const { return vetor_.get(); }
    const TPaleta& PaletaAtual() const { return paleta_; }
    const TFaixaCores& Faixa() const { return faixa_; }
    const TEdicoesCelulas& Edicoes() const { return edicoes_; }
    bool Modificado() const { return modificado_; }
    bool Editando() const { return editando_; }
    int Zoom() const;
    TModoArmazenamento ModoArmazenamento() const { return modo_; }
    TImagemRaster* Vista() const { return vista_; }
    QStatusBar* Barra() const { return status_; }
    // Size that shows the whole image with the legend and the bars.
    QSize TamanhoIdeal() const;

    // The read-out for a widget pixel of the image (what a mouse move there shows).
    void Ler(bool dentro, int coluna, int linha);

    // Every viewer open, oldest first.
    static QList<TFVisualizar*> Abertos();

signals:
    // The read-out hint ("Coluna: ...; Linha: ...; value"), for the main window's status bar.
    void Leitura(const QString& dica);
    void Renomeado(TFVisualizar* v);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void CriarMenu();
    void Renderizar();
    void AtualizarZoom();
    bool Gravar(const QString& nome);
    void DefinirModificado(bool m);
    QString TextoValor(int coluna, int linha) const;

    QString pastaPaletas_;
    TModoArmazenamento modo_ = TModoArmazenamento::Memoria;
    QProgressBar* barraProgresso_ = nullptr;
    std::unique_ptr<TImagem> imagem_;
    QString arquivo_, arquivoPaleta_, arquivoVetor_;
    std::unique_ptr<TVET> vetor_;
    TPaleta paleta_;
    TFaixaCores faixa_;
    TEdicoesCelulas edicoes_;
    bool modificado_ = false;
    bool editando_ = false;
    bool celulaEscolhida_ = false;
    int colEdit_ = 0, linEdit_ = 0;

    TImagemRaster* vista_ = nullptr;
    QScrollArea* rolagem_ = nullptr;
    TLegendaRaster* legenda_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel *lblColuna_, *lblLinha_, *lblX_, *lblY_, *lblValor_;
    QWidget* pnlAtributo_ = nullptr;
    QLineEdit* edtAtributo_ = nullptr;
    QPushButton *btnAlterar_ = nullptr, *btnOutro_ = nullptr;
    QAction *actZoomMais_, *actZoomMenos_, *actPropriedades_, *actPropVetor_, *actPaleta_, *actImprimir_,
        *actAtributo_, *actSalvarFigura_, *actSalvar_, *actSalvarComo_, *actSobrepor_, *actRemover_, *actLegenda_;
};

// The colour strip of the legend (25 x 105, maximum at the top) and its three labels.
class TLegendaRaster : public QWidget {
    Q_OBJECT
public:
    explicit TLegendaRaster(QWidget* pai = nullptr);
    void Definir(const TPaleta& paleta, const TFaixaCores& faixa);
    QLabel* RotuloMax() const { return max_; }
    QLabel* RotuloMedia() const { return media_; }
    QLabel* RotuloMin() const { return min_; }
    const QImage& Faixa() const { return faixa_; }

private:
    QLabel *max_, *media_, *min_, *strip_;
    QImage faixa_;
};
