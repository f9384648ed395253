#include "render/FigurasLocacao.h"

#include <QTransform>

#include "core/location/PerfisTerracos.h"
#include "core/location/PlanoMapa.h"
#include "render/FiguraPerfis.h"
#include "render/MapaPlano.h"

namespace {
constexpr double kUnidade = 96.0;
}

QMap<QString, QImage> ImagensDaLocacao(const TLocacaoNivel& loc, const TFigurasLocacao& f, const std::string& projeto,
                                       double dpi) {
    QMap<QString, QImage> r;
    if (f.perfis.empty()) return r;
    const QSizeF pagina(TFigurasLocacao::kLargura, TFigurasLocacao::kAltura);
    const TMapaPlano mapa(PlanoMapaDaLocacao(loc, projeto));
    if (!mapa.Vazio()) {
        const QSize px = (pagina * dpi / kUnidade).toSize();
        if (mapa.Paisagem()) r.insert(TFigurasLocacao::kMapa, mapa.Folha(px.transposed()).transformed(QTransform().rotate(-90)));
        else r.insert(TFigurasLocacao::kMapa, mapa.Folha(px));
    }
    const QSizeF perfis(TFigurasLocacao::kLargura, TFigurasLocacao::kAlturaPerfis);
    for (int k = 1; k <= f.PaginasPerfis(); ++k)
        r.insert(QString::fromStdString(TFigurasLocacao::NomePerfis(k)), ImagemPerfis(f.PerfisDaPagina(k), perfis, dpi));
    return r;
}
