#include "core/raster/SistemaGrade.h"

#include "core/gdal/Gdal.h"

namespace {
const std::string kVazio;

bool ComecaCom(const std::string& t, const char* raiz) {
    const size_t i = t.find_first_not_of(" \t\r\n");
    return i != std::string::npos && t.compare(i, std::char_traits<char>::length(raiz), raiz) == 0;
}
}  // namespace

TSistemaGrade TSistemaGrade::DeWkt(std::string wkt) {
    TSistemaGrade s;
    if (wkt.empty()) return s;
    s.d_ = std::make_shared<Dados>();
    s.d_->wkt = std::move(wkt);
    std::call_once(s.d_->lido, [] {});
    return s;
}

TSistemaGrade TSistemaGrade::DePrj(std::string texto) {
    TSistemaGrade s;
    s.d_ = std::make_shared<Dados>();
    s.d_->texto = std::move(texto);
    return s;
}

const std::string& TSistemaGrade::Wkt() const {
    if (!d_) return kVazio;
    std::call_once(d_->lido, [d = d_.get()] { d->wkt = CrsDeTexto(d->texto); });
    return d_->wkt;
}

const std::string& TSistemaGrade::PrjWkt1() const {
    if (d_ && (ComecaCom(d_->texto, "PROJCS[") || ComecaCom(d_->texto, "GEOGCS["))) return d_->texto;
    return kVazio;
}

bool TSistemaGrade::ProjetadoPeloTexto() const { return d_ && ComecaCom(d_->texto, "PROJCS["); }
