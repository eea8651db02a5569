#include "dialogs/JwwReadSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kov::dialogs {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
} // namespace

JwwImportOptions JwwReadSettingsForm::Options() const
{
    JwwImportOptions o;
    o.m_bKeepWhite = whiteToBlack ? 0 : 1;
    o.m_bArcsToPolylines = arcsToPolylines ? 1 : 0;
    o.m_bAllBlack = colourByPen ? 0 : 1;
    o.m_bWidthOne = widthByPen ? 0 : 1;
    o.m_nSolids = solidsToLayerZero ? 0 : 2;
    o.m_nBlockLimit = (limitIndex >= 0 && limitIndex < static_cast<int>(kLimits.size())) ? kLimits[limitIndex] : 0;
    o.m_bBlockSkipped = 0;
    return o;
}

CJWWReadSetDg::CJWWReadSetDg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(qs("JW_CAD(windows)読み込み設定"));
    auto* layout = new QVBoxLayout(this);

    auto* lines = new QGroupBox(qs("線、文字"), this);
    auto* linesLayout = new QVBoxLayout(lines);
    m_white = new QCheckBox(qs("線、文字の色が白の時は黒にする"), lines);
    m_arcs = new QCheckBox(qs("円、円弧は多角形、連続線にする"), lines);
    linesLayout->addWidget(m_white);
    linesLayout->addWidget(m_arcs);
    layout->addWidget(lines);

    auto radioPair = [this, layout](const char* title, const char* first, const char* second, QRadioButton*& a,
                                    QRadioButton*& b) {
        auto* box = new QGroupBox(qs(title), this);
        auto* boxLayout = new QVBoxLayout(box);
        a = new QRadioButton(qs(first), box);
        b = new QRadioButton(qs(second), box);
        auto* group = new QButtonGroup(box);
        group->addButton(a);
        group->addButton(b);
        boxLayout->addWidget(a);
        boxLayout->addWidget(b);
        layout->addWidget(box);
    };
    radioPair("色", "線種番号に従いプリンタ出力色で出力", "全て黒色で出力", m_byPen, m_allBlack);
    radioPair("幅", "線種番号を線幅タイプの番号にして出力", "全て線幅タイプ1にする", m_widthByPen, m_widthOne);
    radioPair("ソリッド", "0レイヤーに移行する", "ソリッドデータを無視する", m_solidsZero, m_solidsIgnore);

    auto* limitRow = new QHBoxLayout();
    limitRow->addWidget(new QLabel(qs("ブロックの要素数"), this));
    m_limit = new QComboBox(this);
    for (std::string_view text : JwwReadSettingsForm::kLimitTexts)
        m_limit->addItem(qs(text));
    limitRow->addWidget(m_limit);
    limitRow->addWidget(new QLabel(qs("以上の場合、読み飛ばす"), this));
    layout->addLayout(limitRow);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qs("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // The same defaults every time the dialog opens.
    m_white->setChecked(m_form.whiteToBlack);
    m_arcs->setChecked(m_form.arcsToPolylines);
    m_byPen->setChecked(m_form.colourByPen);
    m_allBlack->setChecked(!m_form.colourByPen);
    m_widthByPen->setChecked(m_form.widthByPen);
    m_widthOne->setChecked(!m_form.widthByPen);
    m_solidsZero->setChecked(m_form.solidsToLayerZero);
    m_solidsIgnore->setChecked(!m_form.solidsToLayerZero);
    m_limit->setCurrentIndex(m_form.limitIndex);
}

void CJWWReadSetDg::accept()
{
    m_form.whiteToBlack = m_white->isChecked();
    m_form.arcsToPolylines = m_arcs->isChecked();
    m_form.colourByPen = m_byPen->isChecked();
    m_form.widthByPen = m_widthByPen->isChecked();
    m_form.solidsToLayerZero = m_solidsZero->isChecked();
    m_form.limitIndex = m_limit->currentIndex();
    QDialog::accept();
}

} // namespace kov::dialogs
