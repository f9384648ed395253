#pragma once
// Find dialog of the HTML views: find-next only, with the match-case choice. It stays open
// beside its window; each "Localizar próxima" asks the window to search once more.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TFLocalizar : public QDialog {
    Q_OBJECT
public:
    explicit TFLocalizar(QWidget* pai);
    QString Texto() const;
    bool DiferenciarMaiusculas() const;

signals:
    void Proxima(const QString& texto, bool diferenciarMaiusculas);

private:
    QLineEdit* edtTexto_;
    QCheckBox* chkMaiusculas_;
    QPushButton* btnProxima_;
};
