#include "dialogs/CheckSettingsPages.h"

#include "dialogs/SettingsServices.h"
#include "dialogs/SettingsTexts.h"
#include "dialogs/SettingsWidgets.h"
#include "model/SettingsValues.h"
#include "platform/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <string>

namespace kov::dialogs {

using kov::model::kSectionPlotMenu;
using kov::model::kSectionUtility;
using ui::named;
using ui::qs;

const std::vector<CheckRow>& DisplayCheckRows()
{
    const std::string_view U = kSectionUtility, P = kSectionPlotMenu;
    static const std::vector<CheckRow> rows = {
        {"和室作成時に畳の縁を付ける(on)", U, "app_tatamiheri", 1, true, true},
        {"部屋文字のバックを白くする(on)", U, "app_roomtextsiro", 1, true, true},
        {"和室の畳の縁で4.5帖の真ん中を四角形にする(off)", U, "room_wasitu45_nakarect", 0, false, false},
        {"連続線作成時、角ごとに単線で作成する(off)", U, "app_renzokusenbara", 0, true, true},
        {"グリッドを印刷する（ドット）(off)", U, "app_printgrid", 0, true, true},
        {"建具配置の片引き戸の壁部分を黒くする(on)", U, "tateg_katabiki_wallkuro", 1, false, false},
        {"選択物の色変更で、白塗りも色変更する(off)", U, "app_sironuri", 0, true, true},
        {"画像表示をレイヤー内で最下層にする(off)", U, "app_gazousita", 0, true, true},
        {"図形のパターンを印刷時に大きく表示(前ver互換)(off)", U, "app_pattern_printbai", 0, true, true},
        {"補助線使用の多角形等で、塗りつぶしがあるものは印刷する(on)", U, "app_hojonuriprt", 1, true, true},
        {"白黒表示時に部屋の模様を消す(off)", P, "app_sirokuro_roomhachdel", 0, true, true},
        {"建具配置の開き戸の中を白くする(off)", U, "tateg_hiraki_nakasiro", 0, false, false},
        {"文字が実際に印刷する部分を画面上点線で表示する(off)", U, "app_printrealmode", 0, true, false},
        {"図形の模様を自動間隔にする(off)", U, "zukei_moyou_auto", 0, false, false},
        {"白黒表示時、部屋の線の色を白にする(off)", P, "app_sirokuro_roomdel", 0, false, false},
        {"カラー、白黒の状態を画面左下に表示する(on)", P, "app_modeview", 1, false, false},
    };
    return rows;
}

const std::vector<CheckRow>& OperationCheckRows()
{
    const std::string_view U = kSectionUtility, P = kSectionPlotMenu;
    static const std::vector<CheckRow> rows = {
        {"壁芯吸着ボタンの表示(off)", U, "app_walpitaview", 0, true, true},
        {"壁ツール選択時に自動で縦横モードにする(off)", U, "app_walltyoku", 0, true, true},
        {"寸法ツール選択時に自動で縦横モードにする(off)", U, "app_sunpotyoku", 0, false, false},
        {"線ツール選択時に自動で縦横モードにする(off)", U, "app_linetyoku", 0, true, true},
        {"ズーム「拡大」を１クリック動作にする(off)", U, "zoomupold", 0, false, false},
        {"ズーム「拡大」モードを連続する(off)", U, "app_zoomjyouzi", 0, false, false},
        {"自動で線、壁芯吸着が押される(on)", U, "app_autopita", 1, true, true},
        {"自動でグリッド吸着をON、OFFする(on)", U, "app_autogridpita", 1, true, true},
        {"一点目からの距離をマウス横に表示する(on)", U, "app_mousekyori", 1, true, true},
        {"グリッド吸着ＯＮ時、必ずグリッドに吸着(on)", U, "app_gridallpita", 1, true, true},
        {"図形（直線他）ツール時マウスポインタ表示(on)", U, "app_pen_cursor", 1, true, true},
        {"ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作成する(on)", U, "app_backup", 1, false, false},
        {"囲った内容を回転時、文字を回転しない（水平垂直のみ）(off)", U, "app_mozinokaiten", 0, false, false},
        {"マウス先の十字を用紙サイズで表示する(off)", U, "app_cross_cursorbig", 0, true, true},
        {"囲った内容を反転時、建具の扉方向を変えない(on)", U, "tateg_allrev_notrev", 1, false, false},
        {"旧バージョン形式の画像保存(off)", U, "app_savegazouold", 0, false, false},
        {"図形作成時、「作図図形の設定」を表示(on)", P, "app_zukeipropview", 1, true, true},
    };
    return rows;
}

void CheckPageForm::OnInitDialog()
{
    checked.clear();
    for (const CheckRow& r : m_rows)
        checked.push_back(m_services.Read(r.section, r.key, r.defaultValue, r.shownFromCache) != 0 ? 1 : 0);
}

void CheckPageForm::OnOK() const
{
    for (std::size_t i = 0; i < m_rows.size() && i < checked.size(); ++i)
        m_services.Write(m_rows[i].section, m_rows[i].key, checked[i], m_rows[i].cached);
}

void OperationPageForm::OnInitDialog()
{
    CheckPageForm::OnInitDialog();
    auto entry = [](int index, int count) { return index >= 0 && index < count ? index : -1; };
    // Integer division as the lists have always been chosen: 22 shows "20", 3 shows nothing.
    undoChoice = entry(m_services.Read(kSectionUtility, "app_undonum", 20, true) / 5 - 1, 6);
    moveChoice = entry(m_services.Read(kSectionUtility, "app_mousemovelisp", 2, true) / 2, 5);
    toolbarChoice = entry(m_services.Read(kSectionUtility, "toolbuttonsize", 0, false), 3);
}

void OperationPageForm::OnOK() const
{
    CheckPageForm::OnOK();
    // A list without a choice has an empty text, which reads 0.
    const int undo = undoChoice >= 0 ? kov::platform::parseInt(kUndoItems[undoChoice]) : 0;
    if (undo >= 2 && undo <= 99) m_services.Write(kSectionUtility, "app_undonum", undo, true);
    const int move = moveChoice >= 0 ? kov::platform::parseInt(kMoveItems[moveChoice]) : 0;
    if (move >= 0 && move <= 10) m_services.Write(kSectionUtility, "app_mousemovelisp", move, true);
    if (toolbarChoice >= 0) m_services.Write(kSectionUtility, "toolbuttonsize", toolbarChoice, false);
}

CheckSettingsPage::CheckSettingsPage(CheckPageForm& form, QWidget* parent) : QWidget(parent), m_form(form)
{
    auto* layout = new QVBoxLayout(this);
    const auto& rows = m_form.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string key(rows[i].key);
        auto* box = named(new QCheckBox(qs(rows[i].label)), key.c_str());
        box->setChecked(i < m_form.checked.size() && m_form.checked[i]);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_form.checked[i] = on ? 1 : 0; });
        layout->addWidget(box);
    }
    if (auto* op = dynamic_cast<OperationPageForm*>(&m_form)) {
        auto* grid = new QGridLayout;
        auto list = [&](int row, const char* name, const char* before, const char* after,
                        std::initializer_list<const char*> items, int& choice) {
            grid->addWidget(new QLabel(qs(before)), row, 0);
            auto* c = named(new QComboBox, name);
            for (const char* item : items) c->addItem(qs(item));
            c->setCurrentIndex(choice);
            connect(c, &QComboBox::currentIndexChanged, this, [&choice](int index) { choice = index; });
            grid->addWidget(c, row, 1);
            if (after) grid->addWidget(new QLabel(qs(after)), row, 2);
        };
        const auto& u = OperationPageForm::kUndoItems;
        list(0, "app_undonum", texts::kUndoCount, texts::kUndoUnit, {u[0], u[1], u[2], u[3], u[4], u[5]}, op->undoChoice);
        const auto& m = OperationPageForm::kMoveItems;
        list(1, "app_mousemovelisp", texts::kMoveThreshold, texts::kMoveThresholdUnit, {m[0], m[1], m[2], m[3], m[4]},
             op->moveChoice);
        const auto& t = texts::kToolbarSizes;
        list(2, "toolbuttonsize", texts::kToolbarSize, nullptr, {t[0], t[1], t[2]}, op->toolbarChoice);
        grid->setColumnStretch(3, 1);
        layout->addLayout(grid);
    }
    layout->addWidget(new QLabel(qs(texts::kDefaultsNote)));
    layout->addStretch(1);
}

} // namespace kov::dialogs
