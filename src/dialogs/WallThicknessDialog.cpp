#include "dialogs/WallThicknessDialog.h"

#include "model/PlotInfo.h"
#include "platform/NumberText.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kov::dialogs {

std::string WallThicknessForm::InitialText() const { return kov::platform::formatFixed(m_plot.PlotWallWide, 1); }

void WallThicknessForm::OnThicknessChange(const std::string& text)
{
    const double value = kov::platform::parseDouble(text);
    if (value >= 0 && value < 100000)
        m_plot.PlotWallWide = value;
}

WallThicknessDialog::WallThicknessDialog(CPlotInfo& plot, bool modal, QWidget* parent)
    : QDialog(parent), m_form(plot, modal)
{
    setWindowTitle(QString::fromUtf8(modal ? WallThicknessForm::kSelectedCaption : WallThicknessForm::kPanelCaption));
    auto* layout = new QVBoxLayout(this);
    m_edit = new QLineEdit(QString::fromUtf8(m_form.InitialText().c_str()));
    m_edit->setObjectName(QStringLiteral("thickness"));
    layout->addWidget(m_edit);
    connect(m_edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_form.OnThicknessChange(text.toStdString()); });
    if (modal) {
        auto* buttons = new QDialogButtonBox;
        buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
}

} // namespace kov::dialogs
