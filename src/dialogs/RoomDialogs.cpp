#include "dialogs/RoomDialogs.h"

#include "dialogs/FigurePropertyDialog.h"
#include "dialogs/PropertyTexts.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

namespace pt = proptext;
namespace pf = kov::platform;

QString qs(const char* s) { return QString::fromUtf8(s); }
QString qs(const std::string& s) { return QString::fromStdString(s); }

constexpr std::uint32_t rgb(int r, int g, int b) { return pf::rgbColor(uint8_t(r), uint8_t(g), uint8_t(b)); }

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(qs(pt::kOk), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(qs(pt::kCancel), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

// -- room font ------------------------------------------------------------------------------------------

double RoomFontForm::HeightOf(const std::string& text)
{
    const double x = pf::parseDouble(text);
    return x < 0.5 || x > 100 ? 1.0 : x;
}

double RoomFontForm::SpacingOf(const std::string& text)
{
    const double x = pf::parseDouble(text);
    return x < 0 || x > 100 ? 0.0 : x;
}

std::string RoomFontForm::heightText() const { return pf::formatFixed(font.m_size, 1); }
std::string RoomFontForm::spacingText() const { return pf::formatFixed(font.m_kankaku, 1); }

void RoomFontForm::OnHeightEdited(const std::string& text)
{
    font.m_size = HeightOf(text);
    if (m_mmToDevice) font.lfHeight = m_mmToDevice(font.m_size);
}

void RoomFontForm::OnSpacingEdited(const std::string& text) { font.m_kankaku = SpacingOf(text); }

void RoomFontForm::Accept(const std::string& height, const std::string& spacing)
{
    font.m_size = HeightOf(height);
    font.m_kankaku = SpacingOf(spacing);
}

CRoomFontDg::CRoomFontDg(const CFontMenu& font, std::function<int(double)> mmToDevice, FontPicker pickFont,
                         QWidget* parent)
    : QDialog(parent), m_form(font, std::move(mmToDevice)), m_pickFont(std::move(pickFont))
{
    setObjectName(QStringLiteral("roomFont"));
    setWindowTitle(qs(pt::kRoomFontTitle));
    auto* layout = new QVBoxLayout(this);
    auto* choose = new QPushButton(qs(pt::kRoomFontButton));
    choose->setObjectName(QStringLiteral("chooseFont"));
    layout->addWidget(choose);
    auto* grid = new QGridLayout;
    auto row = [&](int r, const char* label, QLineEdit*& edit, const char* name, const std::string& text) {
        grid->addWidget(new QLabel(qs(label)), r, 0);
        edit = new QLineEdit(qs(text));
        edit->setObjectName(qs(name));
        edit->setFixedWidth(70);
        grid->addWidget(edit, r, 1);
        grid->addWidget(new QLabel(qs(pt::kMm)), r, 2);
    };
    row(0, pt::kRoomTextHeight, m_height, "height", m_form.heightText());
    row(1, pt::kRoomTextSpacing, m_spacing, "spacing", m_form.spacingText());
    layout->addLayout(grid);
    layout->addWidget(okCancel(this));
    connect(choose, &QPushButton::clicked, this, [this] {
        if (m_pickFont && m_pickFont(m_form.font)) m_height->setText(qs(m_form.heightText()));
    });
    connect(m_height, &QLineEdit::textChanged, this,
            [this](const QString& t) { m_form.OnHeightEdited(t.toStdString()); });
    connect(m_spacing, &QLineEdit::textChanged, this,
            [this](const QString& t) { m_form.OnSpacingEdited(t.toStdString()); });
}

void CRoomFontDg::accept()
{
    m_form.Accept(m_height->text().toStdString(), m_spacing->text().toStdString());
    QDialog::accept();
}

// -- room change ----------------------------------------------------------------------------------------

const std::array<std::uint32_t, RoomChangeForm::kCells> RoomChangeForm::kColours{
    rgb(0, 0, 0),       rgb(255, 0, 0),     rgb(0, 255, 0),     rgb(255, 255, 0),   rgb(0, 0, 255),
    rgb(255, 0, 255),   rgb(0, 255, 255),   rgb(255, 128, 0),   rgb(128, 128, 128), rgb(192, 64, 0),
    rgb(192, 192, 0),   rgb(192, 0, 192),   rgb(0, 0, 192),     rgb(255, 255, 255), rgb(255, 192, 192),
    rgb(192, 255, 192), rgb(255, 255, 192), rgb(192, 192, 255), rgb(255, 192, 255), rgb(192, 255, 255),
    rgb(0, 192, 192),   rgb(192, 192, 192), rgb(255, 128, 128), rgb(224, 224, 224), rgb(128, 128, 255),
    rgb(0, 192, 192)};

const std::array<RoomChangeForm::Pattern, 9> RoomChangeForm::kPatterns{{{"右斜め上縞", 3},
                                                                          {"格子", 4},
                                                                          {"斜め格子", 5},
                                                                          {"右斜め下縞", 2},
                                                                          {"水平縞", 0},
                                                                          {"垂直縞", 1},
                                                                          {"床目地(横)", 100},
                                                                          {"床目地(縦)", 101},
                                                                          {"畳", 300}}};

RoomChangeForm::RoomChangeForm(const CRoomInfo& source, pf::Profile& profile) : room(source)
{
    const bool tatami = room.Room_HachType == CRoomInfo::HACH_TATAMI;
    for (const Pattern& p : kPatterns)
        if (tatami || p.type != CRoomInfo::HACH_TATAMI) entries.push_back(p);
    entry = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].type == room.Room_HachType) entry = static_cast<int>(i);
    patternListEnabled = !tatami;
    spacingEnabled = !tatami;
    if (profile.GetProfileInt(kov::model::kSectionUtility, "room_hachmode", 1) != 0)
        spacingText = pf::formatFixed(room.Room_HachKankaku, 3);
    else
        spacingEnabled = false;
}

void RoomChangeForm::OnFillChecked(bool on) { room.Room_bRoomColor = on ? 1 : 0; }

void RoomChangeForm::OnPatternChecked(bool on)
{
    if (!on) {
        room.Room_bHachColor = 0;
        return;
    }
    room.Room_bHachColor = 1;
    if (entry >= 0 && entry < static_cast<int>(entries.size()))
        room.Room_HachType = entries[static_cast<std::size_t>(entry)].type;
    // A pattern in the fill's own colour would not show.
    if (room.Room_RoomColor == room.Room_HachColor) room.Room_HachColor = 0;
}

void RoomChangeForm::OnPatternChosen(int index)
{
    entry = index;
    if (!room.Room_bHachColor || index < 0 || index >= static_cast<int>(entries.size())) return;
    room.Room_HachType = entries[static_cast<std::size_t>(index)].type;
}

void RoomChangeForm::OnSpacingEdited(const std::string& text)
{
    spacingText = text;
    const double x = pf::parseDouble(text);
    if (x >= 1 && x <= 1000) room.Room_HachKankaku = x;
}

void RoomChangeForm::ClickFillCell(int cell)
{
    if (cell >= 0 && cell < kCells) room.Room_RoomColor = kColours[static_cast<std::size_t>(cell)];
}

void RoomChangeForm::ClickPatternCell(int cell)
{
    if (cell >= 0 && cell < kCells) room.Room_HachColor = kColours[static_cast<std::size_t>(cell)];
}

bool RoomChangeForm::PickFillColour(pf::Questions& questions)
{
    const auto chosen = questions.chooseColor(room.Room_RoomColor);
    if (!chosen) return false;
    room.Room_RoomColor = *chosen & 0xFFFFFF;
    return true;
}

bool RoomChangeForm::PickPatternColour(pf::Questions& questions)
{
    const auto chosen = questions.chooseColor(room.Room_HachColor);
    if (!chosen) return false;
    room.Room_HachColor = *chosen & 0xFFFFFF;
    return true;
}

void RoomChangeForm::DrawSample(pf::Surface& dc, int width, int height, const SwatchEnvironment& env) const
{
    const pf::DevicePoint corners[4] = {{0, 0}, {0, height}, {width, height}, {width, 0}};
    room.DrawRoomSwatch(dc, corners, 0, env);
}

void RoomChangeForm::DrawPalette(pf::Surface& dc, int width, int height)
{
    LinePropForm::DrawPalette(dc, width, height, kColours, -1);
}

CRoomHenkouDlg::CRoomHenkouDlg(const CRoomInfo& room, pf::Profile& profile, pf::Questions& questions,
                               SwatchEnvironment env, QWidget* parent)
    : QDialog(parent), m_form(room, profile), m_questions(questions), m_env(std::move(env))
{
    setObjectName(QStringLiteral("roomChange"));
    setWindowTitle(qs(pt::kRoomChangeTitle));
    auto* layout = new QHBoxLayout(this);
    m_sample = new QLabel;
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setFixedSize(140, 140);
    m_sample->setFrameShape(QFrame::Box);
    layout->addWidget(m_sample, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    auto palette = [](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(qs(name));
        l->setFixedSize(13 * 22 + 1, 2 * 20 + 1);
        return l;
    };
    m_fill = new QCheckBox(qs(pt::kFillCheck));
    m_fill->setObjectName(QStringLiteral("fill"));
    m_fill->setChecked(m_form.room.Room_bRoomColor != 0);
    right->addWidget(m_fill);
    m_fillPalette = palette("fillPalette");
    right->addWidget(m_fillPalette);
    auto* otherFill = new QPushButton(qs(pt::kOtherColour));
    otherFill->setObjectName(QStringLiteral("otherFillColour"));
    right->addWidget(otherFill, 0, Qt::AlignLeft);
    m_pattern = new QCheckBox(qs(pt::kRoomPatternCheck));
    m_pattern->setObjectName(QStringLiteral("pattern"));
    m_pattern->setChecked(m_form.room.Room_bHachColor != 0);
    right->addWidget(m_pattern);
    m_patterns = new QComboBox;
    m_patterns->setObjectName(QStringLiteral("patternKind"));
    for (const RoomChangeForm::Pattern& p : m_form.entries) m_patterns->addItem(qs(p.name));
    m_patterns->setCurrentIndex(m_form.entry);
    m_patterns->setEnabled(m_form.patternListEnabled);
    right->addWidget(m_patterns, 0, Qt::AlignLeft);
    m_patternPalette = palette("patternPalette");
    right->addWidget(m_patternPalette);
    auto* otherPattern = new QPushButton(qs(pt::kOtherColour));
    otherPattern->setObjectName(QStringLiteral("otherPatternColour"));
    right->addWidget(otherPattern, 0, Qt::AlignLeft);
    auto* spacingRow = new QHBoxLayout;
    spacingRow->addWidget(new QLabel(qs(pt::kRoomPatternSpacing)));
    m_spacing = new QLineEdit(qs(m_form.spacingText));
    m_spacing->setObjectName(QStringLiteral("spacing"));
    m_spacing->setFixedWidth(80);
    m_spacing->setEnabled(m_form.spacingEnabled);
    spacingRow->addWidget(m_spacing);
    spacingRow->addWidget(new QLabel(qs(pt::kRoomPatternUnit)));
    spacingRow->addStretch(1);
    right->addLayout(spacingRow);
    right->addWidget(okCancel(this));
    layout->addLayout(right);

    m_fillPalette->installEventFilter(this);
    m_patternPalette->installEventFilter(this);
    connect(m_fill, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnFillChecked(on);
        redraw();
    });
    connect(m_pattern, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnPatternChecked(on);
        redraw();
    });
    connect(m_patterns, &QComboBox::activated, this, [this](int i) {
        m_form.OnPatternChosen(i);
        redraw();
    });
    connect(m_spacing, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.OnSpacingEdited(t.toStdString()); });
    connect(otherFill, &QPushButton::clicked, this, [this] {
        if (m_form.PickFillColour(m_questions)) redraw();
    });
    connect(otherPattern, &QPushButton::clicked, this, [this] {
        if (m_form.PickPatternColour(m_questions)) redraw();
    });
    redraw();
}

void CRoomHenkouDlg::redraw()
{
    auto paint = [](QLabel* label, auto draw) {
        QImage image(label->size(), QImage::Format_RGB32);
        image.fill(label->palette().color(QPalette::Base));
        {
            pf::PainterSurface dc(image);
            draw(dc, image.width(), image.height());
        }
        label->setPixmap(QPixmap::fromImage(image));
    };
    paint(m_sample, [this](pf::Surface& dc, int w, int h) { m_form.DrawSample(dc, w, h, m_env); });
    paint(m_fillPalette, [](pf::Surface& dc, int w, int h) { RoomChangeForm::DrawPalette(dc, w, h); });
    paint(m_patternPalette, [](pf::Surface& dc, int w, int h) { RoomChangeForm::DrawPalette(dc, w, h); });
}

bool CRoomHenkouDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (auto* label = qobject_cast<QLabel*>(watched)) {
            const int cell = LinePropForm::PaletteCell(p.x(), p.y(), label->width(), label->height());
            if (label == m_fillPalette) m_form.ClickFillCell(cell);
            else if (label == m_patternPalette) m_form.ClickPatternCell(cell);
            redraw();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kov::dialogs
