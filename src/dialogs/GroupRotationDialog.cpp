#include "dialogs/GroupRotationDialog.h"

#include "dialogs/LibraryThumbnails.h"
#include "model/PlotInfo.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace kov::dialogs {

namespace {

QString qs(const char* text) { return QString::fromUtf8(text); }

constexpr int kPreview = 220;

} // namespace

GroupRotationForm::GroupRotationForm(CKovUnit& working, int layerGroup) : m_working(working), m_layerGroup(layerGroup)
{
    if (m_working.m_Groups.empty()) return;
    const CKovGroup& g = *std::as_const(m_working).m_Groups[0];
    m_groupId = g.MGrpID;
    m_angle = g.MGrpKakudo;
    // Turned back to 0: every typed angle is then one turn from the same upright group.
    const double back = std::fmod(360.0 - m_angle, 360.0);
    m_upright.CopyFrom(m_working);
    if (back != 0) m_upright.RotateGroup(m_upright, back, m_groupId);
}

std::string GroupRotationForm::angleText() const { return kov::platform::formatFixed(m_angle, 2); }

void GroupRotationForm::setAngleText(const std::string& text)
{
    double a = kov::platform::parseDouble(text);
    if (!std::isfinite(a) || a < 0 || a > 360) a = 0;
    turnTo(a);
}

void GroupRotationForm::turnTo(double angle)
{
    if (!m_groupId) return;
    m_angle = angle;
    m_working.CopyFrom(m_upright);
    const double turn = std::fmod(angle, 360.0);
    if (turn != 0) m_working.RotateGroup(m_working, turn, m_groupId);
    if (CKovGroup* g = m_working.FindGroup(m_groupId)) g->MGrpKakudo = angle;
    std::vector<int> walls;
    for (const auto& w : std::as_const(m_working).m_Walls)
        if (w->MWallLayer1 == m_layerGroup) walls.push_back(w->MWallID);
    for (int id : walls) m_working.ResetWallOutline(id);
    m_working.JoinWalls(m_layerGroup);
}

CGrpKaitenDlg::CGrpKaitenDlg(CKovUnit& working, int layerGroup, QWidget* parent)
    : QDialog(parent), m_form(working, layerGroup)
{
    setWindowTitle(qs("グループの角度"));
    setObjectName(QStringLiteral("groupRotation"));
    auto* layout = new QVBoxLayout(this);
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFixedSize(kPreview, kPreview);
    m_preview->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    auto* row = new QGridLayout;
    row->addWidget(new QLabel(qs("角度"), this), 0, 0);
    m_edit = new QLineEdit(QString::fromStdString(m_form.angleText()), this);
    m_edit->setObjectName(QStringLiteral("angle"));
    row->addWidget(m_edit, 0, 1);
    row->addWidget(new QLabel(qs("度"), this), 0, 2);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qs("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_form.setAngleText(text.toStdString());
        drawPreview();
    });
    drawPreview();
}

void CGrpKaitenDlg::drawPreview()
{
    QImage canvas(kPreview, kPreview, QImage::Format_RGB32);
    canvas.fill(palette().color(QPalette::Base));
    const int dpi = screen() ? int(screen()->logicalDotsPerInch()) : 96;
    {
        kov::platform::PainterSurface dc(canvas);
        CPlotInfo plot;
        // A zero-size box (a group of one point) draws nothing rather than dividing by zero.
        DrawLibraryThumbnail(dc, m_form.working(), plot, DeviceRect{0, 0, kPreview, kPreview}, 100.0, dpi);
    }
    m_preview->setPixmap(QPixmap::fromImage(canvas));
}

} // namespace kov::dialogs
