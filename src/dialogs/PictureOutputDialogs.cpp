#include "dialogs/PictureOutputDialogs.h"

#include "io/PictureExport.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr std::string_view kPlot = "KOV_T_PlotMenu";
QString qs(const char* s) { return QString::fromUtf8(s); }

// A decimal integer, as the edit's number conversion reads it: empty or non-numeric text is 0.
int editValue(const std::string& text) { return kov::platform::parseInt(text); }

// The format code of each button of the automatic save dialog, in its order.
constexpr int kFormatOfButton[5] = {0, 1, 4, 3, 2};

} // namespace

PictureOutputForm::Shown PictureOutputForm::LoadSettings() const
{
    Shown s;
    s.quality = m_profile.GetProfileInt(kUtility, "gazou_jpeg_atu", 100);
    s.width = m_profile.GetProfileInt(kPlot, "gazou_size_w", 800);
    s.height = m_profile.GetProfileInt(kPlot, "gazou_size_h", 800);
    s.sizeFlag = m_profile.GetProfileInt(kPlot, "gazou_size", 0);
    s.exact = m_profile.GetProfileInt(kUtility, "app_gazou_justsize", 0);
    s.purpose = m_profile.GetProfileInt(kPlot, "gazou_out_moku", 0);
    return s;
}

PictureOutputForm::Enabled PictureOutputForm::enabled() const
{
    const Shown s = LoadSettings();
    Enabled e;
    if (s.purpose != 0)
        return Enabled{false, false, false, false, false};
    const bool sized = s.sizeFlag != 0;
    e.width = e.height = e.exact = sized;
    return e;
}

void PictureOutputForm::qualityEdited(const std::string& text)
{
    const int v = editValue(text);
    if (v >= 0 && v <= 100)
        m_profile.WriteProfileInt(kUtility, "gazou_jpeg_atu", v);
}

void PictureOutputForm::widthEdited(const std::string& text)
{
    const int v = editValue(text);
    if (v >= 0 && v <= kov::io::kMaxPictureOutputSide)
        m_profile.WriteProfileInt(kPlot, "gazou_size_w", v);
}

void PictureOutputForm::heightEdited(const std::string& text)
{
    const int v = editValue(text);
    if (v >= 0 && v <= kov::io::kMaxPictureOutputSide)
        m_profile.WriteProfileInt(kPlot, "gazou_size_h", v);
}

void PictureOutputForm::sizeChecked(bool on) { m_profile.WriteProfileInt(kPlot, "gazou_size", on ? 1 : 0); }
void PictureOutputForm::exactChecked(bool on) { m_profile.WriteProfileInt(kUtility, "app_gazou_justsize", on ? 1 : 0); }
void PictureOutputForm::purposeChosen(int purpose) { m_profile.WriteProfileInt(kPlot, "gazou_out_moku", purpose); }

CGazouOutSizeDg::CGazouOutSizeDg(kov::platform::Profile& profile, QWidget* parent)
    : QDialog(parent), m_form(profile)
{
    setWindowTitle(qs("画像出力設定"));
    auto* layout = new QVBoxLayout(this);
    auto* qualityRow = new QHBoxLayout();
    qualityRow->addWidget(new QLabel(qs("出力JPEG圧縮率"), this));
    m_quality = new QLineEdit(this);
    qualityRow->addWidget(m_quality);
    qualityRow->addWidget(new QLabel(qs("%"), this));
    layout->addLayout(qualityRow);
    auto* sizeBox = new QGroupBox(qs("画像出力サイズ指定"), this);
    auto* sizeLayout = new QGridLayout(sizeBox);
    m_size = new QCheckBox(qs("サイズ指定する"), sizeBox);
    sizeLayout->addWidget(m_size, 0, 0, 1, 4);
    sizeLayout->addWidget(new QLabel(qs("幅"), sizeBox), 1, 0);
    m_width = new QLineEdit(sizeBox);
    sizeLayout->addWidget(m_width, 1, 1);
    sizeLayout->addWidget(new QLabel(qs("×"), sizeBox), 1, 2);
    sizeLayout->addWidget(new QLabel(qs("高"), sizeBox), 1, 3);
    m_height = new QLineEdit(sizeBox);
    sizeLayout->addWidget(m_height, 1, 4);
    sizeLayout->addWidget(new QLabel(qs("ピクセル"), sizeBox), 1, 5);
    m_exact = new QCheckBox(qs("指定サイズピッタリに出力"), sizeBox);
    sizeLayout->addWidget(m_exact, 2, 0, 1, 6);
    layout->addWidget(sizeBox);
    auto* purposeBox = new QGroupBox(qs("出力目的へ自動設定"), this);
    auto* purposeLayout = new QVBoxLayout(purposeBox);
    const char* purposes[4] = {"手動設定", "ﾜｰﾄﾞ･ｴｸｾﾙ用（EMF形式）", "web用（800×800JPG形式）", "その他印刷用（最大ｻｲｽﾞJPG形式）"};
    auto* group = new QButtonGroup(purposeBox);
    for (int i = 0; i < 4; ++i) {
        m_purpose[i] = new QRadioButton(qs(purposes[i]), purposeBox);
        group->addButton(m_purpose[i], i);
        purposeLayout->addWidget(m_purpose[i]);
    }
    layout->addWidget(purposeBox);

    connect(m_quality, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.qualityEdited(t.toStdString()); });
    connect(m_width, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.widthEdited(t.toStdString()); });
    connect(m_height, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.heightEdited(t.toStdString()); });
    connect(m_size, &QCheckBox::toggled, this, [this](bool on) {
        if (m_loading)
            return;
        m_form.sizeChecked(on);
        applyEnabled();
    });
    connect(m_exact, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading)
            m_form.exactChecked(on);
    });
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        m_form.purposeChosen(id);
        LoadSettings();
    });
}

void CGazouOutSizeDg::LoadSettings()
{
    m_loading = true;
    const auto s = m_form.LoadSettings();
    m_quality->setText(QString::number(s.quality));
    m_width->setText(QString::number(s.width));
    m_height->setText(QString::number(s.height));
    m_exact->setChecked(s.exact != 0);
    m_size->setChecked(s.sizeFlag != 0);
    for (int i = 0; i < 4; ++i)
        m_purpose[i]->setChecked(i == s.purpose);
    applyEnabled();
    m_loading = false;
}

void CGazouOutSizeDg::applyEnabled()
{
    const auto e = m_form.enabled();
    m_quality->setEnabled(e.quality);
    m_size->setEnabled(e.sizeCheck);
    m_width->setEnabled(e.width);
    m_height->setEnabled(e.height);
    m_exact->setEnabled(e.exact);
}

void AutoPictureSaveForm::Load(const kov::platform::Profile& p, const std::filesystem::path& documents)
{
    format = p.GetProfileInt(kUtility, "gazououtput_type", 0);
    margin = p.GetProfileInt(kPlot, "gazououtput_auto_yohaku", 20);
    ownFolder = p.GetProfileInt(kPlot, "gazououtput_auto_fordanini", 0);
    folder = p.GetProfileString(kPlot, "gazououtput_auto_fordaniniforda", documents.string());
    wholePaper = p.GetProfileInt(kPlot, "gazououtput_auto_image", 0);
    noLetter = p.GetProfileInt(kPlot, "gazououtput_auto_filenamefree", 0);
}

void AutoPictureSaveForm::Save(kov::platform::Profile& p) const
{
    p.WriteProfileInt(kUtility, "gazououtput_type", format);
    p.WriteProfileInt(kPlot, "gazououtput_auto_yohaku", margin);
    p.WriteProfileInt(kPlot, "gazououtput_auto_fordanini", ownFolder);
    p.WriteProfileString(kPlot, "gazououtput_auto_fordaniniforda", folder);
    p.WriteProfileInt(kPlot, "gazououtput_auto_image", wholePaper);
    p.WriteProfileInt(kPlot, "gazououtput_auto_filenamefree", noLetter);
}

CGazouAutoSaveSetDg::CGazouAutoSaveSetDg(const AutoPictureSaveForm& values, FolderChooser chooseFolder, QWidget* parent)
    : QDialog(parent), m_values(values), m_chooseFolder(std::move(chooseFolder))
{
    setWindowTitle(qs("自動画像保存設定詳細"));
    auto* layout = new QVBoxLayout(this);
    auto* folderBox = new QGroupBox(qs("保存フォルダ"), this);
    auto* folderLayout = new QGridLayout(folderBox);
    m_sameFolder = new QRadioButton(qs("コビラファイルの保存フォルダと同じフォルダ"), folderBox);
    m_ownFolder = new QRadioButton(qs("任意のフォルダを設定"), folderBox);
    m_folder = new QLineEdit(QString::fromStdString(m_values.folder), folderBox);
    auto* browseButton = new QPushButton(qs("参照..."), folderBox);
    folderLayout->addWidget(m_sameFolder, 0, 0, 1, 2);
    folderLayout->addWidget(m_ownFolder, 1, 0, 1, 2);
    folderLayout->addWidget(m_folder, 2, 0);
    folderLayout->addWidget(browseButton, 2, 1);
    layout->addWidget(folderBox);
    m_wholePaper = new QCheckBox(qs("画像保存範囲を用紙イメージどおりにする"), this);
    layout->addWidget(m_wholePaper);
    auto* marginBox = new QGroupBox(qs("余白部分"), this);
    auto* marginLayout = new QHBoxLayout(marginBox);
    marginLayout->addWidget(new QLabel(qs("画像範囲余白"), marginBox));
    m_margin = new QComboBox(marginBox);
    for (int m = 10; m <= 100; m += 10)
        m_margin->addItem(QString::number(m));
    marginLayout->addWidget(m_margin);
    layout->addWidget(marginBox);
    auto* formatBox = new QGroupBox(qs("保存形式"), this);
    auto* formatLayout = new QHBoxLayout(formatBox);
    const char* names[5] = {"jpeg", "bmp", "gif", "png", "emf"};
    auto* formats = new QButtonGroup(formatBox);
    for (int i = 0; i < 5; ++i) {
        m_formats[i] = new QRadioButton(qs(names[i]), formatBox);
        formats->addButton(m_formats[i]);
        formatLayout->addWidget(m_formats[i]);
    }
    layout->addWidget(formatBox);
    auto* nameBox = new QGroupBox(qs("ファイル名"), this);
    auto* nameLayout = new QVBoxLayout(nameBox);
    m_letter = new QCheckBox(qs("ファイル名の最後に拡張子頭一字を追加する(jpegの場合j)"), nameBox);
    nameLayout->addWidget(m_letter);
    layout->addWidget(nameBox);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qs("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, [this] { browse(); });
    layout->addWidget(buttons);

    for (int i = 0; i < 5; ++i)
        m_formats[i]->setChecked(kFormatOfButton[i] == m_values.format);
    m_margin->setCurrentIndex(m_values.marginIndex());
    m_wholePaper->setChecked(m_values.wholePaper != 0);
    m_ownFolder->setChecked(m_values.ownFolder == 1);
    m_sameFolder->setChecked(m_values.ownFolder != 1);
    m_letter->setChecked(m_values.noLetter == 0);
}

void CGazouAutoSaveSetDg::browse()
{
    if (!m_chooseFolder)
        return;
    const auto chosen = m_chooseFolder(m_folder->text().toStdString());
    if (chosen && !chosen->empty() && chosen->string() != m_folder->text().toStdString())
        m_folder->setText(QString::fromStdString(chosen->string()));
}

void CGazouAutoSaveSetDg::accept()
{
    for (int i = 0; i < 5; ++i)
        if (m_formats[i]->isChecked()) {
            m_values.format = kFormatOfButton[i];
            break;
        }
    if (m_margin->currentIndex() >= 0)
        m_values.margin = 10 * (m_margin->currentIndex() + 1);
    m_values.wholePaper = m_wholePaper->isChecked() ? 1 : 0;
    if (m_sameFolder->isChecked()) {
        m_values.ownFolder = 0;
    } else {
        m_values.ownFolder = 1;
        if (!m_folder->text().isEmpty())
            m_values.folder = m_folder->text().toStdString();
    }
    m_values.noLetter = m_letter->isChecked() ? 0 : 1;
    QDialog::accept();
}

} // namespace kov::dialogs
