#ifdef KOVIRA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <gtest/gtest.h>

#include "platform/Questions.h"

#include <cstdlib>

// Every test program runs with a GUI application on the offscreen platform, so that fonts, images
// and painters behave as in the program without a display. The test script runs the whole suite
// under a comma-decimal locale: stored numbers must not notice.
int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // An unexpected question fails the test that asked it.
    kov::platform::ScriptedQuestions::setDefaultReporter([](const std::string& f) { ADD_FAILURE() << f; });
    return RUN_ALL_TESTS();
}
