#pragma once
// The reports the command line writes as PDF, with no display, and their pages as PNG
// (pdftoppm) in 'pastaSaida': the level and graded location plans (the plan's page, the table,
// the profiles) and the level sizing report.
#include <QString>

void TelasPdf(const QString& pastaPrograma, const QString& pastaSaida);
