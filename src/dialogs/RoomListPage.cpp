#include "dialogs/RoomListPage.h"

#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "render/Swatches.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

using kov::model::kSectionUtility;
using kov::model::RoomListEntry;
using kov::model::RoomNameProblem;
using kov::platform::rgbColor;
using ui::control;
using ui::named;
using ui::qs;

const std::array<std::uint32_t, 26>& RoomPageForm::Palette()
{
    static const std::array<std::uint32_t, 26> palette = {
        rgbColor(0, 0, 0),       rgbColor(255, 0, 0),     rgbColor(0, 255, 0),     rgbColor(255, 255, 0),
        rgbColor(0, 0, 255),     rgbColor(255, 0, 255),   rgbColor(0, 255, 255),   rgbColor(255, 128, 0),
        rgbColor(128, 128, 128), rgbColor(192, 64, 0),    rgbColor(192, 192, 0),   rgbColor(192, 0, 192),
        rgbColor(0, 0, 192),     rgbColor(255, 255, 255), rgbColor(255, 192, 192), rgbColor(192, 255, 192),
        rgbColor(255, 255, 192), rgbColor(192, 192, 255), rgbColor(255, 192, 255), rgbColor(192, 255, 255),
        rgbColor(0, 192, 192),   rgbColor(192, 192, 192), rgbColor(255, 128, 128), rgbColor(224, 224, 224),
        rgbColor(128, 128, 255), rgbColor(0, 192, 192)};
    return palette;
}

int RoomPageForm::PaletteEntryAt(int x, int y, int width, int height)
{
    const int cw = width / kPaletteColumns, ch = height / kPaletteRows;
    if (cw <= 0 || ch <= 0 || x < 0 || y < 0) return -1;
    const int col = x / cw, row = y / ch;
    if (col >= kPaletteColumns || row >= kPaletteRows) return -1;
    if (x == col * cw || y == row * ch) return -1; // on the line between two cells
    return row * kPaletteColumns + col;
}

std::filesystem::path RoomPageForm::file() const { return m_services.folders.roomListFile(m_services.switches()); }

void RoomPageForm::OnInitDialog()
{
    const CFontMenu font = buffer.m_Font;
    buffer = CRoomInfo();
    buffer.m_Font = font;
    buffer.Room_bRoomColor = 0;
    buffer.Room_RoomColor = rgbColor(255, 255, 255);
    buffer.Room_bHachColor = 0;
    buffer.Room_HachColor = 0;
    buffer.Room_HachType = 0;
    buffer.Room_HachKankaku = kov::model::kRoomDefaultSpacing;
    buffer.Room_Name.clear();
    nameEdit.clear();
    spacingText.clear();
    patternChoice = 0;
    const kov::platform::Profile& p = *m_services.profile;
    areaInSquareMetres = p.GetProfileInt(kSectionUtility, "room_heibei", 0) ? 1 : 0;
    matWordTatami = p.GetProfileInt(kSectionUtility, "room_heyack_jyou_name", 0) ? 1 : 0;
    mildGradient = p.GetProfileInt(kSectionUtility, "room_grad_mild", 1) ? 1 : 0;
    rooms = kov::model::ReadRoomListFile(file(), buffer.Room_HachKankaku);
    selected = -1;
    if (!rooms.empty()) Select(0);
}

void RoomPageForm::ShowRoom(int index)
{
    if (index < 0 || index >= static_cast<int>(rooms.size())) return;
    const RoomListEntry& r = rooms[static_cast<std::size_t>(index)];
    nameEdit = r.name;
    buffer.Room_bRoomColor = r.fill;
    buffer.Room_RoomColor = r.fillColour;
    buffer.Room_bHachColor = r.hatch;
    buffer.Room_HachColor = r.hatchColour;
    buffer.Room_HachType = r.hatchType;
    buffer.Room_HachKankaku = kov::platform::parseDouble(r.spacing);
    buffer.Room_Name = r.name;
    spacingText = kov::platform::formatFixed(buffer.Room_HachKankaku, 3);
    if (!r.hatch) {
        patternChoice = 0;
        return;
    }
    for (int i = 0; i < 9; ++i)
        if (kHatchEntries[i].type == r.hatchType) patternChoice = i;
}

void RoomPageForm::Select(int index)
{
    if (rooms.empty() || index < 0 || index >= static_cast<int>(rooms.size())) return;
    selected = index;
    ShowRoom(index);
}

void RoomPageForm::FillChecked(bool on) { buffer.Room_bRoomColor = on ? 1 : 0; }

void RoomPageForm::HatchChecked(bool on)
{
    buffer.Room_bHachColor = on ? 1 : 0;
    if (on && patternChoice >= 0 && patternChoice < 9) buffer.Room_HachType = kHatchEntries[patternChoice].type;
}

void RoomPageForm::PatternChosen(int entry)
{
    if (entry < 0 || entry >= 9) return;
    patternChoice = entry;
    if (buffer.Room_bHachColor) buffer.Room_HachType = kHatchEntries[entry].type;
}

bool RoomPageForm::PaletteClick(bool hatchPalette, int x, int y, int width, int height)
{
    const int entry = PaletteEntryAt(x, y, width, height);
    if (entry < 0) return false;
    (hatchPalette ? buffer.Room_HachColor : buffer.Room_RoomColor) = Palette()[static_cast<std::size_t>(entry)];
    return true;
}

bool RoomPageForm::OtherColour(bool hatchPalette)
{
    std::uint32_t& colour = hatchPalette ? buffer.Room_HachColor : buffer.Room_RoomColor;
    const std::optional<std::uint32_t> c = m_services.questions->chooseColor(colour);
    if (!c) return false;
    colour = *c;
    return true;
}

void RoomPageForm::SpacingEdited(const std::string& text)
{
    spacingText = text;
    const double v = kov::platform::parseDouble(text);
    if (v >= 1 && v <= 1000) buffer.Room_HachKankaku = v;
}

std::optional<RoomListEntry> RoomPageForm::built() const
{
    RoomListEntry r;
    r.name = nameEdit;
    r.fill = buffer.Room_bRoomColor;
    r.fillColour = buffer.Room_RoomColor;
    r.hatch = buffer.Room_bHachColor;
    r.hatchColour = buffer.Room_HachColor;
    r.hatchType = buffer.Room_HachType;
    r.spacing = kov::platform::formatFixed(buffer.Room_HachKankaku);
    const char* refusal = nullptr;
    switch (kov::model::CheckRoomName(r)) {
    case RoomNameProblem::None: return r;
    case RoomNameProblem::Empty: refusal = texts::kRoomNameMissing; break;
    case RoomNameProblem::Comma: refusal = texts::kRoomNameComma; break;
    case RoomNameProblem::LineBreak: refusal = texts::kRoomNameBreak; break;
    case RoomNameProblem::NotCp932: refusal = texts::kRoomNameNotCp932; break;
    case RoomNameProblem::TooLong: refusal = texts::kRoomNameTooLong; break;
    }
    m_services.questions->message(refusal);
    return std::nullopt;
}

bool RoomPageForm::Add()
{
    const auto r = built();
    if (!r) return false;
    rooms.push_back(*r);
    return true;
}

bool RoomPageForm::Insert()
{
    if (selected < 0 || selected >= static_cast<int>(rooms.size())) return false;
    const auto r = built();
    if (!r) return false;
    rooms.insert(rooms.begin() + selected, *r);
    ++selected; // the selection stays on the room it was on
    return true;
}

bool RoomPageForm::Change()
{
    if (selected < 0 || selected >= static_cast<int>(rooms.size())) return false;
    const auto r = built();
    if (!r) return false;
    rooms[static_cast<std::size_t>(selected)] = *r;
    return true;
}

bool RoomPageForm::Delete()
{
    if (selected < 0 || selected >= static_cast<int>(rooms.size())) return false;
    rooms.erase(rooms.begin() + selected);
    selected = -1; // the buffer and the controls keep the removed room's values
    return true;
}

bool RoomPageForm::canChangeFont() const { return static_cast<bool>(m_services.editRoomFont); }

bool RoomPageForm::ChangeFont()
{
    if (!m_services.editRoomFont) return false;
    CFontMenu font = buffer.m_Font;
    if (!m_services.editRoomFont(font)) return false;
    buffer.m_Font = font;
    return true;
}

void RoomPageForm::OnOK() const
{
    kov::platform::Profile& p = *m_services.profile;
    p.WriteProfileInt(kSectionUtility, "room_heibei", areaInSquareMetres);
    p.WriteProfileInt(kSectionUtility, "room_heyack_jyou_name", matWordTatami);
    p.WriteProfileInt(kSectionUtility, "room_grad_mild", mildGradient);
    std::string error;
    if (!kov::model::WriteRoomListFile(file(), rooms, &error))
        m_services.questions->message(std::string(texts::kRoomFileFailed) + "\n" + error, {},
                                      kov::platform::MessageIcon::Warning);
}

int RoomPageForm::tatamiBorders() const { return m_services.Read(kSectionUtility, "app_tatamiheri", 1, true); }

// -- the page's widget ----------------------------------------------------------------------------

RoomSettingsPage::RoomSettingsPage(RoomPageForm& form, QWidget* parent) : QWidget(parent), m_form(form)
{
    auto* layout = new QVBoxLayout(this);
    auto* common = new QGroupBox(qs(texts::kCommonGroup));
    auto* cl = new QGridLayout(common);
    auto* fontButton = named(new QPushButton(qs(texts::kRoomFont)), "roomfont");
    cl->addWidget(fontButton, 0, 0);
    auto* areas = new QButtonGroup(this);
    auto* mats = named(new QRadioButton(qs(texts::kAreaInMats)), "room_heibei0");
    auto* metres = named(new QRadioButton(qs(texts::kAreaInSquareMetres)), "room_heibei1");
    areas->addButton(mats, 0);
    areas->addButton(metres, 1);
    cl->addWidget(mats, 0, 1);
    cl->addWidget(metres, 0, 2);
    auto* words = new QButtonGroup(this);
    cl->addWidget(new QLabel(qs(texts::kMatWordLabel)), 1, 0, Qt::AlignRight);
    auto* jou = named(new QRadioButton(qs(texts::kMatWordJou)), "room_heyack_jyou_name0");
    auto* tatami = named(new QRadioButton(qs(texts::kMatWordTatami)), "room_heyack_jyou_name1");
    words->addButton(jou, 0);
    words->addButton(tatami, 1);
    cl->addWidget(jou, 1, 1);
    cl->addWidget(tatami, 1, 2);
    auto* mild = named(new QCheckBox(qs(texts::kMildGradient)), "room_grad_mild");
    cl->addWidget(mild, 2, 0, 1, 3);
    cl->setColumnStretch(3, 1);
    layout->addWidget(common);

    auto* roomBox = new QGroupBox(qs(texts::kRoomGroup));
    auto* rl = new QGridLayout(roomBox);
    auto* list = named(new QListWidget, "rooms");
    list->setMinimumWidth(150);
    rl->addWidget(list, 0, 0, 6, 1);
    auto* preview = named(new QLabel, "preview");
    preview->setFixedSize(120, 80);
    preview->setFrameShape(QFrame::Box);
    rl->addWidget(preview, 0, 1, 3, 1);
    auto* buttons = new QVBoxLayout;
    for (const auto& [name, caption] : {std::pair{"change", texts::kRoomChange}, std::pair{"add", texts::kRoomAdd},
                                        std::pair{"insert", texts::kRoomInsert}, std::pair{"delete", texts::kRoomDelete}})
        buttons->addWidget(named(new QPushButton(qs(caption)), name));
    rl->addLayout(buttons, 0, 2, 3, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(qs(texts::kRoomName)));
    nameRow->addWidget(named(new QLineEdit, "name"), 1);
    rl->addLayout(nameRow, 3, 1, 1, 2);
    auto* fill = named(new QCheckBox(qs(texts::kRoomFill)), "fill");
    rl->addWidget(fill, 4, 1);
    auto* fillPalette = named(new QLabel, "fillPalette");
    fillPalette->setFixedSize(13 * 16 + 1, 2 * 16 + 1);
    fillPalette->installEventFilter(this);
    rl->addWidget(fillPalette, 5, 1);
    auto* fillOther = named(new QPushButton(qs(texts::kOtherColour)), "fillOther");
    rl->addWidget(fillOther, 5, 2, Qt::AlignTop);
    auto* hatch = named(new QCheckBox(qs(texts::kRoomHatch)), "hatch");
    rl->addWidget(hatch, 6, 1, 1, 2);
    auto* patterns = named(new QComboBox, "pattern");
    for (const auto& e : RoomPageForm::kHatchEntries) patterns->addItem(qs(e.label));
    rl->addWidget(patterns, 7, 1);
    auto* hatchPalette = named(new QLabel, "hatchPalette");
    hatchPalette->setFixedSize(13 * 16 + 1, 2 * 16 + 1);
    hatchPalette->installEventFilter(this);
    rl->addWidget(hatchPalette, 8, 1);
    auto* hatchOther = named(new QPushButton(qs(texts::kOtherColour)), "hatchOther");
    rl->addWidget(hatchOther, 8, 2, Qt::AlignTop);
    auto* spacingRow = new QHBoxLayout;
    spacingRow->addWidget(new QLabel(qs(texts::kHatchSpacing)));
    auto* spacing = named(new QLineEdit, "spacing");
    spacing->setFixedWidth(70);
    spacingRow->addWidget(spacing);
    spacingRow->addWidget(new QLabel(qs(texts::kHatchSpacingUnit)));
    spacingRow->addStretch(1);
    rl->addLayout(spacingRow, 9, 1, 1, 2);
    layout->addWidget(roomBox, 1);

    connect(areas, &QButtonGroup::idClicked, this, [this](int id) { m_form.areaInSquareMetres = id; });
    connect(words, &QButtonGroup::idClicked, this, [this](int id) { m_form.matWordTatami = id; });
    connect(mild, &QCheckBox::toggled, this, [this](bool on) { m_form.mildGradient = on ? 1 : 0; });
    connect(fontButton, &QPushButton::clicked, this, [this] { m_form.ChangeFont(); });
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_syncing) return;
        m_form.Select(row);
        sync();
    });
    connect(control<QLineEdit>(this, "name"), &QLineEdit::textChanged, this,
            [this](const QString& t) { m_form.nameEdit = t.toStdString(); });
    connect(fill, &QCheckBox::clicked, this, [this](bool on) {
        m_form.FillChecked(on);
        paintSamples();
    });
    connect(hatch, &QCheckBox::clicked, this, [this](bool on) {
        m_form.HatchChecked(on);
        paintSamples();
    });
    connect(patterns, &QComboBox::activated, this, [this](int entry) {
        m_form.PatternChosen(entry);
        paintSamples();
    });
    connect(fillOther, &QPushButton::clicked, this, [this] {
        if (m_form.OtherColour(false)) paintSamples();
    });
    connect(hatchOther, &QPushButton::clicked, this, [this] {
        if (m_form.OtherColour(true)) paintSamples();
    });
    connect(spacing, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_form.SpacingEdited(t.toStdString());
        paintSamples();
    });
    connect(control<QPushButton>(this, "add"), &QPushButton::clicked, this, [this] {
        if (m_form.Add()) sync();
    });
    connect(control<QPushButton>(this, "insert"), &QPushButton::clicked, this, [this] {
        if (m_form.Insert()) sync();
    });
    connect(control<QPushButton>(this, "change"), &QPushButton::clicked, this, [this] {
        if (m_form.Change()) sync();
    });
    connect(control<QPushButton>(this, "delete"), &QPushButton::clicked, this, [this] {
        if (m_form.Delete()) sync();
    });
    sync();
}

void RoomSettingsPage::sync()
{
    m_syncing = true;
    auto* list = control<QListWidget>(this, "rooms");
    list->clear();
    for (const auto& r : m_form.rooms) list->addItem(qs(r.name));
    list->setCurrentRow(m_form.selected);
    control<QRadioButton>(this, m_form.areaInSquareMetres ? "room_heibei1" : "room_heibei0")->setChecked(true);
    control<QRadioButton>(this, m_form.matWordTatami ? "room_heyack_jyou_name1" : "room_heyack_jyou_name0")->setChecked(true);
    control<QCheckBox>(this, "room_grad_mild")->setChecked(m_form.mildGradient != 0);
    auto* name = control<QLineEdit>(this, "name");
    if (name->text().toStdString() != m_form.nameEdit) name->setText(qs(m_form.nameEdit));
    control<QCheckBox>(this, "fill")->setChecked(m_form.buffer.Room_bRoomColor != 0);
    control<QCheckBox>(this, "hatch")->setChecked(m_form.buffer.Room_bHachColor != 0);
    control<QComboBox>(this, "pattern")->setCurrentIndex(m_form.patternChoice);
    control<QLineEdit>(this, "spacing")->setText(qs(m_form.spacingText));
    control<QPushButton>(this, "roomfont")->setEnabled(m_form.canChangeFont());
    m_syncing = false;
    paintSamples();
}

void RoomSettingsPage::paintSamples()
{
    auto* preview = control<QLabel>(this, "preview");
    QImage image(preview->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        kov::platform::PainterSurface dc(image);
        SwatchEnvironment env;
        env.tatamiBorders = m_form.tatamiBorders();
        const int w = image.width(), h = image.height();
        const kov::platform::DevicePoint box[4] = {{0, 0}, {0, h}, {w, h}, {w, 0}};
        m_form.buffer.DrawRoomSwatch(dc, box, 1, env);
    }
    preview->setPixmap(QPixmap::fromImage(image));
    for (const char* name : {"fillPalette", "hatchPalette"}) {
        auto* palette = control<QLabel>(this, name);
        QPixmap pixmap(palette->size());
        pixmap.fill(Qt::white);
        QPainter painter(&pixmap);
        const int cw = palette->width() / RoomPageForm::kPaletteColumns;
        const int ch = palette->height() / RoomPageForm::kPaletteRows;
        for (int i = 0; i < RoomPageForm::kPaletteColumns * RoomPageForm::kPaletteRows; ++i) {
            const QRect cell((i % RoomPageForm::kPaletteColumns) * cw, (i / RoomPageForm::kPaletteColumns) * ch, cw, ch);
            painter.fillRect(cell, kov::platform::toQColor(RoomPageForm::Palette()[static_cast<std::size_t>(i)]));
            painter.setPen(Qt::gray);
            painter.drawRect(cell);
        }
        palette->setPixmap(pixmap);
    }
}

bool RoomSettingsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const bool hatchPalette = watched->objectName() == QLatin1String("hatchPalette");
        if (hatchPalette || watched->objectName() == QLatin1String("fillPalette")) {
            const auto* label = static_cast<QLabel*>(watched);
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (m_form.PaletteClick(hatchPalette, at.x(), at.y(), label->width(), label->height())) paintSamples();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kov::dialogs
