#include "dialogs/ElevationDialogs.h"

#include "platform/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace kov::dialogs {

namespace {

using kov::platform::formatFixed;
using kov::platform::parseDouble;

QComboBox* numberList(int count, int first)
{
    auto* c = new QComboBox;
    for (int i = 0; i < count; ++i) c->addItem(QString::fromStdString(kov::platform::formatInt(first + i)));
    return c;
}

QLineEdit* edit(const std::string& text)
{
    auto* e = new QLineEdit(QString::fromStdString(text));
    e->setMaximumWidth(80);
    return e;
}

std::string textOf(const QLineEdit* e) { return e->text().toStdString(); }

QDialogButtonBox* okCancel(QDialog* dialog, const char* okText)
{
    auto* buttons = new QDialogButtonBox;
    auto* ok = buttons->addButton(QString::fromUtf8(okText), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

int listIndex(int value, int count) { return value >= 0 && value < count ? value : -1; }

} // namespace

// -- forms -----------------------------------------------------------------------------------------

ElevationControls ElevationForm::Init() const
{
    const CRituInfo& r = m_ritu;
    ElevationControls c;
    c.floorIndex = listIndex(r.kai - 1, 3);
    c.eaves3 = formatFixed(r.nokidaka3, 0);
    c.eaves2 = formatFixed(r.nokidaka2, 0);
    c.eaves1 = formatFixed(r.nokidaka1, 0);
    c.foundation = formatFixed(r.kisodaka, 0);
    c.direction = listIndex(r.houkou, 5);
    c.fromWalls = r.bgaiheki1 != 0;
    c.outerWallLines = r.bgaiheki2 != 0;
    c.roofs = r.byane != 0;
    c.fittings = r.btateg != 0;
    c.label = r.btext != 0;
    c.floorLayers = {listIndex(r.lay_1, 16), listIndex(r.lay_2, 16), listIndex(r.lay_3, 16)};
    c.outputGroup = listIndex(r.ritugrp_lay, 16);
    c.outputLayer = listIndex(r.rituno_lay, 16);
    return c;
}

void ElevationForm::OnOK(const ElevationControls& c)
{
    CRituInfo& r = m_ritu;
    if (c.floorIndex >= 0) r.kai = c.floorIndex + 1;
    r.btateg = c.fittings ? 1 : 0;
    r.btext = c.label ? 1 : 0;
    r.bgaiheki1 = c.fromWalls ? 1 : 0;
    r.bgaiheki2 = c.outerWallLines ? 1 : 0;
    if (const double v = parseDouble(c.foundation); v >= 0) r.kisodaka = v;
    if (const double v = parseDouble(c.eaves1); v > 0) r.nokidaka1 = v;
    if (const double v = parseDouble(c.eaves2); v > 0) r.nokidaka2 = v;
    if (const double v = parseDouble(c.eaves3); v > 0) r.nokidaka3 = v;
    r.byane = c.roofs ? 1 : 0;
    if (c.floorLayers[2] >= 0) r.lay_3 = c.floorLayers[2];
    if (c.floorLayers[1] >= 0) r.lay_2 = c.floorLayers[1];
    if (c.floorLayers[0] >= 0) r.lay_1 = c.floorLayers[0];
    if (c.outputGroup >= 0) r.ritugrp_lay = c.outputGroup;
    if (c.outputLayer >= 0) r.rituno_lay = c.outputLayer;
    if (c.direction >= 0 && c.direction <= 4) r.houkou = c.direction;
}

RoofControls RoofForm::Init() const
{
    return {m_ritu.yanetype == 0, formatFixed(m_ritu.yanekoubai_a, 2), formatFixed(m_ritu.yanekoubai_b, 2),
            formatFixed(m_ritu.nokide, 0), formatFixed(m_ritu.keraba, 0)};
}

void RoofForm::OnOK(const RoofControls& c)
{
    m_ritu.yanetype = c.hip ? 0 : 1;
    if (const double v = parseDouble(c.pitchA); v > 0) m_ritu.yanekoubai_a = v;
    if (const double v = parseDouble(c.pitchB); v > 0) m_ritu.yanekoubai_b = v;
    if (const double v = parseDouble(c.eaves); v > 0) m_ritu.nokide = v;
    if (const double v = parseDouble(c.verge); v > 0) m_ritu.keraba = v;
}

std::string BalconyForm::Show(double value)
{
    return formatFixed(value, value == std::floor(value) ? 0 : 1);
}

void BalconyForm::OnOK(const std::string& height, const std::string& mounting)
{
    if (const double v = parseDouble(height); v > 0) m_ritu.baltakasa = v;
    const double m = parseDouble(mounting);
    if (std::isfinite(m)) m_ritu.baltoritakasa = m;
}

// -- dialogs ---------------------------------------------------------------------------------------

CRitumenSetDlg::CRitumenSetDlg(const CRituInfo& ritu, QWidget* parent) : QDialog(parent), m_form(ritu)
{
    setWindowTitle(QStringLiteral("立面図作成画面"));
    const ElevationControls c = m_form.Init();
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;

    auto* eaves = new QGroupBox(QStringLiteral("軒高"));
    auto* eg = new QGridLayout(eaves);
    m_floors = numberList(3, 1);
    m_floors->setCurrentIndex(c.floorIndex);
    eg->addWidget(new QLabel(QStringLiteral("階数")), 0, 0);
    eg->addWidget(m_floors, 0, 1);
    const char* heightLabels[] = {"３階軒高", "２階軒高", "１階軒高", "基礎高"};
    const std::string heightTexts[] = {c.eaves3, c.eaves2, c.eaves1, c.foundation};
    for (std::size_t k = 0; k < 4; ++k) {
        m_heights[k] = edit(heightTexts[k]);
        eg->addWidget(new QLabel(QString::fromUtf8(heightLabels[k])), int(k) + 1, 0);
        eg->addWidget(m_heights[k], int(k) + 1, 1);
        eg->addWidget(new QLabel(QStringLiteral("mm")), int(k) + 1, 2);
    }
    top->addWidget(eaves);

    auto* directions = new QGroupBox(QStringLiteral("作成方向"));
    auto* dl = new QVBoxLayout(directions);
    const char* directionLabels[] = {"全方向", "南側立面図", "北側立面図", "東側立面図", "西側立面図"};
    for (std::size_t k = 0; k < 5; ++k) {
        m_directions[k] = new QRadioButton(QString::fromUtf8(directionLabels[k]));
        dl->addWidget(m_directions[k]);
    }
    if (c.direction >= 0) m_directions[std::size_t(c.direction)]->setChecked(true);
    top->addWidget(directions);

    auto* layers = new QGroupBox(QStringLiteral("設定レイヤ"));
    auto* lg = new QGridLayout(layers);
    lg->addWidget(new QLabel(QStringLiteral("グループレイヤ")), 0, 1);
    const char* floorLabels[] = {"３階", "２階", "１階"};
    for (std::size_t k = 0; k < 3; ++k) {
        m_floorLayers[k] = numberList(16, 0);
        m_floorLayers[k]->setCurrentIndex(c.floorLayers[2 - k]);
        lg->addWidget(new QLabel(QString::fromUtf8(floorLabels[k])), int(k) + 1, 0);
        lg->addWidget(m_floorLayers[k], int(k) + 1, 1);
    }
    auto* output = new QHBoxLayout;
    m_outputGroup = numberList(16, 0);
    m_outputLayer = numberList(16, 0);
    m_outputGroup->setCurrentIndex(c.outputGroup);
    m_outputLayer->setCurrentIndex(c.outputLayer);
    output->addWidget(m_outputGroup);
    output->addWidget(new QLabel(QStringLiteral("-")));
    output->addWidget(m_outputLayer);
    lg->addWidget(new QLabel(QStringLiteral("出力先")), 4, 0);
    lg->addLayout(output, 4, 1);
    top->addWidget(layers);
    layout->addLayout(top);

    auto* other = new QGroupBox(QStringLiteral("その他"));
    auto* ol = new QVBoxLayout(other);
    const char* checkLabels[] = {"壁や部屋から自動的に外壁線を作成する", "外壁線作成で作った外壁線を作成する",
                                 "屋根を作成する", "建具を立面表示する", "図面方向を文字で出力する"};
    const bool ticks[] = {c.fromWalls, c.outerWallLines, c.roofs, c.fittings, c.label};
    for (std::size_t k = 0; k < 5; ++k) {
        m_checks[k] = new QCheckBox(QString::fromUtf8(checkLabels[k]));
        m_checks[k]->setChecked(ticks[k]);
        ol->addWidget(m_checks[k]);
    }
    layout->addWidget(other);
    layout->addWidget(okCancel(this, "作成"));
}

void CRitumenSetDlg::accept()
{
    ElevationControls c;
    c.floorIndex = m_floors->currentIndex();
    c.eaves3 = textOf(m_heights[0]);
    c.eaves2 = textOf(m_heights[1]);
    c.eaves1 = textOf(m_heights[2]);
    c.foundation = textOf(m_heights[3]);
    c.direction = -1;
    for (std::size_t k = 0; k < 5; ++k)
        if (m_directions[k]->isChecked()) {
            c.direction = int(k);
            break;
        }
    c.fromWalls = m_checks[0]->isChecked();
    c.outerWallLines = m_checks[1]->isChecked();
    c.roofs = m_checks[2]->isChecked();
    c.fittings = m_checks[3]->isChecked();
    c.label = m_checks[4]->isChecked();
    c.floorLayers = {m_floorLayers[2]->currentIndex(), m_floorLayers[1]->currentIndex(),
                     m_floorLayers[0]->currentIndex()};
    c.outputGroup = m_outputGroup->currentIndex();
    c.outputLayer = m_outputLayer->currentIndex();
    m_form.OnOK(c);
    QDialog::accept();
}

CRituYaneDlg::CRituYaneDlg(const CRituInfo& ritu, QWidget* parent) : QDialog(parent), m_form(ritu)
{
    setWindowTitle(QStringLiteral("立面用屋根"));
    const RoofControls c = m_form.Init();
    auto* layout = new QVBoxLayout(this);
    auto* kinds = new QHBoxLayout;
    m_hip = new QRadioButton(QStringLiteral("寄棟"));
    m_gable = new QRadioButton(QStringLiteral("切妻"));
    (c.hip ? m_hip : m_gable)->setChecked(true);
    kinds->addWidget(m_hip);
    kinds->addWidget(m_gable);
    layout->addLayout(kinds);
    auto* grid = new QGridLayout;
    m_pitchA = edit(c.pitchA);
    m_pitchB = edit(c.pitchB);
    m_eaves = edit(c.eaves);
    m_verge = edit(c.verge);
    grid->addWidget(new QLabel(QStringLiteral("屋根勾配")), 0, 0);
    auto* pitch = new QHBoxLayout;
    pitch->addWidget(m_pitchA);
    pitch->addWidget(new QLabel(QStringLiteral("/")));
    pitch->addWidget(m_pitchB);
    grid->addLayout(pitch, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("軒の出")), 1, 0);
    grid->addWidget(m_eaves, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("けらばの出")), 2, 0);
    grid->addWidget(m_verge, 2, 1);
    layout->addLayout(grid);
    layout->addWidget(okCancel(this, "OK"));
}

void CRituYaneDlg::accept()
{
    m_form.OnOK({m_hip->isChecked(), textOf(m_pitchA), textOf(m_pitchB), textOf(m_eaves), textOf(m_verge)});
    QDialog::accept();
}

CRituBalDlg::CRituBalDlg(const CRituInfo& ritu, QWidget* parent) : QDialog(parent), m_form(ritu)
{
    setWindowTitle(QStringLiteral("バルコニー高さ設定"));
    const auto texts = m_form.Init();
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_height = edit(texts[0]);
    m_mounting = edit(texts[1]);
    grid->addWidget(new QLabel(QStringLiteral("高さ")), 0, 0);
    grid->addWidget(m_height, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("取付高さ")), 1, 0);
    grid->addWidget(m_mounting, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mm")), 1, 2);
    layout->addLayout(grid);
    layout->addWidget(okCancel(this, "OK"));
}

void CRituBalDlg::accept()
{
    m_form.OnOK(textOf(m_height), textOf(m_mounting));
    QDialog::accept();
}

} // namespace kov::dialogs
