#include "dialogs/AxisLinesDialog.h"

#include "platform/Color.h"
#include "platform/NumberText.h"
#include "platform/Profile.h"
#include "platform/Questions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kov::dialogs {

using kov::model::AxisValues;

AxisLinesForm::AxisLinesForm(const AxisLineSettings& s, const AxisValues& values, int group, int lay)
    : settings(s), layerGroup(group), layer(lay)
{
    for (double v : values.x) items[0].push_back(kov::platform::formatFixed(v, 2));
    for (double v : values.y) items[1].push_back(kov::platform::formatFixed(v, 2));
}

std::string AxisLinesForm::itemOf(const std::string& entry)
{
    const double v = kov::platform::parseDouble(entry);
    if (!(v > 0) || v > AxisValues::kMaxSpacing) return {};
    return kov::platform::formatFixed(v, 2);
}

std::string_view AxisLinesForm::Add(const std::string& entry)
{
    const std::string item = itemOf(entry);
    if (item.empty()) return {};
    std::vector<std::string>& list = items[target];
    if (list.size() >= AxisValues::kMaxPerLine) return kTooManyValues;
    list.push_back(item);
    selected[target] = static_cast<int>(list.size()) - 1;
    return {};
}

void AxisLinesForm::Insert(const std::string& entry)
{
    const std::string item = itemOf(entry);
    std::vector<std::string>& list = items[target];
    const int at = selected[target];
    if (item.empty() || at < 0 || at >= static_cast<int>(list.size()) || list.size() >= AxisValues::kMaxPerLine)
        return;
    list.insert(list.begin() + at, item);
}

void AxisLinesForm::Change(const std::string& entry)
{
    const std::string item = itemOf(entry);
    std::vector<std::string>& list = items[target];
    const int at = selected[target];
    if (item.empty() || at < 0 || at >= static_cast<int>(list.size())) return;
    list[static_cast<std::size_t>(at)] = item;
}

void AxisLinesForm::Delete()
{
    std::vector<std::string>& list = items[target];
    const int at = selected[target];
    if (at < 0 || at >= static_cast<int>(list.size())) return;
    list.erase(list.begin() + at);
    // The item that takes its place stays chosen, if there is one.
    if (at >= static_cast<int>(list.size())) selected[target] = -1;
}

void AxisLinesForm::ClearAll()
{
    items[0].clear();
    items[1].clear();
    selected[0] = selected[1] = -1;
}

std::string AxisLinesForm::Choose(int list, int index)
{
    target = list;
    selected[list] = index;
    const auto& l = items[list];
    return index >= 0 && index < static_cast<int>(l.size()) ? l[static_cast<std::size_t>(index)] : std::string();
}

AxisValues AxisLinesForm::Values() const
{
    AxisValues v;
    for (const std::string& s : items[0]) v.x.push_back(kov::platform::parseDouble(s));
    for (const std::string& s : items[1]) v.y.push_back(kov::platform::parseDouble(s));
    return v;
}

bool AxisLinesForm::Save(kov::platform::Profile& profile, const std::filesystem::path& file) const
{
    settings.Save(profile);
    return kov::model::WriteAxisValueFile(file, Values());
}

namespace {

QLineEdit* numberEdit(int value)
{
    auto* e = new QLineEdit(QString::fromStdString(kov::platform::formatInt(value)));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setMaximumWidth(50);
    return e;
}

QComboBox* comboOf(std::initializer_list<const char*> entries)
{
    auto* c = new QComboBox;
    for (const char* e : entries) c->addItem(QString::fromUtf8(e));
    return c;
}

QComboBox* layerList()
{
    auto* c = new QComboBox;
    for (int i = 0; i < 16; ++i) c->addItem(QString::asprintf("%2d", i));
    return c;
}

} // namespace

CAutoToorisinDlg::CAutoToorisinDlg(kov::platform::Profile& profile, kov::platform::Questions& questions,
                                   std::filesystem::path valuesFile, int layerGroup, int layer, QWidget* parent)
    : QDialog(parent),
      m_form([&profile] { AxisLineSettings s; s.Load(profile); return s; }(),
             kov::model::ReadAxisValueFile(valuesFile), layerGroup, layer),
      m_profile(profile), m_questions(questions), m_file(std::move(valuesFile))
{
    setWindowTitle(QStringLiteral("自動通り芯作成画面"));
    auto* layout = new QHBoxLayout(this);

    auto* valueBox = new QGroupBox(QStringLiteral("値"));
    auto* vl = new QGridLayout(valueBox);
    const char* titles[2] = {"Ｘ方向", "Ｙ方向"};
    for (int i = 0; i < 2; ++i) {
        auto* box = new QGroupBox(QString::fromUtf8(titles[i]));
        auto* bl = new QVBoxLayout(box);
        m_lists[i] = new QListWidget;
        m_lists[i]->setMinimumHeight(180);
        bl->addWidget(m_lists[i]);
        vl->addWidget(box, 0, i);
        connect(m_lists[i], &QListWidget::currentRowChanged, this, [this, i](int row) {
            if (row < 0) return;
            m_entry->setText(QString::fromStdString(m_form.Choose(i, row)));
            m_targets[i]->setChecked(true);
        });
    }
    m_targets[0] = new QRadioButton(QStringLiteral("X"));
    m_targets[1] = new QRadioButton(QStringLiteral("Y"));
    m_targets[0]->setChecked(true);
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(m_targets[0]);
    targetRow->addWidget(m_targets[1]);
    m_entry = new QLineEdit;
    targetRow->addWidget(m_entry);
    targetRow->addWidget(new QLabel(QStringLiteral("mm")));
    vl->addLayout(targetRow, 1, 0, 1, 2);
    for (int i = 0; i < 2; ++i)
        connect(m_targets[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) m_form.target = i;
        });
    auto* buttons = new QHBoxLayout;
    struct Button { const char* text; int which; };
    for (const Button& b : {Button{"追加", 0}, Button{"挿入", 1}, Button{"変更", 2}, Button{"削除", 3},
                            Button{"全てクリア", 4}}) {
        auto* pb = new QPushButton(QString::fromUtf8(b.text));
        buttons->addWidget(pb);
        const int which = b.which;
        connect(pb, &QPushButton::clicked, this, [this, which] {
            const std::string entry = m_entry->text().toStdString();
            switch (which) {
            case 0: {
                const std::string_view message = m_form.Add(entry);
                if (!message.empty()) m_questions.message(message);
                break;
            }
            case 1: m_form.Insert(entry); break;
            case 2: m_form.Change(entry); break;
            case 3: m_form.Delete(); break;
            default: m_form.ClearAll(); break;
            }
            refreshLists();
        });
    }
    vl->addLayout(buttons, 2, 0, 1, 2);
    layout->addWidget(valueBox);

    auto* right = new QVBoxLayout;
    auto* direction = new QGroupBox(QStringLiteral("通り芯の方向"));
    auto* dl = new QGridLayout(direction);
    m_fromLeft = new QRadioButton(QStringLiteral("左から"));
    m_fromRight = new QRadioButton(QStringLiteral("右から"));
    m_fromTop = new QRadioButton(QStringLiteral("上から"));
    m_fromBottom = new QRadioButton(QStringLiteral("下から"));
    auto* horizontalPair = new QWidget;
    auto* hp = new QHBoxLayout(horizontalPair);
    hp->setContentsMargins(0, 0, 0, 0);
    hp->addWidget(m_fromLeft);
    hp->addWidget(m_fromRight);
    auto* verticalPair = new QWidget;
    auto* vp = new QHBoxLayout(verticalPair);
    vp->setContentsMargins(0, 0, 0, 0);
    vp->addWidget(m_fromTop);
    vp->addWidget(m_fromBottom);
    dl->addWidget(horizontalPair, 0, 0);
    dl->addWidget(verticalPair, 1, 0);
    right->addWidget(direction);

    auto* symbols = new QGroupBox(QStringLiteral("記号・番号"));
    auto* sg = new QGridLayout(symbols);
    sg->addWidget(new QLabel(QStringLiteral("始番号")), 0, 1);
    sg->addWidget(new QLabel(QStringLiteral("記号")), 0, 2);
    sg->addWidget(new QLabel(QStringLiteral("横方向")), 1, 0);
    sg->addWidget(new QLabel(QStringLiteral("縦方向")), 2, 0);
    const AxisLineSettings& s = m_form.settings;
    m_xNumber = numberEdit(s.ats_bangou_y);
    m_xSymbol = new QLineEdit(QString::fromStdString(s.ats_kigou_y));
    m_xPlace = comboOf({"上", "下", "両方", "なし"});
    m_yNumber = numberEdit(s.ats_bangou_t);
    m_ySymbol = new QLineEdit(QString::fromStdString(s.ats_kigou_t));
    m_yPlace = comboOf({"左", "右", "両方", "なし"});
    sg->addWidget(m_xNumber, 1, 1);
    sg->addWidget(m_xSymbol, 1, 2);
    sg->addWidget(m_xPlace, 1, 3);
    sg->addWidget(m_yNumber, 2, 1);
    sg->addWidget(m_ySymbol, 2, 2);
    sg->addWidget(m_yPlace, 2, 3);
    right->addWidget(symbols);

    auto* other = new QGroupBox(QStringLiteral("その他"));
    auto* ol = new QGridLayout(other);
    m_dimensions = new QCheckBox(QStringLiteral("寸法線を作成する"));
    m_split = new QCheckBox(QStringLiteral("交差ごとに線を区切る（線吸着できる）"));
    m_lineType = comboOf({"実線", "破線", "点線", "一点鎖線", "二点鎖線", "補助線"});
    m_swatch = new QLabel;
    m_swatch->setFixedSize(40, 16);
    auto* colour = new QPushButton(QStringLiteral("▼"));
    colour->setFixedWidth(24);
    ol->addWidget(m_dimensions, 0, 0, 1, 4);
    ol->addWidget(m_split, 1, 0, 1, 4);
    ol->addWidget(new QLabel(QStringLiteral("線種")), 2, 0);
    ol->addWidget(m_lineType, 2, 1);
    ol->addWidget(new QLabel(QStringLiteral("色")), 2, 2);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(m_swatch);
    colourRow->addWidget(colour);
    ol->addLayout(colourRow, 2, 3);
    right->addWidget(other);

    auto* layerRow = new QHBoxLayout;
    layerRow->addWidget(new QLabel(QStringLiteral("出力レイヤー")));
    m_layerGroup = layerList();
    m_layer = layerList();
    layerRow->addWidget(m_layerGroup);
    layerRow->addWidget(new QLabel(QStringLiteral("-")));
    layerRow->addWidget(m_layer);
    right->addLayout(layerRow);
    auto* box = new QDialogButtonBox;
    box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addWidget(box);
    layout->addLayout(right);

    // Opening: the settings and the lists as the store and the file hold them.
    (s.ats_houkou_sayu == 0 ? m_fromLeft : m_fromRight)->setChecked(true);
    (s.ats_houkou_jyoge == 0 ? m_fromBottom : m_fromTop)->setChecked(true);
    m_xPlace->setCurrentIndex(s.ats_kigou_t_view >= 0 && s.ats_kigou_t_view <= 3 ? s.ats_kigou_t_view : -1);
    m_yPlace->setCurrentIndex(s.ats_kigou_y_view >= 0 && s.ats_kigou_y_view <= 3 ? s.ats_kigou_y_view : -1);
    m_dimensions->setChecked(s.ats_sunpouview != 0);
    m_split->setChecked(s.ats_kousa != 0);
    m_lineType->setCurrentIndex(s.ats_sen_syurui >= 0 && s.ats_sen_syurui <= 5 ? s.ats_sen_syurui : -1);
    m_layerGroup->setCurrentIndex(layerGroup >= 0 && layerGroup < 16 ? layerGroup : -1);
    m_layer->setCurrentIndex(layer >= 0 && layer < 16 ? layer : -1);
    connect(colour, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::uint32_t> c = m_questions.chooseColor(m_form.settings.ats_sen_color)) {
            m_form.settings.ats_sen_color = *c;
            paintSwatch();
        }
    });
    paintSwatch();
    refreshLists();
}

void CAutoToorisinDlg::refreshLists()
{
    for (int i = 0; i < 2; ++i) {
        QSignalBlocker block(m_lists[i]);
        m_lists[i]->clear();
        for (const std::string& item : m_form.items[i]) m_lists[i]->addItem(QString::fromStdString(item));
        m_lists[i]->setCurrentRow(m_form.selected[i]);
    }
}

void CAutoToorisinDlg::paintSwatch()
{
    QPixmap swatch(m_swatch->size());
    swatch.fill(kov::platform::toQColor(m_form.settings.ats_sen_color));
    m_swatch->setPixmap(swatch);
}

void CAutoToorisinDlg::accept()
{
    AxisLineSettings& s = m_form.settings;
    if (m_layerGroup->currentIndex() >= 0) m_form.layerGroup = m_layerGroup->currentIndex();
    if (m_layer->currentIndex() >= 0) m_form.layer = m_layer->currentIndex();
    s.ats_kousa = m_split->isChecked() ? 1 : 0;
    s.ats_sunpouview = m_dimensions->isChecked() ? 1 : 0;
    s.ats_houkou_sayu = m_fromRight->isChecked() ? 1 : 0;
    s.ats_houkou_jyoge = m_fromTop->isChecked() ? 1 : 0;
    s.ats_kigou_y = m_xSymbol->text().toStdString();
    s.ats_bangou_y = kov::platform::parseInt(m_xNumber->text().toStdString());
    if (m_xPlace->currentIndex() >= 0) s.ats_kigou_t_view = m_xPlace->currentIndex();
    s.ats_kigou_t = m_ySymbol->text().toStdString();
    s.ats_bangou_t = kov::platform::parseInt(m_yNumber->text().toStdString());
    if (m_yPlace->currentIndex() >= 0) s.ats_kigou_y_view = m_yPlace->currentIndex();
    if (m_lineType->currentIndex() >= 0) s.ats_sen_syurui = m_lineType->currentIndex();
    // A file that cannot be written leaves the settings written and the dialog closes all the same.
    m_form.Save(m_profile, m_file);
    QDialog::accept();
}

} // namespace kov::dialogs
