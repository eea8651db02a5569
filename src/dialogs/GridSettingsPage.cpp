#include "dialogs/GridSettingsPage.h"

#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/SettingsValues.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string>

namespace kov::dialogs {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;
using ui::control;
using ui::named;
using ui::qs;

std::array<std::uint32_t, GridPageForm::kColours> GridPageForm::StandardColours()
{
    const CGrid standard;
    std::array<std::uint32_t, kColours> out{};
    for (int i = 0; i < CGrid::kGrids; ++i) out[static_cast<std::size_t>(i)] = standard.color[static_cast<std::size_t>(i)];
    out[CGrid::kGrids] = standard.colorp;
    return out;
}

std::uint32_t& GridPageForm::colourRef(int index)
{
    return index < CGrid::kGrids ? grid.color[static_cast<std::size_t>(index)] : grid.colorp;
}

std::uint32_t GridPageForm::colour(int index) const
{
    return index < CGrid::kGrids ? grid.color[static_cast<std::size_t>(index)] : grid.colorp;
}

void GridPageForm::OnInitDialog()
{
    dots = grid.app_griddot ? 1 : 0;
    marks = grid.GridMemori ? 1 : 0;
    marksType = grid.GridMemoriType == 0 ? 0 : grid.GridMemoriType == 1 ? 1 : -1;
    thick = m_services.profile->GetProfileInt(kSectionPlotMenu, "app_grid_hutosa", 1) != 1 ? 1 : 0;
    printGrid = m_services.Read(kSectionUtility, "app_printgrid", 0, true) ? 1 : 0;
}

bool GridPageForm::ChooseColour(int index)
{
    if (index < 0 || index >= kColours) return false;
    const std::optional<std::uint32_t> c = m_services.questions->chooseColor(colourRef(index));
    if (!c) return false;
    colourRef(index) = *c;
    return true;
}

void GridPageForm::UseStandardColours()
{
    const auto standard = StandardColours();
    for (int i = 0; i < kColours; ++i) colourRef(i) = standard[static_cast<std::size_t>(i)];
}

void GridPageForm::OnOK()
{
    grid.app_griddot = dots;
    grid.GridMemori = marks;
    grid.GridMemoriType = marksType == 0 ? 0 : 1;
    m_services.profile->WriteProfileInt(kSectionPlotMenu, "app_grid_hutosa", thick ? 2 : 1);
    m_services.Write(kSectionUtility, "app_printgrid", printGrid, true);
}

GridSettingsPage::GridSettingsPage(GridPageForm& form, QWidget* parent) : QWidget(parent), m_form(form)
{
    auto* layout = new QVBoxLayout(this);
    auto check = [&](const char* name, const char* label, int& value) {
        auto* box = named(new QCheckBox(qs(label)), name);
        connect(box, &QCheckBox::toggled, this, [&value](bool on) { value = on ? 1 : 0; });
        layout->addWidget(box);
        return box;
    };
    check("app_griddot", texts::kGridDots, m_form.dots);
    check("memori", texts::kGridMarks, m_form.marks);
    auto* types = new QButtonGroup(this);
    auto* real = named(new QRadioButton(qs(texts::kGridMarksReal)), "memtype0");
    auto* count = named(new QRadioButton(qs(texts::kGridMarksCount)), "memtype1");
    types->addButton(real, 0);
    types->addButton(count, 1);
    auto* typeRow = new QHBoxLayout;
    typeRow->addSpacing(20);
    typeRow->addWidget(real);
    typeRow->addWidget(count);
    typeRow->addStretch(1);
    layout->addLayout(typeRow);
    connect(types, &QButtonGroup::idClicked, this, [this](int id) { m_form.marksType = id; });
    check("app_printgrid", texts::kGridPrint, m_form.printGrid);
    check("app_grid_hutosa", texts::kGridThick, m_form.thick);
    auto* colours = new QGroupBox;
    auto* grid = new QGridLayout(colours);
    for (int i = 0; i < GridPageForm::kColours; ++i) {
        grid->addWidget(new QLabel(qs(i < CGrid::kGrids ? texts::kGridColour[i] : texts::kGridPrintColour)), i, 0);
        auto* sample = named(new QLabel, ("sample" + std::to_string(i)).c_str());
        sample->setFixedSize(80, 18);
        sample->setFrameShape(QFrame::Box);
        grid->addWidget(sample, i, 1);
        auto* pick = named(new QPushButton(qs(texts::kColourButton)), ("pick" + std::to_string(i)).c_str());
        pick->setFixedWidth(32);
        connect(pick, &QPushButton::clicked, this, [this, i] {
            if (m_form.ChooseColour(i)) ui::paintSample(control<QLabel>(this, ("sample" + std::to_string(i)).c_str()), m_form.colour(i));
        });
        grid->addWidget(pick, i, 2);
    }
    auto* standard = named(new QPushButton(qs(texts::kGridStandardColours)), "standard");
    connect(standard, &QPushButton::clicked, this, [this] {
        m_form.UseStandardColours();
        sync();
    });
    grid->addWidget(standard, GridPageForm::kColours, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    layout->addWidget(colours);
    layout->addWidget(new QLabel(qs(texts::kGridSpacingNote)));
    layout->addStretch(1);
    sync();
}

void GridSettingsPage::sync()
{
    const QSignalBlocker block(this);
    for (const auto& [name, value] : {std::pair{"app_griddot", m_form.dots}, std::pair{"memori", m_form.marks},
                                      std::pair{"app_printgrid", m_form.printGrid}, std::pair{"app_grid_hutosa", m_form.thick}})
        control<QCheckBox>(this, name)->setChecked(value != 0);
    control<QRadioButton>(this, "memtype0")->setChecked(m_form.marksType == 0);
    control<QRadioButton>(this, "memtype1")->setChecked(m_form.marksType == 1);
    for (int i = 0; i < GridPageForm::kColours; ++i)
        ui::paintSample(control<QLabel>(this, ("sample" + std::to_string(i)).c_str()), m_form.colour(i));
}

} // namespace kov::dialogs
