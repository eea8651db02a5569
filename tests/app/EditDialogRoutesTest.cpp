// The numeric move and the group stretch with their real dialogs, filled as a person types and
// confirmed with OK, through the window's command routing.

#include "app/CommandIds.h"

#include "app/WindowTestSupport.h"
#include "support/EditFixtures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <cmath>
#include <functional>

namespace {

using kov::test::addFigure;
using kov::test::addGroup;
namespace cmd = kov::app::cmd;

// Fills the next modal dialog once it shows and presses its OK.
void fillAndAccept(std::function<void(QDialog&)> fill)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, fill = std::move(fill)] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        timer->stop();
        timer->deleteLater();
        fill(*d);
        d->accept();
    });
    timer->start();
}

TEST(EditDialogRoutes, MoveByAngleAndDistance)
{
    struct Case {
        const char* angle;
        double dx, dy;
    } cases[] = {{"90", 0, -100}, {"45", 70.71, -70.71}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        kov::test::WindowRig r;
        addFigure(r.doc->m_Unit, 1, CKovLine::LINE, {{1000, 1000}, {2000, 1000}});
        r.doc->m_Unit.MUnitLineID = 1;
        r.doc->m_Selection.AddLineId(1);
        fillAndAccept([&c](QDialog& d) {
            d.findChild<QComboBox*>("angle")->setEditText(QString::fromLatin1(c.angle));
            d.findChild<QLineEdit*>("distance")->setText(QStringLiteral("100"));
        });
        r.run(cmd::Move);
        const CDbPoint p = std::as_const(r.doc->m_Unit).FindLine(1)->MLinePnt[0];
        EXPECT_NEAR(p.x - 1000, c.dx, 0.005);
        EXPECT_NEAR(p.y - 1000, c.dy, 0.005);
    }
}

TEST(EditDialogRoutes, GroupStretchBySize)
{
    struct Case {
        const char* width;
        double right; // the box's right edge afterwards, from 0
    } cases[] = {{"3000", 3000}, {"1000", 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        kov::test::WindowRig r;
        addFigure(r.doc->m_Unit, 1, CKovLine::RECTANGLE, {{0, 0}, {0, 2000}, {2000, 2000}, {2000, 0}}, {}, 5);
        addGroup(r.doc->m_Unit, 5, {1});
        r.doc->m_Selection.AddGroupId(5);
        fillAndAccept([&c](QDialog& d) {
            // "数値指定": the sizes in millimetres, of a 2000 by 2000 box.
            for (QRadioButton* b : d.findChildren<QRadioButton*>())
                if (b->text() == QStringLiteral("数値指定")) b->setChecked(true);
            d.findChild<QLineEdit*>("edit2")->setText(QString::fromLatin1(c.width));
        });
        r.run(cmd::StretchGroup);
        EXPECT_NEAR(std::as_const(r.doc->m_Unit).FindGroup(5)->MGrpmax.x - std::as_const(r.doc->m_Unit).FindGroup(5)->MGrpmin.x,
                    c.right, 1e-6);
    }
}

} // namespace
