#include "dialogs/CoordinateImportDialog.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <optional>

namespace kov::dialogs {

namespace {

using kov::model::kSectionUtility;

QString qs(const char* text) { return QString::fromUtf8(text); }

// A whole row number typed into the list, or nothing.
std::optional<long long> rowNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    long long v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return v;
}

} // namespace

void CoordinateImportForm::Load(const kov::platform::Profile& p, int rows)
{
    rowCount = rows;
    surveying = p.GetProfileInt(kSectionUtility, "zahyo_kei", 0) != 0 ? 1 : 0;
    unit = p.GetProfileInt(kSectionUtility, "zahyo_tani", 0) != 0 ? 1 : 0;
    noReference = p.GetProfileInt(kSectionUtility, "zahyo_kijyunnasi", 0) != 0;
    leftward = p.GetProfileInt(kSectionUtility, "move_yoko", 1) == 0;
    upward = p.GetProfileInt(kSectionUtility, "move_tate", 0) == 0;
    figureType = 0;
    dxText = dyText = "0";
    referenceText = "1";
}

CoordinateImportChoice CoordinateImportForm::Accept(kov::platform::Profile& p) const
{
    CoordinateImportChoice c;
    c.surveying = surveying;
    p.WriteProfileInt(kSectionUtility, "zahyo_kei", surveying);
    // Text that is no number, and "nan" or "inf", read as 0.
    const double dx = kov::platform::parseDouble(dxText);
    const double dy = kov::platform::parseDouble(dyText);
    p.WriteProfileInt(kSectionUtility, "move_yoko", leftward ? 0 : 1);
    p.WriteProfileInt(kSectionUtility, "move_tate", upward ? 0 : 1);
    c.offsetX = (leftward ? -1 : 1) * dx;
    c.offsetY = (upward ? 1 : -1) * -dy;
    c.figureType = std::clamp(figureType, 0, 2);
    c.unit = unit;
    p.WriteProfileInt(kSectionUtility, "zahyo_tani", unit);
    p.WriteProfileInt(kSectionUtility, "zahyo_kijyunnasi", noReference ? 1 : 0);
    c.noReference = noReference ? 1 : 0;
    if (!noReference) {
        if (const auto row = rowNumber(referenceText); row && rowCount > 0)
            c.referenceRow = static_cast<int>(std::clamp<long long>(*row, 1, rowCount));
        else
            c.noReference = 1;
    }
    return c;
}

CZahyoOutputDlg::CZahyoOutputDlg(kov::platform::Profile& profile, int rowCount, QWidget* parent)
    : QDialog(parent), m_profile(profile)
{
    m_form.Load(profile, rowCount);
    setWindowTitle(qs("出力図形タイプ選択"));
    setObjectName(QStringLiteral("coordinateImport"));
    auto* layout = new QVBoxLayout(this);
    auto frame = [this, layout](const char* title) {
        auto* box = new QGroupBox(qs(title), this);
        layout->addWidget(box);
        return box;
    };
    auto radio = [](const char* text, QWidget* parent, const char* name) {
        auto* r = new QRadioButton(qs(text), parent);
        r->setObjectName(QString::fromLatin1(name));
        return r;
    };

    QGroupBox* axes = frame("元の座標系");
    auto* axesLayout = new QVBoxLayout(axes);
    m_math = radio("設計（数学）座標（XY軸はそのまま）", axes, "math");
    m_survey = radio("測量座標（Y→X X→Yに変換）", axes, "survey");
    axesLayout->addWidget(m_math);
    axesLayout->addWidget(m_survey);
    (m_form.surveying ? m_survey : m_math)->setChecked(true);

    QGroupBox* units = frame("単位");
    auto* unitLayout = new QHBoxLayout(units);
    m_metres = radio("m単位", units, "metres");
    m_millimetres = radio("mm単位", units, "millimetres");
    unitLayout->addWidget(m_metres);
    unitLayout->addWidget(m_millimetres);
    (m_form.unit ? m_millimetres : m_metres)->setChecked(true);

    QGroupBox* reference = frame("基準位置");
    auto* refLayout = new QHBoxLayout(reference);
    m_reference = new QComboBox(reference);
    m_reference->setObjectName(QStringLiteral("reference"));
    m_reference->setEditable(true);
    for (int i = 1; i <= rowCount; ++i) m_reference->addItem(QString::number(i));
    m_reference->setCurrentIndex(rowCount > 0 ? 0 : -1);
    refLayout->addWidget(m_reference);
    refLayout->addWidget(new QLabel(qs("行目を(0,0)にオフセットします。"), reference));
    m_noReference = new QCheckBox(qs("基準位置なし"), reference);
    m_noReference->setObjectName(QStringLiteral("noReference"));
    m_noReference->setChecked(m_form.noReference);
    refLayout->addWidget(m_noReference);

    QGroupBox* type = frame("出力図形タイプ");
    auto* typeLayout = new QHBoxLayout(type);
    m_lines = radio("直線", type, "lines");
    m_polygon = radio("多角形", type, "polygon");
    m_polyline = radio("連続線", type, "polyline");
    typeLayout->addWidget(m_lines);
    typeLayout->addWidget(m_polygon);
    typeLayout->addWidget(m_polyline);
    m_lines->setChecked(true);

    QGroupBox* offset = frame("出力オフセット");
    auto* offsetLayout = new QGridLayout(offset);
    auto* across = new QButtonGroup(offset);
    auto* down = new QButtonGroup(offset);
    m_left = radio("←", offset, "left");
    m_right = radio("→", offset, "right");
    m_up = radio("↑", offset, "up");
    m_down = radio("↓", offset, "down");
    across->addButton(m_left);
    across->addButton(m_right);
    down->addButton(m_up);
    down->addButton(m_down);
    (m_form.leftward ? m_left : m_right)->setChecked(true);
    (m_form.upward ? m_up : m_down)->setChecked(true);
    m_dx = new QLineEdit(QStringLiteral("0"), offset);
    m_dx->setObjectName(QStringLiteral("dx"));
    m_dy = new QLineEdit(QStringLiteral("0"), offset);
    m_dy->setObjectName(QStringLiteral("dy"));
    offsetLayout->addWidget(m_left, 0, 0);
    offsetLayout->addWidget(m_right, 0, 1);
    offsetLayout->addWidget(m_dx, 0, 2);
    offsetLayout->addWidget(new QLabel(qs("の方向へ"), offset), 0, 3);
    offsetLayout->addWidget(new QLabel(qs("mm"), offset), 0, 4);
    offsetLayout->addWidget(m_up, 1, 0);
    offsetLayout->addWidget(m_down, 1, 1);
    offsetLayout->addWidget(m_dy, 1, 2);
    offsetLayout->addWidget(new QLabel(qs("の方向へ"), offset), 1, 3);
    offsetLayout->addWidget(new QLabel(qs("mm"), offset), 1, 4);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qs("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CZahyoOutputDlg::accept()
{
    m_form.surveying = m_survey->isChecked() ? 1 : 0;
    m_form.unit = m_metres->isChecked() ? 0 : 1;
    m_form.figureType = m_lines->isChecked() ? 0 : m_polygon->isChecked() ? 1 : m_polyline->isChecked() ? 2 : 0;
    m_form.leftward = m_left->isChecked();
    m_form.upward = m_up->isChecked();
    m_form.dxText = m_dx->text().toStdString();
    m_form.dyText = m_dy->text().toStdString();
    m_form.referenceText = m_reference->currentText().toStdString();
    m_form.noReference = m_noReference->isChecked();
    m_choice = m_form.Accept(m_profile);
    QDialog::accept();
}

} // namespace kov::dialogs
