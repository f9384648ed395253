#pragma once
// "Abrir imagem": the raster, its palette, the zoom and an optional vector file of a new
// viewer; in palette mode only the palette of an open viewer.
#include <QDialog>
#include <QString>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QMdiArea;
class QProgressBar;
class QPushButton;
class QStatusBar;
class TFVisualizar;

class TFAbrirArq : public QDialog {
    Q_OBJECT
public:
    // 'pastaPaletas': the built-in palettes' folder; 'pastaInicial': where the raster
    // choice starts.
    TFAbrirArq(const QString& pastaPaletas, const QString& pastaInicial, QWidget* pai = nullptr);

    // Only the palette can change: raster fixed, zoom off, no vector group.
    void ModoPaleta(const QString& raster, const QString& paletaAtual);

    QString Imagem() const;
    int Zoom() const;       // percent
    QString Paleta() const; // full name of the chosen palette file
    QString Vetor() const;  // empty when none
    QComboBox* ComboPaletas() const { return cbPaleta_; }

    void EscolherImagem();
    void EscolherVetor();
    // "Carregar pale&ta": a palette file of the user's joins the list (a damaged one is refused).
    void CarregarPaleta();
    // Selects the entry of this palette file, adding it when it is not a built-in one.
    void SelecionarPaleta(const QString& arquivo);

private:
    int AcrescentarPaleta(const QString& arquivo);

    QString pastaPaletas_, pastaInicial_;
    QLineEdit *edtImagem_, *edtVetor_;
    QPushButton *btnImagem_, *btnVetor_, *btnPaleta_;
    QComboBox *cbZoom_, *cbPaleta_;
    QGroupBox* gbVetor_;
};

// What the main window hands to the "&Visualizar" command.
struct TContextoVisualizar {
    QMdiArea* area = nullptr;
    QStatusBar* barraStatus = nullptr;  // the main window's: the read-out goes there too
    QProgressBar* progresso = nullptr;
    QString pastaPrograma;  // '/'-terminated
    QString pastaInicial;   // where the raster choice starts when "../Rasters" is absent
    bool carregarNaMemoria = false;
};

// The "&Visualizar" command: the dialog, then the viewer in the main window's area. An image
// that fails to open shows its message and no window. Returns the viewer or null.
TFVisualizar* AbrirVisualizador(const TContextoVisualizar& ctx);
// The viewer for given choices, without the dialog.
TFVisualizar* AbrirVisualizador(const TContextoVisualizar& ctx, const QString& raster, const QString& paleta,
                                int zoom, const QString& vetor = {});
// Folder of the built-in palettes next to the program.
QString PastaPaletas(const QString& pastaPrograma);
