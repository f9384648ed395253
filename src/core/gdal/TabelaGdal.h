#pragma once
// GDAL lives in a module of its own (vandoro-gdal.so), opened the first time the program needs
// it: its hundred libraries would otherwise be loaded by every command and window at start-up,
// most of the time of a short command. The module hands over one table with a pointer per
// function of Gdal.h; the program's side forwards each call through it.
#include "core/gdal/Gdal.h"

// X(field, function, return type, parameters, arguments)
#define VANDORO_FUNCOES_GDAL(X)                                                                              \
    X(abreRaster, GdalAbreRaster, bool, (const std::string& nome), (nome))                                    \
    X(lerRaster, LerRasterGdal, TGradeGdal, (const std::string& nome), (nome))                                \
    X(bandasRaster, BandasRasterGdal, int, (const std::string& nome), (nome))                                 \
    X(crsRaster, CrsRasterGdal, std::string, (const std::string& nome), (nome))                               \
    X(gravarGeoTiff, GravarGeoTiff, void, (const std::string& nome, const TGradeGdal& g), (nome, g))          \
    X(gravarGeoTiffPorLinha, GravarGeoTiff, void,                                                              \
      (const std::string& nome, const TGradeGdal& cabecalho,                                                   \
       const std::function<void(int linha, float* buf)>& linha),                                               \
      (nome, cabecalho, linha))                                                                                \
    X(descreveCrs, DescreveCrs, TInfoCrs, (const std::string& wkt), (wkt))                                    \
    X(crsEsri, CrsEsri, std::string, (const std::string& wkt), (wkt))                                         \
    X(crsDeTexto, CrsDeTexto, std::string, (const std::string& texto), (texto))                               \
    X(crsDeEpsg, CrsDeEpsg, std::string, (int epsg), (epsg))                                                  \
    X(mesmoCrs, MesmoCrs, bool, (const std::string& a, const std::string& b), (a, b))                         \
    X(epsgSirgasUtm, EpsgSirgasUtm, int, (double lon, double lat), (lon, lat))                                \
    X(transformaPontos, TransformaPontos, void,                                                                \
      (const std::string& de, const std::string& para, std::vector<double>& x, std::vector<double>& y),       \
      (de, para, x, y))                                                                                        \
    X(reprojetaGrade, ReprojetaGrade, TGradeGdal, (const TGradeGdal& g, const std::string& crs, double celula), \
      (g, crs, celula))                                                                                        \
    X(escreverLinhasSig, EscreverLinhasSig, void,                                                              \
      (const std::string& nome, const std::string& camada, const std::vector<TCampoSig>& campos,              \
       const std::vector<TFeicaoLinha>& feicoes, const std::string& crs),                                      \
      (nome, camada, campos, feicoes, crs))                                                                    \
    X(formatoSigConhecido, FormatoSigConhecido, bool, (const std::string& nome), (nome))                      \
    X(arquivosSig, ArquivosSig, std::vector<std::string>, (const std::string& nome), (nome))                  \
    X(lerLinhasNoModelo, LerLinhasNoModelo, std::vector<TPolilinha>,                                           \
      (const std::string& nome, const std::string& crsGrade), (nome, crsGrade))                                \
    X(lerPoligonosNoModelo, LerPoligonosNoModelo, std::vector<TPolilinha>,                                     \
      (const std::string& nome, const std::string& crsGrade), (nome, crsGrade))                                \
    X(rasterizaPoligonos, RasterizaPoligonos, std::vector<unsigned char>,                                      \
      (const std::string& nome, const std::string& crsGrade, int colunas, int linhas, double minX,            \
       double maxY, double largura, double altura, double* areaPoligonos),                                     \
      (nome, crsGrade, colunas, linhas, minX, maxY, largura, altura, areaPoligonos))

struct TTabelaGdal {
    // The module keeps its own copy of the program's common code: the thread count the
    // program was given goes with every call.
    void (*defineThreads)(int n);
#define VANDORO_CAMPO_GDAL(campo, funcao, retorno, parametros, argumentos) retorno(*campo) parametros;
    VANDORO_FUNCOES_GDAL(VANDORO_CAMPO_GDAL)
#undef VANDORO_CAMPO_GDAL
};

using TEntradaGdal = const TTabelaGdal* (*)();
inline constexpr const char* kModuloGdal = "vandoro-gdal.so";
inline constexpr const char* kEntradaGdal = "VandoroTabelaGdal";
