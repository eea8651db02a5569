#pragma once

// The pages "表示設定" and "動作設定" of the settings sheet: check boxes bound to settings keys (each
// a row of label, section, key and default), and on the operation page three lists. OnInitDialog
// shows the stored values, OnOK writes every one of them, to the application's cache as well where
// it keeps the setting.

#include <QWidget>

#include <string_view>
#include <vector>

namespace kov::dialogs {

struct SettingsServices;

struct CheckRow {
    const char* label;
    std::string_view section;
    std::string_view key;
    int defaultValue;
    bool cached;           // the application keeps it: OnOK writes the cache with the key
    bool shownFromCache;   // OnInitDialog shows the cached value (else the key's)
};

// The sixteen boxes of "表示設定" and the seventeen of "動作設定", in page order.
const std::vector<CheckRow>& DisplayCheckRows();
const std::vector<CheckRow>& OperationCheckRows();

class CheckPageForm {
public:
    CheckPageForm(const std::vector<CheckRow>& rows, const SettingsServices& services)
        : m_rows(rows), m_services(services)
    {
    }
    virtual ~CheckPageForm() = default;

    const std::vector<CheckRow>& rows() const { return m_rows; }
    std::vector<int> checked; // one per row, 0 or 1

    virtual void OnInitDialog();
    virtual void OnOK() const;

protected:
    const std::vector<CheckRow>& m_rows;
    const SettingsServices& m_services;
};

class DisplayPageForm : public CheckPageForm {
public:
    explicit DisplayPageForm(const SettingsServices& services) : CheckPageForm(DisplayCheckRows(), services) {}
};

class OperationPageForm : public CheckPageForm {
public:
    static constexpr const char* kUndoItems[6] = {"5", "10", "15", "20", "25", "30"};
    static constexpr const char* kMoveItems[5] = {"0", "2", "4", "6", "8"};

    explicit OperationPageForm(const SettingsServices& services) : CheckPageForm(OperationCheckRows(), services) {}

    int undoChoice = -1;     // entry of app_undonum's list, -1 none
    int moveChoice = -1;     // entry of app_mousemovelisp's list
    int toolbarChoice = -1;  // entry of toolbuttonsize's list

    void OnInitDialog() override;
    void OnOK() const override;
};

// The page's widget: a box per row (named by its key), and the lists on the operation page.
class CheckSettingsPage : public QWidget {
public:
    CheckSettingsPage(CheckPageForm& form, QWidget* parent = nullptr);

private:
    CheckPageForm& m_form;
};

} // namespace kov::dialogs
