#include "dialogs/RoomChoicePanel.h"

#include "model/SettingsValues.h"
#include "platform/NumberText.h"
#include "platform/PainterSurface.h"
#include "platform/Profile.h"
#include "render/Swatches.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

using kov::model::kSectionUtility;

QString qs(const char* text) { return QString::fromUtf8(text); }

} // namespace

RoomChoiceForm::RoomChoiceForm(CRoomInfo& room, kov::platform::Profile& profile, int polygonMode, int& fixedSize,
                               int& sizeIndex)
    : m_room(room), m_profile(profile), m_polygonMode(polygonMode), m_fixedSize(fixedSize), m_sizeIndex(sizeIndex)
{
}

void RoomChoiceForm::Fill(const std::vector<kov::model::RoomListEntry>& fileRooms, bool fileOpened)
{
    m_name = m_profile.GetProfileInt(kSectionUtility, "room_heyack", 1) != 0;
    m_area = m_profile.GetProfileInt(kSectionUtility, "room_heyack_jyou", 0) != 0;
    m_squareMetres = m_profile.GetProfileInt(kSectionUtility, "room_heibei", 0) != 0;
    if (m_polygonMode == 0) {
        m_fixedSize = 0;
        m_sizeIndex = 2;
    }
    m_entries.clear();
    const std::string spacing = kov::platform::formatFixed(m_room.Room_HachKankaku, 6);
    kov::model::RoomListEntry current;
    current.name = m_room.Room_Name;
    current.fill = m_room.Room_bRoomColor;
    current.fillColour = m_room.Room_RoomColor;
    current.hatch = m_room.Room_bHachColor;
    current.hatchColour = m_room.Room_HachColor;
    current.hatchType = m_room.Room_HachType;
    current.spacing = spacing;
    m_entries.push_back(current);
    kov::model::RoomListEntry none;
    none.name.clear();
    none.fill = 0;
    none.fillColour = 0xFFFFFF;
    none.hatch = 0;
    none.hatchColour = 0;
    none.hatchType = 0;
    none.spacing = spacing;
    m_entries.push_back(none);
    m_entries.insert(m_entries.end(), fileRooms.begin(), fileRooms.end());
    m_selected = -1;
    if (fileOpened) ApplyEntry(0);
}

void RoomChoiceForm::ApplyEntry(int index)
{
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
    const kov::model::RoomListEntry& e = m_entries[static_cast<std::size_t>(index)];
    m_selected = index;
    m_room.Room_bRoomColor = e.fill;
    m_room.Room_RoomColor = e.fillColour;
    m_room.Room_bHachColor = e.hatch;
    m_room.Room_HachColor = e.hatchColour;
    m_room.Room_HachType = e.hatchType;
    m_room.Room_HachKankaku = kov::platform::parseDouble(e.spacing);
    m_room.Room_Name = e.name;
}

void RoomChoiceForm::OnName(bool ticked)
{
    m_name = ticked;
    if (!ticked) {
        m_area = false;
        m_profile.WriteProfileInt(kSectionUtility, "room_heyack", 0);
    } else {
        if (m_selected < 0) return;
        // Brings back a name that unticking the area may have emptied.
        ApplyEntry(m_selected);
        m_profile.WriteProfileInt(kSectionUtility, "room_heyack", 1);
    }
    m_profile.WriteProfileInt(kSectionUtility, "room_heyack_jyou", m_area ? 1 : 0);
}

void RoomChoiceForm::OnArea(bool ticked)
{
    m_area = ticked;
    if (ticked) m_name = true;
    if (!m_name) {
        m_room.Room_Name.clear();
        m_profile.WriteProfileInt(kSectionUtility, "room_heyack", 0);
    } else {
        m_profile.WriteProfileInt(kSectionUtility, "room_heyack", 1);
    }
    m_profile.WriteProfileInt(kSectionUtility, "room_heyack_jyou", m_area ? 1 : 0);
}

void RoomChoiceForm::OnSquareMetres(bool on)
{
    m_squareMetres = on;
    m_profile.WriteProfileInt(kSectionUtility, "room_heibei", on ? 1 : 0);
}

void RoomChoiceForm::OnFixed(bool on) { m_fixedSize = on ? 1 : 0; }

void RoomChoiceForm::OnSizeIndex(int index)
{
    if (index >= 0 && index < 5) m_sizeIndex = index;
}

CRoomChoiseDlg::CRoomChoiseDlg(CRoomInfo& room, kov::platform::Profile& profile, int polygonMode, int& fixedSize,
                               int& sizeIndex, const std::vector<kov::model::RoomListEntry>& fileRooms,
                               bool fileOpened, int tatamiBorders, QWidget* parent)
    : QDialog(parent), m_form(room, profile, polygonMode, fixedSize, sizeIndex), m_tatamiBorders(tatamiBorders)
{
    setWindowTitle(qs("部屋選択"));
    setObjectName(QStringLiteral("roomChoice"));
    auto* layout = new QVBoxLayout(this);
    m_sample = new QLabel(this);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setFixedSize(150, 60);
    m_sample->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_sample, 0, Qt::AlignHCenter);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("rooms"));
    m_list->setMinimumHeight(180);
    layout->addWidget(m_list);
    m_name = new QCheckBox(qs("部屋名を出力する"), this);
    m_name->setObjectName(QStringLiteral("name"));
    m_area = new QCheckBox(qs("帖数を出力する"), this);
    m_area->setObjectName(QStringLiteral("area"));
    layout->addWidget(m_name);
    layout->addWidget(m_area);
    auto* units = new QGroupBox(this);
    auto* unitLayout = new QVBoxLayout(units);
    m_mats = new QRadioButton(qs("帖数で表示"), units);
    m_mats->setObjectName(QStringLiteral("mats"));
    m_squareMetres = new QRadioButton(qs("㎡（壁芯）で表示"), units);
    m_squareMetres->setObjectName(QStringLiteral("squareMetres"));
    unitLayout->addWidget(m_mats);
    unitLayout->addWidget(m_squareMetres);
    layout->addWidget(units);
    m_sizeFrame = new QGroupBox(qs("広さ固定"), this);
    auto* sizeLayout = new QHBoxLayout(m_sizeFrame);
    m_free = new QRadioButton(qs("固定無"), m_sizeFrame);
    m_free->setObjectName(QStringLiteral("free"));
    m_fixed = new QRadioButton(qs("帖固定"), m_sizeFrame);
    m_fixed->setObjectName(QStringLiteral("fixed"));
    m_sizes = new QComboBox(m_sizeFrame);
    m_sizes->setObjectName(QStringLiteral("sizes"));
    sizeLayout->addWidget(m_free);
    sizeLayout->addWidget(m_fixed);
    sizeLayout->addWidget(m_sizes);
    layout->addWidget(m_sizeFrame);

    m_form.Fill(fileRooms, fileOpened);
    for (const auto& e : m_form.entries()) m_list->addItem(QString::fromStdString(e.name));
    m_list->item(0)->setText(qs(RoomChoiceForm::kCurrent));
    m_list->item(1)->setText(qs(RoomChoiceForm::kNoFill));
    if (polygonMode) {
        m_sizeFrame->setEnabled(false);
    } else {
        for (const char* s : RoomChoiceForm::kSizes) m_sizes->addItem(qs(s));
        m_sizes->setCurrentIndex(2);
        m_free->setChecked(true);
    }
    showState();

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_form.ApplyEntry(row);
        drawSample();
    });
    connect(m_name, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnName(on);
        showState();
    });
    connect(m_area, &QCheckBox::clicked, this, [this](bool on) {
        m_form.OnArea(on);
        showState();
    });
    connect(m_mats, &QRadioButton::clicked, this, [this] { m_form.OnSquareMetres(false); });
    connect(m_squareMetres, &QRadioButton::clicked, this, [this] { m_form.OnSquareMetres(true); });
    connect(m_free, &QRadioButton::clicked, this, [this] { m_form.OnFixed(false); });
    connect(m_fixed, &QRadioButton::clicked, this, [this] { m_form.OnFixed(true); });
    connect(m_sizes, &QComboBox::currentIndexChanged, this, [this](int i) { m_form.OnSizeIndex(i); });
}

void CRoomChoiseDlg::showState()
{
    const QSignalBlocker block(m_list);
    m_list->setCurrentRow(m_form.selected());
    m_name->setChecked(m_form.nameTicked());
    m_area->setChecked(m_form.areaTicked());
    (m_form.squareMetres() ? m_squareMetres : m_mats)->setChecked(true);
    drawSample();
}

void CRoomChoiseDlg::drawSample()
{
    QImage image(m_sample->size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Base));
    if (m_form.selected() >= 0) {
        kov::platform::PainterSurface dc(image);
        SwatchEnvironment env;
        env.tatamiBorders = m_tatamiBorders;
        const int w = image.width(), h = image.height();
        const kov::platform::DevicePoint box[4] = {{0, 0}, {0, h}, {w, h}, {w, 0}};
        m_form.room().DrawRoomSwatch(dc, box, 1, env);
    }
    m_sample->setPixmap(QPixmap::fromImage(image));
}

void CRoomChoiseDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

} // namespace kov::dialogs
