#pragma once
// The waterways ("Canais escoadouros") a graded terrace layout drains to: lines the user drew
// along the grassed waterways or outlets, read into the elevation model's map units.
#include <string>
#include <vector>

#include "core/gdal/Gdal.h"
#include "core/raster/GradeMapa.h"

// File-dialog filter of the line files the waterways may come in.
extern const char* const kFiltroEscoadouros;

// The waterways of 'arquivo' over the elevation model whose system is 'crsModelo' ("" none)
// and whose cells lie on 'grade': any line layer OGR reads, reprojected to the model's system
// as a field boundary is, or the program's own .vet, taken in the model's system. Raises
// EVandoro, naming the file, for one that does not exist or cannot be read, holds no line, or
// has no vertex over the model.
std::vector<TPolilinha> LerEscoadouros(const std::string& arquivo, const std::string& crsModelo,
                                       const TGradeMapa& grade);
