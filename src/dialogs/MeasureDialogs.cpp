#include "dialogs/MeasureDialogs.h"

#include "dialogs/SettingsWidgets.h"
#include "model/KovUnit.h"
#include "platform/NumberText.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kov::dialogs {

namespace {

using ui::named;
using ui::qs;

constexpr std::array<int, 5> kListOrder{0, 2, 1, 3, 4};

std::string n(int value) { return kov::platform::formatInt(value); }

} // namespace

// -- the measuring result -----------------------------------------------------------------------

std::vector<std::string> MeasureResultForm::ListNames() const
{
    std::vector<std::string> names;
    for (int code : kListOrder)
        names.push_back(units[static_cast<std::size_t>(code)]);
    return names;
}

int MeasureResultForm::ListLine() const
{
    for (std::size_t line = 0; line < kListOrder.size(); ++line)
        if (kListOrder[line] == unit)
            return static_cast<int>(line);
    return -1;
}

std::string MeasureResultForm::EditText() const
{
    return unit >= 0 && unit < 5 ? texts[static_cast<std::size_t>(unit)] : std::string();
}

void MeasureResultForm::OnChoice(int line)
{
    if (line >= 0 && line < 5)
        unit = kListOrder[static_cast<std::size_t>(line)];
}

void MeasureResultForm::OnOK(const std::string& edited)
{
    if (unit >= 0 && unit < 5)
        texts[static_cast<std::size_t>(unit)] = edited;
}

MeasureResultDialog::MeasureResultDialog(MeasureResultForm form, QWidget* parent)
    : QDialog(parent), m_form(std::move(form))
{
    setWindowTitle(QString::fromUtf8(MeasureResultForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(named(new QLabel(qs(m_form.label)), "label"));
    auto* row = new QHBoxLayout;
    m_edit = named(new QLineEdit(qs(m_form.EditText())), "value");
    m_edit->setMinimumWidth(160);
    row->addWidget(m_edit);
    auto* units = new QGroupBox(QStringLiteral("単位"));
    auto* unitsLayout = new QVBoxLayout(units);
    auto* list = named(new QComboBox, "unit");
    for (const std::string& name : m_form.ListNames())
        list->addItem(qs(name));
    list->setCurrentIndex(m_form.ListLine());
    unitsLayout->addWidget(list);
    row->addWidget(units);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QString::fromUtf8(MeasureResultForm::kOutput), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8(MeasureResultForm::kClose), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(list, qOverload<int>(&QComboBox::activated), this, [this](int line) {
        m_form.OnChoice(line);
        m_edit->setText(qs(m_form.EditText()));
    });
}

void MeasureResultDialog::accept()
{
    m_form.OnOK(m_edit->text().toStdString());
    QDialog::accept();
}

// -- the object count ---------------------------------------------------------------------------

const std::array<const char*, ObjectCountForm::kRows> ObjectCountForm::kBoxes{
    "グループ（部品）", "部屋", "建具", "壁", "柱", "図形", "文字", "画像"};

ObjectCountForm::ObjectCountForm(const CKovUnit& unit, int layerGroup, int layer)
    : m_unit(unit), m_group(layerGroup), m_layer(layer)
{
    count();
}

std::string ObjectCountForm::Caption() const
{
    if (m_scope == LAYER)
        return "レイヤー" + n(m_group) + "-" + n(m_layer);
    if (m_scope == LAYER_GROUP)
        return "グループレイヤー" + n(m_group);
    return "全レイヤー";
}

void ObjectCountForm::OnScope(int scope)
{
    m_scope = scope == LAYER || scope == LAYER_GROUP ? scope : ALL_LAYERS;
    count();
}

void ObjectCountForm::count()
{
    auto inScope = [this](int group, int layer) {
        return m_scope == ALL_LAYERS || (group == m_group && (m_scope == LAYER_GROUP || layer == m_layer));
    };
    int parts = 0, rooms = 0, fittings = 0;
    for (const auto& g : m_unit.m_Groups) {
        if (!inScope(g->MGrpLayer1, g->MGrpLayer2))
            continue;
        parts += g->MGrpRoom <= CKovGroup::PLAIN;
        rooms += g->MGrpRoom == CKovGroup::ROOM;
        fittings += g->MGrpRoom == CKovGroup::FITTING;
    }
    std::array<int, 2> walls{};
    std::array<int, 3> columns{};
    for (const auto& w : m_unit.m_Walls) {
        if (!inScope(w->MWallLayer1, w->MWallLayer2))
            continue;
        if (w->MWall_Type == CKovWall::WALL && (w->MWallType == 0 || w->MWallType == 1))
            ++walls[static_cast<std::size_t>(w->MWallType)];
        else if (w->MWall_Type == CKovWall::COLUMN && w->MHasiraType >= 0 && w->MHasiraType <= 2)
            ++columns[static_cast<std::size_t>(w->MHasiraType)];
    }
    // Lines, rectangles, polygons, circles, arcs and continuous lines outside every group.
    std::array<int, 7> figures{};
    for (const auto& f : m_unit.m_Lines) {
        if (!inScope(f->MLineLayer1, f->MLineLayer2) || f->MLineType < 0 || f->MLineType > 6)
            continue;
        if (f->MLineGrpID != 0 && m_unit.FindGroup(f->MLineGrpID))
            continue;
        ++figures[static_cast<std::size_t>(f->MLineType)];
    }
    int texts = 0;
    for (const auto& t : m_unit.m_Texts)
        texts += inScope(t->MTextLayer1, t->MTextLayer2);
    int pictures = 0;
    for (const auto& p : m_unit.m_Images)
        pictures += inScope(p->IMGLayer1, p->IMGLayer2);

    m_lines[PARTS] = "部品:" + n(parts);
    m_lines[ROOMS] = "部屋:" + n(rooms);
    m_lines[FITTINGS] = "建具:" + n(fittings);
    m_lines[WALLS] = "大壁:" + n(walls[0]) + "　真壁:" + n(walls[1]);
    m_lines[COLUMNS] = "管柱:" + n(columns[0]) + "　間柱:" + n(columns[1]) + "　通柱:" + n(columns[2]);
    m_lines[FIGURES] = "直線:" + n(figures[0]) + "　四角:" + n(figures[1]) + "　多角:" + n(figures[2]) +
                       "　円:" + n(figures[3]) + "　円弧:" + n(figures[4]) + "　連続:" + n(figures[6]);
    m_lines[TEXTS] = "文字:" + n(texts);
    m_lines[PICTURES] = "画像:" + n(pictures);
}

std::string ObjectCountForm::Output() const
{
    std::string out;
    for (std::size_t i = 0; i < kRows; ++i) {
        if (!ticked[i])
            continue;
        if (!out.empty())
            out += "\r\n";
        out += m_lines[i];
    }
    return out;
}

ObjectCountDialog::ObjectCountDialog(const CKovUnit& unit, int layerGroup, int layer, QWidget* parent)
    : QDialog(parent), m_form(unit, layerGroup, layer)
{
    setWindowTitle(QString::fromUtf8(ObjectCountForm::kTitle));
    auto* layout = new QVBoxLayout(this);
    m_caption = named(new QLabel, "caption");
    layout->addWidget(m_caption);
    auto* scopes = new QButtonGroup(this);
    auto* scopeRow = new QHBoxLayout;
    const struct {
        int scope;
        const char* text;
        const char* name;
    } radios[] = {{ObjectCountForm::LAYER, "編集中レイヤー番号", "scopeLayer"},
                  {ObjectCountForm::LAYER_GROUP, "編集中グループレイヤー", "scopeGroup"},
                  {ObjectCountForm::ALL_LAYERS, "全レイヤー", "scopeAll"}};
    for (const auto& r : radios) {
        auto* b = named(new QRadioButton(QString::fromUtf8(r.text)), r.name);
        b->setChecked(r.scope == ObjectCountForm::LAYER);
        scopes->addButton(b, r.scope);
        scopeRow->addWidget(b);
    }
    layout->addLayout(scopeRow);
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < ObjectCountForm::kRows; ++i) {
        m_boxes[i] = named(new QCheckBox(QString::fromUtf8(ObjectCountForm::kBoxes[i])),
                           ("box" + std::to_string(i)).c_str());
        m_lines[i] = new QLabel;
        grid->addWidget(m_boxes[i], static_cast<int>(i), 0);
        grid->addWidget(m_lines[i], static_cast<int>(i), 1);
        connect(m_boxes[i], &QCheckBox::toggled, this, [this, i](bool on) { m_form.ticked[i] = on; });
    }
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("*図形はグループに含まれていないもののみ")));
    layout->addWidget(new QLabel(QStringLiteral("*チェックのついたものを文字出力")));
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("文字として出力"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(scopes, &QButtonGroup::idClicked, this, [this](int scope) {
        m_form.OnScope(scope);
        Refresh();
    });
    Refresh();
}

void ObjectCountDialog::Refresh()
{
    m_caption->setText(qs(m_form.Caption()));
    for (std::size_t i = 0; i < ObjectCountForm::kRows; ++i) {
        m_boxes[i]->setChecked(m_form.ticked[i]);
        m_lines[i]->setText(qs(m_form.Lines()[i]));
    }
}

} // namespace kov::dialogs
