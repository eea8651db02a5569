#pragma once

// The balloon tool's panel (no title): the balloon's shape, the side its tail comes out of and
// where on that side. The tool machine's choices are edited directly; each opening starts from the
// defaults.

#include "tools/ViewSettings.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QRadioButton;

namespace kov::dialogs {

class CHukidashiDg : public QDialog {
public:
    CHukidashiDg(kov::tools::BalloonValues& values, std::function<void()> redraw, QWidget* parent = nullptr);

    // The buttons' effects, as the clicks give them.
    void ChooseShape(int shape);
    void ChooseSide(int side);
    void ChoosePosition(int position);

    QPushButton* m_shapes[3] = {};      // by value: 0 "四角形", 1 "角丸四角", 2 "楕円"
    QRadioButton* m_sides[4] = {};      // 0 "上", 1 "左", 2 "下", 3 "右"
    QRadioButton* m_positions[3] = {};

private:
    void refresh();

    kov::tools::BalloonValues& m_values;
    std::function<void()> m_redraw;
};

} // namespace kov::dialogs
