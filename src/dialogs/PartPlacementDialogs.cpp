#include "dialogs/PartPlacementDialogs.h"

#include "building/PartLibrary.h"
#include "dialogs/PartsPalette.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
namespace pf = kov::platform;

QString u(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

QDialogButtonBox* okCancel(QDialog* dialog, const char* cancel)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8(cancel), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

// -- placement options ----------------------------------------------------------------------------------

BuhinItiSetForm::BuhinItiSetForm(pf::Profile& profile) : m_profile(profile)
{
    const int direction = profile.GetProfileInt(kUtility, "buhin_haiti_muki", 1);
    m_nDirection = direction >= 1 && direction <= 7 ? direction : 0;
    m_strAngle = profile.GetProfileString(kUtility, "buhin_haiti_mukikakudo", "0");
    const int mode = profile.GetProfileInt(kUtility, "buhin_haiti_ookisa", 1);
    m_nSizeMode = mode == 1 || mode == 2 ? mode : 0;
    auto fixed = [&](std::string_view key, std::string_view def) {
        return pf::formatFixed(pf::parseDouble(profile.GetProfileString(kUtility, key, def)), 2);
    };
    m_strFactorX = fixed("buhin_haiti_ookisa_bai_y", "1");
    m_strFactorY = fixed("buhin_haiti_ookisa_bai_t", "1");
    m_strSizeX = fixed("buhin_haiti_ookisa_kazu_y", "1000");
    m_strSizeY = fixed("buhin_haiti_ookisa_kazu_t", "1000");
    const int pointer = profile.GetProfileInt(kUtility, "haiti_mauseiti", 1);
    m_nPointer = pointer >= 1 && pointer <= 9 ? pointer : 0;
}

void BuhinItiSetForm::OnOK()
{
    // The angle is kept as typed; text that is no angle from 0 to 360 is stored as "0".
    const double angle = pf::parseDouble(m_strAngle);
    const bool numeric = !m_strAngle.empty() && m_strAngle.find_first_not_of("0123456789.+-") == std::string::npos;
    m_profile.WriteProfileString(kUtility, "buhin_haiti_mukikakudo",
                                 !numeric || angle > 360 || angle < 0 ? std::string("0") : m_strAngle);
    if (m_nDirection != 0) m_profile.WriteProfileInt(kUtility, "buhin_haiti_muki", m_nDirection);
    auto factor = [](const std::string& text) {
        const double v = pf::parseDouble(text);
        return v <= 0 || v > 1000 ? std::string("1") : pf::formatFixed(v, 2);
    };
    m_profile.WriteProfileString(kUtility, "buhin_haiti_ookisa_bai_y", factor(m_strFactorX));
    m_profile.WriteProfileString(kUtility, "buhin_haiti_ookisa_bai_t", factor(m_strFactorY));
    if (pf::parseDouble(m_strSizeX) > 0)
        m_profile.WriteProfileString(kUtility, "buhin_haiti_ookisa_kazu_y", pf::formatFixed(pf::parseDouble(m_strSizeX), 2));
    if (pf::parseDouble(m_strSizeY) > 0)
        m_profile.WriteProfileString(kUtility, "buhin_haiti_ookisa_kazu_t", pf::formatFixed(pf::parseDouble(m_strSizeY), 2));
    if (m_nSizeMode != 0) m_profile.WriteProfileInt(kUtility, "buhin_haiti_ookisa", m_nSizeMode);
    if (m_nPointer != 0) m_profile.WriteProfileInt(kUtility, "haiti_mauseiti", m_nPointer);
}

CBuhinItiSetDlg::CBuhinItiSetDlg(pf::Profile& profile, QWidget* parent) : QDialog(parent), m_form(profile)
{
    setWindowTitle(QStringLiteral("部品の向き、大きさ、配置位置"));
    auto* layout = new QVBoxLayout(this);

    auto* directionBox = new QGroupBox(QStringLiteral("部品の向き"));
    auto* dl = new QGridLayout(directionBox);
    m_direction = new QButtonGroup(this);
    const char* directions[] = {"標準", "左90度回転", "右90度回転", "180度回転", "上下反転", "左右反転", "指定角度"};
    for (int i = 0; i < 7; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(directions[i]));
        m_direction->addButton(b, i + 1);
        dl->addWidget(b, i / 2, i % 2);
    }
    m_angle = new QLineEdit(u(m_form.m_strAngle));
    auto* angleRow = new QHBoxLayout;
    angleRow->addWidget(m_angle);
    angleRow->addWidget(new QLabel(QStringLiteral("度")));
    dl->addLayout(angleRow, 3, 1);
    layout->addWidget(directionBox);

    auto* sizeBox = new QGroupBox(QStringLiteral("部品の大きさ"));
    auto* sl = new QGridLayout(sizeBox);
    m_size = new QButtonGroup(this);
    auto* byFactor = new QRadioButton(QStringLiteral("倍率指定"));
    auto* bySize = new QRadioButton(QStringLiteral("数値指定"));
    m_size->addButton(byFactor, 1);
    m_size->addButton(bySize, 2);
    m_factorX = new QLineEdit(u(m_form.m_strFactorX));
    m_factorY = new QLineEdit(u(m_form.m_strFactorY));
    m_sizeX = new QLineEdit(u(m_form.m_strSizeX));
    m_sizeY = new QLineEdit(u(m_form.m_strSizeY));
    sl->addWidget(byFactor, 0, 0);
    sl->addWidget(new QLabel(QStringLiteral("横")), 0, 1);
    sl->addWidget(m_factorX, 0, 2);
    sl->addWidget(new QLabel(QStringLiteral("縦")), 0, 3);
    sl->addWidget(m_factorY, 0, 4);
    sl->addWidget(new QLabel(QStringLiteral("倍")), 0, 5);
    sl->addWidget(bySize, 1, 0);
    sl->addWidget(new QLabel(QStringLiteral("横")), 1, 1);
    sl->addWidget(m_sizeX, 1, 2);
    sl->addWidget(new QLabel(QStringLiteral("縦")), 1, 3);
    sl->addWidget(m_sizeY, 1, 4);
    sl->addWidget(new QLabel(QStringLiteral("mm")), 1, 5);
    layout->addWidget(sizeBox);

    auto* pointerBox = new QGroupBox(QStringLiteral("部品配置時のマウス位置"));
    auto* pl = new QGridLayout(pointerBox);
    m_pointer = new QButtonGroup(this);
    for (int i = 0; i < 9; ++i) {
        auto* b = new QRadioButton;
        m_pointer->addButton(b, i + 1);
        pl->addWidget(b, i / 3, i % 3);
    }
    layout->addWidget(pointerBox);
    layout->addWidget(okCancel(this, "ｷｬﾝｾﾙ"));

    if (m_form.m_nDirection) m_direction->button(m_form.m_nDirection)->setChecked(true);
    if (m_form.m_nSizeMode) m_size->button(m_form.m_nSizeMode)->setChecked(true);
    if (m_form.m_nPointer) m_pointer->button(m_form.m_nPointer)->setChecked(true);
    sync();
    connect(m_direction, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.m_nDirection = id;
        sync();
    });
    connect(m_size, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.m_nSizeMode = id;
        sync();
    });
    connect(m_pointer, &QButtonGroup::idClicked, this, [this](int id) { m_form.m_nPointer = id; });
    connect(this, &QDialog::accepted, this, [this] {
        m_form.m_strAngle = m_angle->text().toStdString();
        m_form.m_strFactorX = m_factorX->text().toStdString();
        m_form.m_strFactorY = m_factorY->text().toStdString();
        m_form.m_strSizeX = m_sizeX->text().toStdString();
        m_form.m_strSizeY = m_sizeY->text().toStdString();
        m_form.OnOK();
    });
}

void CBuhinItiSetDlg::sync()
{
    m_angle->setEnabled(m_form.AngleEnabled());
    m_factorX->setEnabled(m_form.FactorsEnabled());
    m_factorY->setEnabled(m_form.FactorsEnabled());
    m_sizeX->setEnabled(m_form.SizesEnabled());
    m_sizeY->setEnabled(m_form.SizesEnabled());
}

// -- folder order -----------------------------------------------------------------------------------------

FolderOrderForm::FolderOrderForm(pf::Profile& profile, std::filesystem::path root)
    : m_profile(profile), m_root(std::move(root))
{
}

bool FolderOrderForm::Open(pf::Questions& questions)
{
    m_bCustom = 0;
    bool found = false;
    m_Found = kov::building::ListLibraryFolders(m_root, &found);
    if (!found || m_Found.empty()) {
        questions.message(kBadLibrary);
        return false;
    }
    const std::string saved = m_profile.GetProfileString(kUtility, "buhin_forda_jyun", "");
    if (!saved.empty()) {
        std::vector<std::string> names;
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = saved.find(',', start);
            if (comma == std::string::npos) {
                if (start < saved.size()) names.push_back(saved.substr(start));
                break;
            }
            names.push_back(saved.substr(start, comma - start));
            start = comma + 1;
        }
        if (names.size() == m_Found.size()) {
            m_Order = names;
            m_bCustom = 1;
        }
    }
    if (!m_bCustom) m_Order = m_Found;
    return true;
}

void FolderOrderForm::Up()
{
    if (m_nChosen <= 0 || m_nChosen >= static_cast<int>(m_Order.size())) return;
    std::swap(m_Order[static_cast<std::size_t>(m_nChosen)], m_Order[static_cast<std::size_t>(m_nChosen - 1)]);
    --m_nChosen;
    m_bCustom = 1;
}

void FolderOrderForm::Down()
{
    if (m_nChosen < 0 || m_nChosen + 1 >= static_cast<int>(m_Order.size())) return;
    std::swap(m_Order[static_cast<std::size_t>(m_nChosen)], m_Order[static_cast<std::size_t>(m_nChosen + 1)]);
    ++m_nChosen;
    m_bCustom = 1;
}

void FolderOrderForm::Reset()
{
    m_bCustom = 0;
    m_Order = m_Found;
}

void FolderOrderForm::OnOK()
{
    if (!m_bCustom) {
        m_profile.WriteProfileString(kUtility, "buhin_forda_jyun", "");
        return;
    }
    std::string joined;
    for (std::size_t i = 0; i < m_Order.size(); ++i) joined += (i ? "," : "") + m_Order[i];
    m_profile.WriteProfileString(kUtility, "buhin_forda_jyun", joined);
    m_profile.WriteProfileInt(kUtility, "buhin_selectidx", -1);
    m_profile.WriteProfileInt(kUtility, "buhin_selectidx_s", 0);
    m_profile.WriteProfileInt(kUtility, "buhin_nowpage", 0);
}

CBuhinFordaJyunDg::CBuhinFordaJyunDg(pf::Profile& profile, pf::Questions& questions, std::filesystem::path root,
                                     QWidget* parent)
    : QDialog(parent), m_form(profile, std::move(root))
{
    setWindowTitle(QStringLiteral("部品配置のフォルダ表示順番並べ替え"));
    auto* layout = new QHBoxLayout(this);
    m_list = new QListWidget;
    layout->addWidget(m_list);
    auto* side = new QVBoxLayout;
    auto* up = new QPushButton(QStringLiteral("▲"));
    auto* down = new QPushButton(QStringLiteral("▼"));
    auto* reset = new QPushButton(QStringLiteral("リセット"));
    side->addWidget(up);
    side->addWidget(down);
    side->addWidget(reset);
    side->addStretch();
    side->addWidget(okCancel(this, "キャンセル"));
    layout->addLayout(side);
    m_opened = m_form.Open(questions);
    refill();
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_form.m_nChosen = row; });
    connect(up, &QPushButton::clicked, this, [this] {
        m_form.Up();
        refill();
    });
    connect(down, &QPushButton::clicked, this, [this] {
        m_form.Down();
        refill();
    });
    connect(reset, &QPushButton::clicked, this, [this] {
        m_form.Reset();
        refill();
    });
    connect(this, &QDialog::accepted, this, [this] { m_form.OnOK(); });
}

void CBuhinFordaJyunDg::refill()
{
    const int chosen = m_form.m_nChosen;
    m_list->blockSignals(true);
    m_list->clear();
    for (const std::string& n : m_form.m_Order) m_list->addItem(u(n));
    m_list->setCurrentRow(chosen);
    m_list->blockSignals(false);
}

// -- a new folder -------------------------------------------------------------------------------------------

CFordaAddDlg::CFordaAddDlg(const std::string& caption, int inside, QWidget* parent) : QDialog(parent)
{
    m_form.m_strCaption = caption;
    m_form.m_nInside = inside;
    setWindowTitle(QStringLiteral("フォルダの追加"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("追加フォルダ名")));
    m_name = new QLineEdit;
    layout->addWidget(m_name);
    m_inside = new QCheckBox(u(caption));
    m_inside->setChecked(inside == 1);
    m_inside->setEnabled(inside != -1);
    layout->addWidget(m_inside);
    layout->addWidget(okCancel(this, "ｷｬﾝｾﾙ"));
    connect(this, &QDialog::accepted, this, [this] {
        m_form.m_strName = m_name->text().toStdString();
        if (m_inside->isChecked()) m_form.m_nInside = 1;
    });
}

} // namespace kov::dialogs
