#pragma once
// The report window of every report (sizing, rainfall, location): the core's HTML shown in
// the program's viewer, printed or exported through the viewer's one paging path on the
// program's printer. Pictures the text references are given to the document as resources,
// so nothing is written beside the program or into the working folder.
#include <QDialog>
#include <QImage>
#include <QMap>

class QPushButton;
class TModeloProjeto;
class TLocacaoNivel;
class TMapaPlano;
class TVisualizadorHtml;

class TFRelatorio : public QDialog {
    Q_OBJECT
public:
    // legenda: the window caption (LegendaJanelaRelatorio); html: the core's text.
    TFRelatorio(const QString& legenda, const QString& html, QWidget* pai = nullptr);

    // A picture under the name the text uses (<IMG SRC="Bit.bmp" ...>); pictures named by a
    // readable file path are found by themselves.
    void AdicionarImagem(const QString& nome, const QImage& imagem);

    TVisualizadorHtml* Visualizador() const { return visualizador_; }
    QString Texto() const { return texto_; }  // the text as the core made it
    bool Carregado() const { return carregado_; }
    QImage Imagem(const QString& nome) const { return imagens_.value(nome); }

    // The buttons.
    void Imprimir();
    void ConfigurarPagina();
    void ExportarPdf();
    void SalvarHtml();
    // The text with every picture embedded, as "Salvar HTML" writes it: it shows whole from
    // any folder.
    QString HtmlAutonomo() const;

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Hands the text to the viewer; once (the first activation does it by itself).
    void Carregar();

private:
    bool ConfirmarSubstituir(const QString& caminho);
    QString Caminho(const QString& titulo, const QString& extensao, const QString& filtro);

    QString texto_;
    bool carregado_ = false;
    QMap<QString, QImage> imagens_;
    QMap<QString, QByteArray> arquivos_;  // header pictures as read, for the saved HTML
    TVisualizadorHtml* visualizador_;
};

// Shows a report modally through the dialog service; 'imagens' by the names the text uses.
void MostrarRelatorio(QWidget* pai, const QString& legenda, const QString& html,
                      const QMap<QString, QImage>& imagens = {});

// The location report of a level-terrace run; a missing or damaged terrace table is reported
// in an error box and no window opens. Returns whether the window was shown.
// 'projeto' (the project file) resolves a saved plan's paths for its map and profiles; 'mapa',
// the window's map, draws the plan's page when it shows the same plan.
bool MostrarRelatorioLocacao(QWidget* pai, TModeloProjeto& m, const TLocacaoNivel& loc, const std::string& projeto = {},
                             const TMapaPlano* mapa = nullptr);
