#pragma once
// What the location tests share: where their fields lie and the project objects of a run.
#include "GradesSinteticas.h"
#include "ModeloLocacao.h"
#include "TestSupport.h"

namespace {

// The fields of these tests have their lower left corner at (100, 200).
constexpr double kX0 = 100, kY0 = 200;

using Modelo = ModeloLocacao;

}  // namespace
