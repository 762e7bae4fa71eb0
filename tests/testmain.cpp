#include <QCoreApplication>
#include <gtest/gtest.h>

// Every test binary gets a Qt application object so that queued calls to the main thread work.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
