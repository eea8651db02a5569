// The palettes' page of thumbnail cells.

#include "dialogs/ThumbnailGrid.h"

#include "platform/PainterSurface.h"

#include <QEvent>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>

namespace kov::dialogs {

QPixmap ThumbnailPicture(QSize size, int dpi, bool chosen, const ThumbnailPainter& draw)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface surface(image);
        draw(surface, DeviceRect{0, 0, size.width(), size.height()}, dpi);
    }
    if (chosen) {
        QPainter p(&image);
        p.setPen(QPen(Qt::red, 2, Qt::DashLine));
        p.drawRect(QRect(1, 1, size.width() - 2, size.height() - 2));
    }
    return QPixmap::fromImage(image);
}

ThumbnailGrid::ThumbnailGrid(int cells, int columns, QSize cellSize, QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    for (int i = 0; i < cells; ++i) {
        auto* cell = new QLabel;
        cell->setFixedSize(cellSize);
        cell->setFrameShape(QFrame::Box);
        cell->setAlignment(Qt::AlignCenter);
        cell->installEventFilter(this);
        auto* name = new QLabel;
        name->setFixedWidth(cellSize.width());
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont small = name->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        name->setFont(small);
        grid->addWidget(cell, (i / columns) * 2, i % columns);
        grid->addWidget(name, (i / columns) * 2 + 1, i % columns);
        m_cells.push_back(cell);
        m_names.push_back(name);
    }
}

void ThumbnailGrid::fill(int chosen,
                         const std::function<void(int cell, kov::platform::Surface&, const DeviceRect&, int dpi)>& draw,
                         const std::function<std::string(int cell)>& name)
{
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    for (int i = 0; i < cells(); ++i) {
        QLabel* cell = m_cells[static_cast<std::size_t>(i)];
        cell->setPixmap(ThumbnailPicture(cell->size(), dpi, i == chosen,
                                         [&](kov::platform::Surface& s, const DeviceRect& r, int d) { draw(i, s, r, d); }));
        m_names[static_cast<std::size_t>(i)]->setText(QString::fromStdString(name(i)));
    }
}

QRect ThumbnailGrid::cellRect(int cell) const
{
    if (cell < 0 || cell >= cells()) return {};
    const QLabel* l = m_cells[static_cast<std::size_t>(cell)];
    return QRect(l->mapToGlobal(QPoint(0, 0)), l->size());
}

bool ThumbnailGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < cells(); ++i)
            if (watched == m_cells[static_cast<std::size_t>(i)]) {
                if (onPressed) onPressed(i);
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kov::dialogs
