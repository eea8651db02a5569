// The main window on a real X server (run under xvfb-run): a sample drawing opened, the window
// placed, closed in order, started again: the place and the bar layout come back, and the
// layout's mark is cleared while the program runs. A picture of the window is kept beside the test.

#include "ui/UiSupport.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kov::test;

class FrameOnScreen : public ScreenTest {
protected:
    void TearDown() override
    {
        stop();
        ScreenTest::TearDown();
    }

    std::string start()
    {
        const fs::path sample = fs::path(KOVIRA_DATA_SOURCE) / "sample" / "小さな家.kvr";
        return ScreenTest::start({QString::fromStdString(sample.string())}, "小さな家");
    }
    std::string settings() const
    {
        for (const auto& e : fs::recursive_directory_iterator(m_home))
            if (e.path().extension() == ".ini") {
                QFile f(QString::fromStdString(e.path().string()));
                if (f.open(QIODevice::ReadOnly)) return f.readAll().toStdString();
            }
        return {};
    }
};

TEST_F(FrameOnScreen, CloseAndRestartRestoresPlaceAndLayout)
{
    // Not maximised (the first start is), so that the place is the window's own.
    writeSettings("[KOV_T_LAYOUTSIZE]\nmaximize=0\nleft=0\nright=900\ntop=0\nbottom=700\n");
    std::string window = start();
    ASSERT_FALSE(window.empty());
    run("xdotool windowmove " + window + " 30 20 windowsize --sync " + window + " 1200 800");
    QThread::msleep(1000);
    grab(fs::path(KOVIRA_UI_OUTPUT) / "frame-on-screen.png");
    stop();
    std::string saved = settings();
    EXPECT_NE(saved.find("barstate=2"), std::string::npos);
    EXPECT_NE(saved.find("registset=1"), std::string::npos);
    EXPECT_NE(saved.find("right=1230"), std::string::npos);

    window = start();
    ASSERT_FALSE(window.empty());
    const QRect g = windowGeometry(window);
    EXPECT_EQ(g.width(), 1200);
    EXPECT_EQ(g.height(), 800);
    EXPECT_NEAR(g.x(), 30, 2);
    EXPECT_NEAR(g.y(), 20, 2);
    EXPECT_NE(settings().find("barstate=0"), std::string::npos);
    stop();
}

} // namespace
