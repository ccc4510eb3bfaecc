// SPDX-License-Identifier: MIT
// The main of test programs that talk D-Bus: QtDBus delivers calls and replies on the event loop of
// a QCoreApplication.

#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
