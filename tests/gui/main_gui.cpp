// Window tests: one QApplication for the whole run, offscreen, pt-BR regional settings.
#include <QApplication>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/Regional.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vandoro 4.1"));
    RegionalFixo pt(Regional::PtBR());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
