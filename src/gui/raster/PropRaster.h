#pragma once
// The header of a raster shown in a viewer (modeless, one at a time, listing every open
// viewer) and the header of the vector file laid over one.
#include <QDialog>
#include <QPointer>

class QComboBox;
class QLineEdit;
class TFVisualizar;
class TVET;

class TFPropRaster : public QDialog {
    Q_OBJECT
public:
    // Shows the one properties window (creating it) on 'v'.
    static TFPropRaster* Mostrar(TFVisualizar* v);
    static TFPropRaster* Instancia();
    // A viewer opened, renamed or closed while the window exists.
    static void Acrescentar(TFVisualizar* v);
    static void Atualizar(TFVisualizar* v);
    static void Remover(TFVisualizar* v);

    QComboBox* Imagens() const { return cbImagens_; }
    TFVisualizar* Atual() const;
    void Selecionar(TFVisualizar* v);
    // Fills the fields for one viewer and brings it to the front.
    void Preencher(TFVisualizar* v);
    QLineEdit* Campo(const char* nome) const;

private:
    explicit TFPropRaster(QWidget* pai);
    void Listar();

    QComboBox* cbImagens_ = nullptr;
    static QPointer<TFPropRaster> instancia_;
};

class TFPropVetor : public QDialog {
    Q_OBJECT
public:
    TFPropVetor(const TVET& vet, const QString& nome, QWidget* pai = nullptr);
};
