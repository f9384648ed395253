#pragma once
// Pictures of the charts and the report for the screenshot tool: the graded
// example's "Q x Comp", the level "H x Tie", the basin chart, the report made from the
// simulation page, and that report exported as PDF with its pages as PNG (pdftoppm) in
// 'pastaSaida'. 'gravar' receives each window shown, under the picture's name.
#include <QString>
#include <functional>

class QWidget;

void TelasSimulacao(const QString& pastaPrograma, const QString& pastaSaida,
                    const std::function<void(QWidget&, const QString&)>& gravar);
