#pragma once

#include "ui/platform/accessibility.h"
#include "ui/platform/application.h"

#include <QTest>

// Runs a Qt Test object under the program's own application object, so the windows find the
// platform layer they run on.
#define QORIN_UI_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        qorin::ui::Application application(argc, argv);                                            \
        qorin::ui::installAccessibility();                                                         \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
