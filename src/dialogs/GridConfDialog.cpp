#include "dialogs/GridConfDialog.h"

#include "platform/NumberText.h"
#include "platform/Profile.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace kov::dialogs {

namespace {

constexpr std::string_view kUtility = "KOV_T_UTILITY";
constexpr std::string_view kPlotMenu = "KOV_T_PlotMenu";

int halfOf(int module)
{
    if (module == 910) return 455;
    if (module == 1000) return 500;
    return module / 2;
}

} // namespace

void GridConfForm::Load(const CGrid& source, const kov::platform::Profile& profile)
{
    grid = source;
    pattern = 0;
    for (int i = CGrid::kGrids - 1; i >= 1; --i)
        if (grid.BGrid[static_cast<std::size_t>(i)]) {
            pattern = i;
            break;
        }
    w = grid.GridW;
    d = grid.GridD;
    sx = grid.StGridW;
    sy = grid.StGridD;
    division = profile.GetProfileInt(kUtility, "app_grid_kankaku_A", 1);
    otherModule = profile.GetProfileInt(kPlotMenu, "grid_module_other", 900);
    const int m = grid.GridModule;
    moduleRadio = (m == 0 || m == 910) ? Shaku : (m == 1 || m == 1000) ? Metre : Other;
}

std::string GridConfForm::FormatNumber(double v)
{
    if (v == std::floor(v)) return kov::platform::formatInt(static_cast<long long>(v));
    // One decimal as a rule, more where one would show another spacing (0.04 as "0.0", which OK
    // then refuses): OK must take back what the dialog showed.
    std::string text = kov::platform::formatFixed(v, 1);
    for (int decimals = 2; decimals <= 6 && kov::platform::parseDouble(text) != v; ++decimals)
        text = kov::platform::formatFixed(v, decimals);
    return text;
}

void GridConfForm::AllHalfKen()
{
    const double m = CGrid::ModuleFromCode(grid.GridModule);
    w.fill(m);
    d.fill(m);
}

void GridConfForm::AllQuarterKen()
{
    const int code = grid.GridModule;
    const double half = code == 0 ? 455.0 : code == 1 ? 500.0 : code * 0.5;
    w.fill(half);
    d.fill(half);
}

void GridConfForm::ChooseModule(int radio)
{
    const int old = CGrid::ModuleFromCode(grid.GridModule);
    moduleRadio = radio;
    int module = 0;
    double newHalf = 0;
    if (radio == Shaku) {
        if (old == 910) return;
        module = 910;
        newHalf = 455;
    } else if (radio == Metre) {
        if (old == 1000) return;
        module = 1000;
        newHalf = 500;
    } else {
        module = otherModule == 0 ? 910 : otherModule;
        newHalf = module * 0.5;
    }
    const double oldHalf = halfOf(old);
    auto convert = [&](double& v) {
        if (v == oldHalf) v = newHalf;
        else if (v == old) v = module;
    };
    for (auto* row : {&w, &d})
        for (double& v : *row) convert(v);
    grid.GridModule = module;
}

std::string GridConfForm::Accept(kov::platform::Profile& profile)
{
    const auto p = static_cast<std::size_t>(pattern);
    const std::string n = std::to_string(pattern + 1);
    if (!(w[p] > 0 && w[p] < 300000)) return "グリッド" + n + "の横間隔に０以外の整数をいれてください";
    if (!(d[p] > 0 && d[p] < 300000)) return "グリッド" + n + "の縦間隔に０以外の整数をいれてください";
    for (std::size_t i = 0; i < CGrid::kGrids; ++i) {
        grid.BGrid[i] = i == p ? 1 : 0;
        if (i != p) continue;
        grid.GridW[i] = w[i];
        grid.GridD[i] = d[i];
        grid.StGridW[i] = sx[i];
        grid.StGridD[i] = sy[i];
    }
    if (division > 500 || division < 2) division = 1;
    profile.WriteProfileInt(kUtility, "app_grid_kankaku_A", division);
    if (moduleRadio == Other) {
        if (otherModule == 0) otherModule = 910;
        grid.GridModule = otherModule;
        profile.WriteProfileInt(kPlotMenu, "grid_module_other", otherModule);
    }
    return {};
}

CGridConfDlg::CGridConfDlg(const CGrid& source, kov::platform::Profile& profile, QWidget* parent)
    : QDialog(parent), m_profile(profile)
{
    setWindowTitle(QString::fromUtf8(kGridConfTitle));
    m_form.Load(source, profile);
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("グリッドパターン"));
    auto* g = new QGridLayout(box);
    m_patterns = new QButtonGroup(this);
    g->addWidget(new QLabel(QStringLiteral("横 , 縦間隔")), 0, 1, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("開始位置")), 0, 3, 1, 2);
    for (int i = 0; i < CGrid::kGrids; ++i) {
        auto* radio = new QRadioButton(QStringLiteral("パターン%1").arg(i + 1));
        m_patterns->addButton(radio, i);
        g->addWidget(radio, i + 1, 0);
        for (int k = 0; k < 4; ++k) {
            auto* e = new QLineEdit;
            e->setFixedWidth(70);
            m_edits[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = e;
            g->addWidget(e, i + 1, k + 1);
        }
    }
    layout->addWidget(box);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("吸着間隔設定値（「設」の部分の値）")));
    m_division = new QLineEdit;
    m_division->setFixedWidth(60);
    row->addWidget(m_division);
    layout->addLayout(row);
    auto* all = new QHBoxLayout;
    auto* half = new QPushButton(QStringLiteral("ALL 半間"));
    auto* quarter = new QPushButton(QStringLiteral("ALL 1/2半間"));
    all->addWidget(half);
    all->addWidget(quarter);
    layout->addLayout(all);
    auto* modules = new QHBoxLayout;
    m_modules = new QButtonGroup(this);
    const char* names[] = {"尺モジュール(910mm)", "メーターモジュール(1000mm)", "その他"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(names[i]));
        m_modules->addButton(r, i);
        modules->addWidget(r);
    }
    m_other = new QLineEdit;
    m_other->setFixedWidth(60);
    modules->addWidget(m_other);
    modules->addWidget(new QLabel(QStringLiteral("mm")));
    layout->addLayout(modules);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGridConfDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(half, &QPushButton::clicked, this, [this] { take(); m_form.AllHalfKen(); show(m_form); });
    connect(quarter, &QPushButton::clicked, this, [this] { take(); m_form.AllQuarterKen(); show(m_form); });
    connect(m_modules, &QButtonGroup::idClicked, this, [this](int id) {
        take();
        m_form.ChooseModule(id);
        show(m_form);
    });
    show(m_form);
}

void CGridConfDlg::show(const GridConfForm& f)
{
    m_patterns->button(f.pattern)->setChecked(true);
    for (std::size_t i = 0; i < CGrid::kGrids; ++i) {
        const double v[] = {f.w[i], f.d[i], f.sx[i], f.sy[i]};
        for (std::size_t k = 0; k < 4; ++k) m_edits[i][k]->setText(QString::fromStdString(GridConfForm::FormatNumber(v[k])));
    }
    m_division->setText(QString::number(f.division));
    m_other->setText(QString::number(f.otherModule));
    m_modules->button(f.moduleRadio)->setChecked(true);
    m_other->setEnabled(f.moduleRadio == GridConfForm::Other);
}

void CGridConfDlg::take()
{
    for (std::size_t i = 0; i < CGrid::kGrids; ++i) {
        double* v[] = {&m_form.w[i], &m_form.d[i], &m_form.sx[i], &m_form.sy[i]};
        for (std::size_t k = 0; k < 4; ++k) *v[k] = kov::platform::parseDouble(m_edits[i][k]->text().toStdString());
    }
    m_form.pattern = std::max(0, m_patterns->checkedId());
    m_form.division = kov::platform::parseInt(m_division->text().toStdString());
    m_form.otherModule = kov::platform::parseInt(m_other->text().toStdString());
}

void CGridConfDlg::accept()
{
    take();
    const std::string refusal = m_form.Accept(m_profile);
    if (!refusal.empty()) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(refusal));
        return;
    }
    QDialog::accept();
}

} // namespace kov::dialogs
