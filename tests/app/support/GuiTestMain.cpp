// The main of every GUI test binary: the application object on Qt's offscreen platform (unless
// the caller chose another), with the program's look and Qt's Ukrainian, before any test runs.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/toolkit/Language.h"
#include "app/toolkit/Look.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    ApplyApplicationLook();
    SpeakUkrainian();
    return RUN_ALL_TESTS();
}
