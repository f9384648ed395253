#pragma once
// A report's document as every front end lays it out: the program's font, margins and style,
// the pictures its text names by a file path read in, and those drawn for it given by name.
// The report window shows it; the PDF module writes it without a window.
#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>

class QPageLayout;
class QRegularExpression;
class QTextDocument;

// <IMG SRC="..."> in the core's text, the name in group 1.
const QRegularExpression& ExpImagem();
// The SRC as the HTML parser hands it to the document (the core escapes & < > ").
QString SemEntidades(QString s);

void PrepararRelatorio(QTextDocument& doc);
// The pictures the text names by a readable file path (the header), as read; a missing or
// unreadable one is left out. Names in 'excluir' are given otherwise.
QMap<QString, QByteArray> ArquivosDeImagem(const QString& html, const QMap<QString, QImage>& excluir = {});
// The text in a document prepared as above, with its pictures.
void CarregarRelatorio(QTextDocument& doc, const QString& html, const QMap<QString, QImage>& imagens);

// The program's paper when the user has not chosen one: A4 upright.
QPageLayout PaginaPadrao();
// The whole report as a PDF, as the report window's "Exportar PDF" writes it on 'layout' (the
// header is the text's title); written whole or not at all. Returns the pages.
int GravarRelatorioPdf(const QString& saida, const QString& html, const QMap<QString, QImage>& imagens,
                       const QPageLayout& layout);
