// Window tests: one application object for the whole run, offscreen, pt-BR regional settings,
// under the program's own safety net.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/common/Regional.h"
#include "gui/common/Aplicacao.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TAplicacao app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vandoro 4.1"));
    RegionalFixo pt(Regional::PtBR());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
