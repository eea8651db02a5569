#pragma once

// The page of thumbnail cells the fittings and the parts palettes show: a picture per cell with its
// name beneath, the chosen cell framed in red dashes, a press on a cell handed to the owner.

#include "model/DrawTransform.h"

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;

namespace kov::platform {
class Surface;
}

namespace kov::dialogs {

// What draws one thumbnail: onto the surface, within the rectangle, at the screen's dots per inch.
using ThumbnailPainter = std::function<void(kov::platform::Surface& surface, const DeviceRect& rect, int dpi)>;

// A white picture of the size with the thumbnail on it, framed in red dashes when chosen.
QPixmap ThumbnailPicture(QSize size, int dpi, bool chosen, const ThumbnailPainter& draw);

class ThumbnailGrid : public QWidget {
    Q_OBJECT
public:
    // `cells` cells of cellSize in rows of `columns`.
    ThumbnailGrid(int cells, int columns, QSize cellSize, QWidget* parent = nullptr);

    int cells() const { return static_cast<int>(m_cells.size()); }
    // Draws every cell anew: draw(cell, …) paints its thumbnail, name(cell) is the text beneath, and
    // the cell `chosen` is framed (none for -1).
    void fill(int chosen, const std::function<void(int cell, kov::platform::Surface&, const DeviceRect&, int dpi)>& draw,
              const std::function<std::string(int cell)>& name);
    // The screen rectangle of a cell (tests click it); empty for a cell the grid does not have.
    QRect cellRect(int cell) const;

    // A mouse press on a cell.
    std::function<void(int cell)> onPressed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QLabel*> m_cells;
    std::vector<QLabel*> m_names;
};

} // namespace kov::dialogs
