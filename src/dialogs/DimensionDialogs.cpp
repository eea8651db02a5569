#include "dialogs/DimensionDialogs.h"

#include "platform/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kov::dialogs {

namespace {

int indexIn(int value, int count) { return value >= 0 && value < count ? value : -1; }

QComboBox* listOf(std::initializer_list<const char*> entries)
{
    auto* c = new QComboBox;
    for (const char* e : entries) c->addItem(QString::fromUtf8(e));
    return c;
}

QLineEdit* digitsEdit(int value)
{
    auto* e = new QLineEdit(QString::fromStdString(kov::platform::formatInt(value)));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setMaximumWidth(60);
    return e;
}

QDialogButtonBox* okCancel(QDialog* dialog, const char* okText)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QString::fromUtf8(okText), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// The faces drawings name first, then the installed families.
std::vector<std::string> enumeratedFonts()
{
    std::vector<std::string> names = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"};
    for (const QString& f : QFontDatabase::families()) names.push_back(f.toStdString());
    return names;
}

} // namespace

int DimensionStyleForm::DecimalsIndex() const { return indexIn(m_values.decimals, 4); }
int DimensionStyleForm::EndMarkIndex() const
{
    return m_values.endMark % 3 == 0 ? indexIn(m_values.endMark / 3, 5) : -1;
}
int DimensionStyleForm::EndMarkSizeIndex() const { return indexIn(m_values.endMarkSize, 5); }
int DimensionStyleForm::UnitIndex() const { return indexIn(m_values.unit, 3); }
int DimensionStyleForm::GroupingIndex() const { return indexIn(m_values.grouping, 4); }

std::vector<std::string> DimensionStyleForm::FontNames(const std::vector<std::string>& enumerated)
{
    std::vector<std::string> names;
    for (const std::string& n : enumerated)
        if (names.empty() || names.back() != n) names.push_back(n);
    return names;
}

int DimensionStyleForm::FaceIndex(const std::vector<std::string>& names) const
{
    const auto it = std::find(names.begin(), names.end(), m_values.face);
    return it == names.end() ? 0 : static_cast<int>(it - names.begin());
}

void DimensionStyleForm::OnOK(const Controls& c, const std::vector<std::string>& enumerated)
{
    if (std::find(enumerated.begin(), enumerated.end(), c.face) != enumerated.end()) m_values.face = c.face;
    m_values.valueShown = c.shown ? 1 : 0;
    m_values.valueMode = c.typed ? 1 : 0;
    m_values.textHeight = kov::platform::parseInt(c.textHeight);
    m_values.extensionStart = kov::platform::parseInt(c.extensionStart);
    m_values.decimals = std::max(c.decimals, 0);
    m_values.unit = std::max(c.unit, 0);
    m_values.grouping = std::max(c.grouping, 0);
    m_values.endMark = 3 * std::max(c.endMark, 0);
    m_values.endMarkSize = c.endMarkSize < 0 ? 2 : c.endMarkSize;
}

CSunpoSetDlg::CSunpoSetDlg(const DimensionStyleValues& values, QWidget* parent)
    : QDialog(parent), m_form(values), m_enumerated(enumeratedFonts())
{
    setWindowTitle(QStringLiteral("寸法詳細設定"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* label, QWidget* w, const char* after = nullptr) {
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
        grid->addWidget(w, row, 1);
        if (after) grid->addWidget(new QLabel(QString::fromUtf8(after)), row, 2);
        ++row;
    };
    m_textHeight = digitsEdit(values.textHeight);
    addRow("文字の高さ（印刷上のmm）", m_textHeight);
    m_decimals = listOf({"0", "1", "2", "3"});
    addRow("表示桁　　小数点第", m_decimals, "位");
    m_endMark = listOf({"なし", "←→", "<-->", "●--●", "■--■"});
    addRow("端点の形状", m_endMark);
    m_endMarkSize = listOf({"小", "普通", "やや大", "大", "極大"});
    addRow("端点の大きさ", m_endMarkSize);
    m_unit = listOf({"mm", "cm", "m"});
    addRow("単位", m_unit);
    m_grouping = listOf({"なし", ",（ｶﾝﾏ）", " （ｽﾍﾟｰｽ）", "_（ｱﾝﾀﾞｰﾊﾞｰ）"});
    addRow("桁区切り", m_grouping);
    m_face = new QComboBox;
    m_face->setEditable(true);
    const std::vector<std::string> names = DimensionStyleForm::FontNames(m_enumerated);
    for (const std::string& n : names) m_face->addItem(QString::fromStdString(n));
    addRow("寸法文字フォント名", m_face);
    m_extensionStart = digitsEdit(values.extensionStart);
    addRow("補助線開始位置（印刷上のmm）", m_extensionStart);
    layout->addLayout(grid);
    auto* shownBox = new QGroupBox(QStringLiteral("寸法文字表示"));
    auto* sl = new QHBoxLayout(shownBox);
    m_shown = new QRadioButton(QStringLiteral("表示する"));
    m_hidden = new QRadioButton(QStringLiteral("表示しない"));
    sl->addWidget(m_shown);
    sl->addWidget(m_hidden);
    layout->addWidget(shownBox);
    auto* modeBox = new QGroupBox(QStringLiteral("寸法値"));
    auto* ml = new QHBoxLayout(modeBox);
    m_measured = new QRadioButton(QStringLiteral("自動計測"));
    m_typed = new QRadioButton(QStringLiteral("手動入力"));
    ml->addWidget(m_measured);
    ml->addWidget(m_typed);
    layout->addWidget(modeBox);
    layout->addWidget(okCancel(this, "OK"));

    m_decimals->setCurrentIndex(m_form.DecimalsIndex());
    m_endMark->setCurrentIndex(m_form.EndMarkIndex());
    m_endMarkSize->setCurrentIndex(m_form.EndMarkSizeIndex());
    m_unit->setCurrentIndex(m_form.UnitIndex());
    m_grouping->setCurrentIndex(m_form.GroupingIndex());
    m_face->setCurrentIndex(m_form.FaceIndex(names));
    (values.valueShown ? m_shown : m_hidden)->setChecked(true);
    (values.valueMode == 1 ? m_typed : m_measured)->setChecked(true);
}

void CSunpoSetDlg::accept()
{
    DimensionStyleForm::Controls c;
    c.textHeight = m_textHeight->text().toStdString();
    c.extensionStart = m_extensionStart->text().toStdString();
    c.face = m_face->currentText().toStdString();
    c.decimals = m_decimals->currentIndex();
    c.endMark = m_endMark->currentIndex();
    c.endMarkSize = m_endMarkSize->currentIndex();
    c.unit = m_unit->currentIndex();
    c.grouping = m_grouping->currentIndex();
    c.shown = m_shown->isChecked();
    c.typed = !m_measured->isChecked();
    m_form.OnOK(c, m_enumerated);
    QDialog::accept();
}

int AutoDimensionForm::LayerIndex(int layerGroup)
{
    if (layerGroup < 0) return 0;
    return layerGroup <= 2 ? layerGroup : -1;
}

void AutoDimensionForm::OnOK(const std::string& height, const std::string& distance, bool allLayers, int wallIndex,
                             int outputIndex)
{
    m_values.height = kov::platform::parseInt(height);
    m_values.distance = kov::platform::parseInt(distance);
    if (allLayers) {
        m_values.scope = 0;
    } else {
        m_values.scope = 2;
        if (wallIndex >= 0) m_values.wallLayerGroup = wallIndex;
    }
    if (outputIndex >= 0) m_values.outputLayerGroup = outputIndex;
}

CSunpouAutoDlg::CSunpouAutoDlg(const AutoDimensionValues& values, QWidget* parent)
    : QDialog(parent), m_form(values)
{
    setWindowTitle(QStringLiteral("寸法線自動作成設定"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_height = digitsEdit(values.height);
    m_distance = digitsEdit(values.distance);
    grid->addWidget(new QLabel(QStringLiteral("寸法線の高さ")), 0, 0);
    grid->addWidget(m_height, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("mm（印刷上のmm）")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("寸法線の壁からの距離")), 1, 0);
    grid->addWidget(m_distance, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mm（印刷上のmm）")), 1, 2);
    layout->addLayout(grid);
    auto* layers = new QGroupBox(QStringLiteral("レイヤー"));
    auto* ll = new QVBoxLayout(layers);
    auto* scopeBox = new QGroupBox(QStringLiteral("寸法線作成対象の壁のあるレイヤ"));
    auto* sl = new QGridLayout(scopeBox);
    m_all = new QRadioButton(QStringLiteral("全てのレイヤが対象"));
    m_one = new QRadioButton(QStringLiteral("指定したレイヤーのみ対象"));
    m_wallLayer = listOf({"0", "1", "2"});
    sl->addWidget(m_all, 0, 0, 1, 2);
    sl->addWidget(m_one, 1, 0);
    sl->addWidget(m_wallLayer, 1, 1);
    ll->addWidget(scopeBox);
    auto* out = new QHBoxLayout;
    m_outputLayer = listOf({"0", "1", "2"});
    out->addWidget(new QLabel(QStringLiteral("寸法線を作成するレイヤ")));
    out->addWidget(m_outputLayer);
    ll->addLayout(out);
    layout->addWidget(layers);
    layout->addWidget(okCancel(this, "寸法線作成"));

    m_wallLayer->setCurrentIndex(AutoDimensionForm::LayerIndex(values.wallLayerGroup));
    m_outputLayer->setCurrentIndex(AutoDimensionForm::LayerIndex(values.outputLayerGroup));
    m_all->setChecked(true);
    m_wallLayer->setEnabled(false);
    connect(m_all, &QRadioButton::toggled, this, [this](bool on) { m_wallLayer->setEnabled(!on); });
}

void CSunpouAutoDlg::accept()
{
    m_form.OnOK(m_height->text().toStdString(), m_distance->text().toStdString(), m_all->isChecked(),
                m_wallLayer->currentIndex(), m_outputLayer->currentIndex());
    QDialog::accept();
}

} // namespace kov::dialogs
