#pragma once

// Pictures compared with golden pictures in tests/data, channel by channel within a tolerance.
// KOVIRA_REGENERATE_GOLDEN=1 writes the pictures instead (look at them before keeping them).

#include <QImage>

#include <functional>
#include <string>

namespace kov::platform {
class Surface;
}

namespace kov::test {

// A white picture of that size drawn through the painter surface.
QImage renderOnWhite(int width, int height, const std::function<void(kov::platform::Surface&)>& draw);

// relative: the golden picture's path below tests/data ("render/walls-mode-1.png"). A picture that
// differs is also saved in the temporary folder for a look.
void expectMatchesGolden(const QImage& actual, const std::string& relative);

} // namespace kov::test
