#include "render/FigurasLocacao.h"

#include <QTransform>
#include <optional>
#include <vector>

#include "core/common/Threads.h"
#include "core/location/PerfisTerracos.h"
#include "core/location/PlanoMapa.h"
#include "render/FiguraPerfis.h"
#include "render/MapaPlano.h"

namespace {
constexpr double kUnidade = 96.0;
}

QMap<QString, QImage> ImagensDaLocacao(const TLocacaoNivel& loc, const TFigurasLocacao& f, const std::string& projeto,
                                       const TMapaPlano* feito, double dpi) {
    QMap<QString, QImage> r;
    if (f.perfis.empty()) return r;
    const QSizeF pagina(TFigurasLocacao::kLargura, TFigurasLocacao::kAltura);
    // A whole farm's map takes a second or two to build: the window's own serves while it
    // still shows this very plan.
    TPlanoMapa plano = PlanoMapaDaLocacao(loc, projeto);
    std::optional<TMapaPlano> proprio;
    const TMapaPlano& mapa = feito && feito->Plano() == plano ? *feito : proprio.emplace(std::move(plano));
    if (!mapa.Vazio()) {
        const QSize px = (pagina * dpi / kUnidade).toSize();
        if (mapa.Paisagem()) r.insert(TFigurasLocacao::kMapa, mapa.Folha(px.transposed()).transformed(QTransform().rotate(-90)));
        else r.insert(TFigurasLocacao::kMapa, mapa.Folha(px));
    }
    // A farm has a hundred pages of profiles; each is drawn on its own image, so they share the
    // machine's threads.
    const QSizeF perfis(TFigurasLocacao::kLargura, TFigurasLocacao::kAlturaPerfis);
    std::vector<QImage> paginas(size_t(f.PaginasPerfis()));
    ParaCada(int(paginas.size()), NumeroThreads(),
             [&](int k) { paginas[size_t(k)] = ImagemPerfis(f.PerfisDaPagina(k + 1), perfis, dpi); });
    for (size_t k = 0; k < paginas.size(); ++k)
        r.insert(QString::fromStdString(TFigurasLocacao::NomePerfis(int(k) + 1)), std::move(paginas[k]));
    return r;
}
