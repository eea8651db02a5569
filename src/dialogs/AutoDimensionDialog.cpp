#include "dialogs/AutoDimensionDialog.h"

#include "platform/NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
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

} // namespace

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
