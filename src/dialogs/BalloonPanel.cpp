#include "dialogs/BalloonPanel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

using kov::tools::BalloonValues;

CHukidashiDg::CHukidashiDg(BalloonValues& values, std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), m_values(values), m_redraw(std::move(redraw))
{
    setObjectName(QStringLiteral("balloonPanel"));
    m_values = BalloonValues{};
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* shapeBox = new QGroupBox(QStringLiteral("形状"));
    auto* sl = new QHBoxLayout(shapeBox);
    auto* shapes = new QButtonGroup(this);
    for (int shape : {BalloonValues::ROUNDED, BalloonValues::RECTANGLE, BalloonValues::ELLIPSE}) {
        auto* b = new QPushButton(QString::fromUtf8(std::string(BalloonValues::ShapeLabel(shape)).c_str()));
        b->setCheckable(true);
        shapes->addButton(b, shape);
        sl->addWidget(b);
        m_shapes[shape] = b;
    }
    layout->addWidget(shapeBox);

    auto* sideBox = new QGroupBox(QStringLiteral("方向"));
    auto* cross = new QGridLayout(sideBox);
    auto* sides = new QButtonGroup(this);
    const int places[4][2] = {{0, 1}, {1, 0}, {2, 1}, {1, 2}};
    for (int side = 0; side < 4; ++side) {
        m_sides[side] = new QRadioButton(QString::fromUtf8(std::string(BalloonValues::SideLabel(side)).c_str()));
        sides->addButton(m_sides[side], side);
        cross->addWidget(m_sides[side], places[side][0], places[side][1]);
    }
    layout->addWidget(sideBox);

    auto* positionBox = new QGroupBox(QStringLiteral("位置"));
    auto* pl = new QHBoxLayout(positionBox);
    auto* positions = new QButtonGroup(this);
    for (int p = 0; p < 3; ++p) {
        m_positions[p] = new QRadioButton;
        positions->addButton(m_positions[p], p);
        pl->addWidget(m_positions[p]);
    }
    layout->addWidget(positionBox);

    connect(shapes, &QButtonGroup::idClicked, this, &CHukidashiDg::ChooseShape);
    connect(sides, &QButtonGroup::idClicked, this, &CHukidashiDg::ChooseSide);
    connect(positions, &QButtonGroup::idClicked, this, &CHukidashiDg::ChoosePosition);
    refresh();
}

void CHukidashiDg::ChooseShape(int shape)
{
    m_values.shape = shape;
    refresh();
    if (m_redraw) m_redraw();
}

void CHukidashiDg::ChooseSide(int side)
{
    m_values.tailSide = side;
    refresh();
    if (m_redraw) m_redraw();
}

void CHukidashiDg::ChoosePosition(int position)
{
    m_values.tailPosition = position;
    refresh();
    if (m_redraw) m_redraw();
}

void CHukidashiDg::refresh()
{
    for (int s = 0; s < 3; ++s) m_shapes[s]->setChecked(s == m_values.shape);
    for (int s = 0; s < 4; ++s) m_sides[s]->setChecked(s == m_values.tailSide);
    const auto labels = BalloonValues::PositionLabels(m_values.tailSide);
    for (int p = 0; p < 3; ++p) {
        m_positions[p]->setText(QString::fromUtf8(std::string(labels[static_cast<std::size_t>(p)]).c_str()));
        m_positions[p]->setChecked(p == m_values.tailPosition);
        m_positions[p]->setEnabled(m_values.PositionsEnabled());
    }
}

} // namespace kov::dialogs
