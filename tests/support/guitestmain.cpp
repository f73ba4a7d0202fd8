// Entry point of test executables that paint or measure text: those need a QGuiApplication.

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never open a window; CTest's test listing runs this before any environment is set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
