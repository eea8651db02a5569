#include "dialogs/FigureSizeDialogs.h"

#include "platform/NumberText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <cmath>

namespace kov::dialogs {

using kov::platform::formatFixed;

namespace {

QString qs(const std::string& s) { return QString::fromUtf8(s.c_str()); }

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

void RectBySizeForm::OnChange(int side, const std::string& text)
{
    if (side < 0 || side > 3)
        return;
    m_Reach[static_cast<std::size_t>(side)] = std::abs(kov::platform::parseDouble(text));
}

std::string RectBySizeForm::WidthText() const { return formatFixed(m_Reach[LEFT] + m_Reach[RIGHT], 2); }
std::string RectBySizeForm::HeightText() const { return formatFixed(m_Reach[UP] + m_Reach[DOWN], 2); }

std::string RectBySizeForm::OnOK() const
{
    if ((m_Reach[LEFT] == 0 && m_Reach[RIGHT] == 0) || (m_Reach[UP] == 0 && m_Reach[DOWN] == 0))
        return kZeroSide;
    return {};
}

RectBySizeDialog::RectBySizeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(RectBySizeForm::kTitle));
    auto* grid = new QGridLayout(this);
    m_width = new QLabel(qs(m_form.WidthText()));
    m_height = new QLabel(qs(m_form.HeightText()));
    const struct {
        int side;
        const char* arrow;
        int row, column;
        const char* name;
    } edits[] = {{RectBySizeForm::UP, "↑", 1, 2, "up"}, {RectBySizeForm::LEFT, "←", 2, 0, "left"},
                 {RectBySizeForm::RIGHT, "→", 2, 4, "right"}, {RectBySizeForm::DOWN, "↓", 3, 2, "down"}};
    for (const auto& e : edits) {
        auto* edit = new QLineEdit(QStringLiteral("0.00"));
        edit->setObjectName(QString::fromUtf8(e.name));
        grid->addWidget(new QLabel(QString::fromUtf8(e.arrow)), e.row, e.column);
        grid->addWidget(edit, e.row, e.column + 1);
        const int side = e.side;
        connect(edit, &QLineEdit::textChanged, this, [this, side](const QString& text) {
            m_form.OnChange(side, text.toStdString());
            m_width->setText(qs(m_form.WidthText()));
            m_height->setText(qs(m_form.HeightText()));
        });
    }
    grid->addWidget(m_width, 0, 2);
    grid->addWidget(m_height, 2, 2);
    grid->addWidget(okCancel(this), 4, 0, 1, 6);
}

void RectBySizeDialog::accept()
{
    const std::string refusal = m_form.OnOK();
    if (!refusal.empty()) {
        QMessageBox::information(this, windowTitle(), qs(refusal));
        return;
    }
    QDialog::accept();
}

std::string TriangleSidesForm::BaseText() const { return "底辺 " + std::to_string(c) + "mm"; }

void TriangleSidesForm::OnChange(const std::string& aText, const std::string& bText)
{
    a = kov::platform::parseInt(aText);
    b = kov::platform::parseInt(bText);
}

std::string TriangleSidesForm::AreaText() const
{
    if (!MakesTriangle())
        return kNoArea;
    const double x = a / 1000.0, y = b / 1000.0, z = c / 1000.0;
    const double s = (x + y + z) / 2;
    return formatFixed(std::sqrt(std::max(0.0, s * (s - x) * (s - y) * (s - z))), 2);
}

TriangleSidesDialog::TriangleSidesDialog(int base, QWidget* parent) : QDialog(parent), m_form(base)
{
    setWindowTitle(QString::fromUtf8(TriangleSidesForm::kTitle));
    auto* grid = new QGridLayout(this);
    m_a = new QLineEdit(QStringLiteral("0"));
    m_b = new QLineEdit(QStringLiteral("0"));
    m_area = new QLabel(QStringLiteral("0"));
    grid->addWidget(m_a, 0, 0);
    grid->addWidget(m_b, 0, 2);
    grid->addWidget(new QLabel(qs(m_form.BaseText())), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("面積")), 2, 0);
    grid->addWidget(m_area, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("㎡")), 2, 2);
    grid->addWidget(okCancel(this), 3, 0, 1, 3);
    auto changed = [this] {
        m_form.OnChange(m_a->text().toStdString(), m_b->text().toStdString());
        m_area->setText(qs(m_form.AreaText()));
    };
    connect(m_a, &QLineEdit::textChanged, this, changed);
    connect(m_b, &QLineEdit::textChanged, this, changed);
}

void TriangleSidesDialog::accept()
{
    const std::string refusal = m_form.OnOK();
    if (!refusal.empty()) {
        QMessageBox::information(this, windowTitle(), qs(refusal));
        return;
    }
    QDialog::accept();
}

} // namespace kov::dialogs
