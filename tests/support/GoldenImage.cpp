#include "support/GoldenImage.h"

#include "platform/PainterSurface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kov::test {

namespace {

constexpr int kChannelTolerance = 16;

std::string hexColour(QRgb c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06x", c & 0xFFFFFF);
    return buf;
}

} // namespace

QImage renderOnWhite(int width, int height, const std::function<void(kov::platform::Surface&)>& draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        draw(surface);
    }
    return image;
}

void expectMatchesGolden(const QImage& actual, const std::string& relative)
{
    const std::filesystem::path file = testData(relative);
    const char* flag = std::getenv("KOVIRA_REGENERATE_GOLDEN");
    if (flag != nullptr && std::string(flag) == "1") {
        std::filesystem::create_directories(file.parent_path());
        ASSERT_TRUE(actual.save(QString::fromStdString(file.string()), "PNG")) << file;
        return;
    }
    QImage golden(QString::fromStdString(file.string()));
    ASSERT_FALSE(golden.isNull()) << "no golden picture " << file << " (KOVIRA_REGENERATE_GOLDEN=1 makes it)";
    golden = golden.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), actual.size()) << relative;
    int bad = 0;
    std::string first;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), g = golden.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(g)), std::abs(qGreen(a) - qGreen(g)),
                                    std::abs(qBlue(a) - qBlue(g))});
            if (d <= kChannelTolerance)
                continue;
            if (bad++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " + hexColour(a) + ", golden " +
                        hexColour(g);
        }
    }
    EXPECT_EQ(bad, 0) << relative << ": " << bad << " pixels differ, first at " << first;
    if (bad != 0)
        actual.save(QString::fromStdString(
            (std::filesystem::temp_directory_path() / (file.stem().string() + "-actual.png")).string()));
}

} // namespace kov::test
