#include "dialogs/HatchSettingsDialog.h"

#include "model/KovUnit.h"
#include "model/SelectionRecord.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kov::dialogs {

namespace {

using kov::model::kSectionUtility;
using kov::platform::formatFixed;
using kov::platform::parseDouble;

QString u(const char* text) { return QString::fromUtf8(text); }

// A typed number, or nothing for text no finite number could come from.
bool finiteNumber(const std::string& text, double& out)
{
    out = parseDouble(text);
    return std::isfinite(out);
}

double readNumber(const kov::platform::Profile& profile, const char* key, const char* fallback)
{
    const double v = parseDouble(profile.GetProfileString(kSectionUtility, key, fallback));
    return std::isfinite(v) ? v : parseDouble(fallback);
}

constexpr int kPreviewSize = 160;

} // namespace

void CHachSetForm::Load(const kov::platform::Profile& profile)
{
    m_nUnit = profile.GetProfileInt(kSectionUtility, "hach_mmtani", 0) != 0 ? RealMm : PaperMm;
    m_nKind = std::clamp(profile.GetProfileInt(kSectionUtility, "hach_combo", 0), 0, int(kKinds.size()) - 1);
    m_dPitch = readNumber(profile, "hach_kankaku", "3");
    m_dGridPitch = readNumber(profile, "hach_kankaku2", "3");
    m_dSpacing = readNumber(profile, "hach_pich", "1");
    m_dAngle = readNumber(profile, "hach_kakudo", "0");
    m_dBaseX = readNumber(profile, "hach_kitenx", "0");
    m_dBaseY = readNumber(profile, "hach_kiteny", "0");
}

void CHachSetForm::Save(kov::platform::Profile& profile) const
{
    profile.WriteProfileInt(kSectionUtility, "hach_mmtani", m_nUnit);
    profile.WriteProfileInt(kSectionUtility, "hach_combo", m_nKind);
    profile.WriteProfileString(kSectionUtility, "hach_kankaku", formatFixed(m_dPitch, 2));
    profile.WriteProfileString(kSectionUtility, "hach_kankaku2", formatFixed(m_dGridPitch, 2));
    profile.WriteProfileString(kSectionUtility, "hach_pich", formatFixed(m_dSpacing, 2));
    profile.WriteProfileString(kSectionUtility, "hach_kakudo", formatFixed(m_dAngle, 2));
    profile.WriteProfileString(kSectionUtility, "hach_kitenx", formatFixed(m_dBaseX, 1));
    profile.WriteProfileString(kSectionUtility, "hach_kiteny", formatFixed(m_dBaseY, 1));
}

std::string CHachSetForm::PitchText() const { return formatFixed(PitchInUse(), 2); }
std::string CHachSetForm::SpacingText() const { return formatFixed(m_dSpacing, 2); }
std::string CHachSetForm::AngleText() const { return formatFixed(m_dAngle, 2); }
std::string CHachSetForm::BaseXText() const { return formatFixed(m_dBaseX, 1); }
std::string CHachSetForm::BaseYText() const { return formatFixed(m_dBaseY, 1); }

void CHachSetForm::OnPitch(const std::string& text)
{
    double v = 0.0;
    if (!finiteNumber(text, v) || v < 1.0)
        return;
    (m_nKind >= Grid ? m_dGridPitch : m_dPitch) = v;
}

void CHachSetForm::OnSpacing(const std::string& text)
{
    double v = 0.0;
    if (finiteNumber(text, v) && v >= 1.0)
        m_dSpacing = v;
}

void CHachSetForm::OnAngle(const std::string& text)
{
    double v = 0.0;
    if (finiteNumber(text, v) && v >= 0.0 && v < 360.0)
        m_dAngle = v;
}

void CHachSetForm::OnBaseX(const std::string& text)
{
    double v = 0.0;
    if (finiteNumber(text, v))
        m_dBaseX = v;
}

void CHachSetForm::OnBaseY(const std::string& text)
{
    double v = 0.0;
    if (finiteNumber(text, v))
        m_dBaseY = v;
}

void CHachSetForm::OnKind(int kind)
{
    if (kind >= 0 && kind < int(kKinds.size()))
        m_nKind = kind;
}

void CHachSetForm::OnUnitClicked() { m_nUnit = m_nUnit == PaperMm ? RealMm : PaperMm; }

std::string CHachSetForm::Accept() const
{
    if (m_nUnit == RealMm && PitchInUse() < 100.0)
        return kPitchMessage;
    return {};
}

void CHachSetForm::MakeLines(CKovUnit& unit, SelectionRecord& selection, const CPlotInfo& plot,
                             const CDbPointArray& starts, const CDbPointArray& ends, const DeviceTransform& transform,
                             int scaleGroup, int layerGroup, int layer) const
{
    double pitch = m_dPitch, gridPitch = m_dGridPitch, spacing = m_dSpacing, baseX = m_dBaseX, baseY = m_dBaseY;
    if (m_nUnit == PaperMm) {
        // Paper millimetres become drawing millimetres at the layer group's scale.
        const auto g = static_cast<std::size_t>(std::clamp(scaleGroup, 0, DeviceTransform::kLayerGroups - 1));
        const double sx = transform.scaleX[g], sy = transform.scaleY[g];
        if (!(sx > 0.0) || !(sy > 0.0))
            return;
        const double toX = transform.paperScale / sx;
        pitch *= toX;
        gridPitch *= toX;
        spacing *= toX;
        baseX *= toX;
        baseY *= transform.paperScale / sy;
    }
    auto call = [&](double angle, double repeat, int lines, int code) {
        unit.MakeHatchLines(selection, plot, starts, ends, layerGroup, layer, angle, spacing, repeat, baseX, baseY,
                            lines, code);
    };
    switch (m_nKind) {
    case One: call(m_dAngle, pitch, 1, 0); break;
    case Two: call(m_dAngle, pitch, 2, 1); break;
    case Three: call(m_dAngle, pitch, 3, 2); break;
    case Grid: {
        call(m_dAngle, gridPitch, 1, 3);
        double second = m_dAngle + 90.0;
        if (second > 360.0)
            second -= 360.0;
        call(second, gridPitch, 1, 3);
        break;
    }
    case Brick:
        call(0.0, gridPitch, 1, 0);
        call(90.0, gridPitch, 1, 4);
        break;
    default: break;
    }
}

std::vector<std::pair<DevicePoint, DevicePoint>> CHachSetForm::PreviewSegments(const CPlotInfo& plot,
                                                                               DeviceTransform transform, int width,
                                                                               int height) const
{
    std::vector<std::pair<DevicePoint, DevicePoint>> out;
    if (m_nUnit == RealMm && PitchInUse() < 100.0)
        return out;
    transform.originX = width / 2;
    transform.originY = height / 2;
    const int g = std::clamp(plot.m_Layer.m_nCurrentGroup, 0, DeviceTransform::kLayerGroups - 1);
    const double sx = transform.scaleX[static_cast<std::size_t>(g)];
    if (!(sx > 0.0))
        return out;
    const double hw = (width / 2) / sx, hh = (height / 2) / sx;
    const CDbPointArray corners = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    const CDbPointArray starts = corners;
    const CDbPointArray ends = {corners[1], corners[2], corners[3], corners[0]};
    CKovUnit scratch;
    SelectionRecord made;
    MakeLines(scratch, made, plot, starts, ends, transform, g, plot.m_Layer.m_nCurrentGroup,
              plot.m_Layer.m_nCurrentLayer);
    const CKovUnit& lines = scratch;
    for (int id : made.m_Lines) {
        const CKovLine* f = lines.FindLine(id);
        if (f && f->MLineType == CKovLine::LINE && f->MLinePnt.size() >= 2)
            out.emplace_back(ToDevicePoint(f->MLinePnt[0], transform, g), ToDevicePoint(f->MLinePnt[1], transform, g));
    }
    return out;
}

CHachSetDg::CHachSetDg(const CHachSetForm& values, const CPlotInfo& plot, const DeviceTransform& transform,
                       QWidget* parent)
    : QDialog(parent), m_form(values), m_plot(plot), m_transform(transform)
{
    setWindowTitle(u(CHachSetForm::kTitle));
    auto* outer = new QHBoxLayout(this);
    auto* frame = new QGroupBox(u("設定値"));
    auto* grid = new QGridLayout(frame);
    int row = 0;
    auto edit = [&](const char* label, const char* unit, QLineEdit*& field, const char* name) {
        grid->addWidget(new QLabel(u(label)), row, 0);
        field = new QLineEdit;
        field->setObjectName(QString::fromLatin1(name));
        grid->addWidget(field, row, 1);
        if (unit)
            grid->addWidget(new QLabel(u(unit)), row, 2);
        ++row;
    };
    grid->addWidget(new QLabel(u("種類")), row, 0);
    m_kind = new QComboBox;
    m_kind->setObjectName(QStringLiteral("kind"));
    for (const char* k : CHachSetForm::kKinds)
        m_kind->addItem(u(k));
    grid->addWidget(m_kind, row++, 1);
    edit("ピッチ", "mm", m_pitch, "pitch");
    edit("間隔", "mm", m_spacing, "spacing");
    edit("角度", "度", m_angle, "angle");
    grid->addWidget(new QLabel(u("基点")), row, 0);
    auto* base = new QHBoxLayout;
    base->addWidget(new QLabel(u("→")));
    m_baseX = new QLineEdit;
    base->addWidget(m_baseX);
    base->addWidget(new QLabel(u("↓")));
    m_baseY = new QLineEdit;
    base->addWidget(m_baseY);
    grid->addLayout(base, row++, 1, 1, 2);
    grid->addWidget(new QLabel(u("配置単位")), row, 0);
    auto* units = new QHBoxLayout;
    m_paper = new QRadioButton(u("印刷mm"));
    m_real = new QRadioButton(u("実寸mm"));
    // The buttons set each other: a click on either switches the unit.
    m_paper->setAutoExclusive(false);
    m_real->setAutoExclusive(false);
    units->addWidget(m_paper);
    units->addWidget(m_real);
    grid->addLayout(units, row++, 1, 1, 2);
    grid->addWidget(new QLabel(u("出力レイヤ")), row, 0);
    auto* layers = new QHBoxLayout;
    m_layerGroup = new QComboBox;
    m_layer = new QComboBox;
    for (int i = 0; i < 16; ++i) {
        m_layerGroup->addItem(QString::number(i));
        m_layer->addItem(QString::number(i));
    }
    layers->addWidget(m_layerGroup);
    layers->addWidget(new QLabel(QStringLiteral("-")));
    layers->addWidget(m_layer);
    grid->addLayout(layers, row++, 1, 1, 2);

    auto* right = new QVBoxLayout;
    m_preview = new QLabel;
    m_preview->setFixedSize(kPreviewSize, kPreviewSize);
    m_preview->setFrameShape(QFrame::Box);
    right->addWidget(m_preview);
    auto* buttons = new QDialogButtonBox(Qt::Vertical);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(u("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addWidget(buttons);
    outer->addWidget(frame);
    outer->addLayout(right);

    sync();
    auto live = [this](QLineEdit* field, void (CHachSetForm::*rule)(const std::string&)) {
        connect(field, &QLineEdit::textEdited, this, [this, rule](const QString& text) {
            (m_form.*rule)(text.toStdString());
            drawPreview();
        });
    };
    live(m_pitch, &CHachSetForm::OnPitch);
    live(m_spacing, &CHachSetForm::OnSpacing);
    live(m_angle, &CHachSetForm::OnAngle);
    live(m_baseX, &CHachSetForm::OnBaseX);
    live(m_baseY, &CHachSetForm::OnBaseY);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int kind) {
        if (m_syncing)
            return;
        m_form.OnKind(kind);
        sync();
    });
    for (QRadioButton* b : {m_paper, m_real})
        connect(b, &QRadioButton::clicked, this, [this] {
            m_form.OnUnitClicked();
            sync();
        });
    connect(m_layerGroup, &QComboBox::activated, this, [this](int g) { m_form.m_nLayerGroup = g; });
    connect(m_layer, &QComboBox::activated, this, [this](int l) { m_form.m_nLayer = l; });
}

void CHachSetDg::sync()
{
    m_syncing = true;
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    m_kind->setCurrentIndex(m_form.m_nKind);
    m_pitch->setText(q(m_form.PitchText()));
    m_spacing->setText(q(m_form.SpacingText()));
    m_angle->setText(q(m_form.AngleText()));
    m_baseX->setText(q(m_form.BaseXText()));
    m_baseY->setText(q(m_form.BaseYText()));
    m_spacing->setEnabled(m_form.SpacingEnabled());
    m_angle->setEnabled(m_form.AngleEnabled());
    m_paper->setChecked(m_form.m_nUnit == CHachSetForm::PaperMm);
    m_real->setChecked(m_form.m_nUnit == CHachSetForm::RealMm);
    m_layerGroup->setCurrentIndex(std::clamp(m_form.m_nLayerGroup, 0, 15));
    m_layer->setCurrentIndex(std::clamp(m_form.m_nLayer, 0, 15));
    m_syncing = false;
    drawPreview();
}

void CHachSetDg::drawPreview()
{
    QImage image(kPreviewSize, kPreviewSize, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Base));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    for (const auto& [a, b] : m_form.PreviewSegments(m_plot, m_transform, kPreviewSize, kPreviewSize))
        painter.drawLine(a.x, a.y, b.x, b.y);
    painter.end();
    m_preview->setPixmap(QPixmap::fromImage(image));
}

void CHachSetDg::accept()
{
    const std::string refusal = m_form.Accept();
    if (!refusal.empty()) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(refusal));
        return;
    }
    QDialog::accept();
}

} // namespace kov::dialogs
