#pragma once

// The page "引用文の編集" of the settings sheet: the quotation list of the file "kovtex.txt", read
// when the page is first shown and written by its OK.

#include <QWidget>

#include <filesystem>
#include <string>
#include <vector>

namespace kov::dialogs {

struct SettingsServices;

class QuotationPageForm {
public:
    explicit QuotationPageForm(const SettingsServices& services) : m_services(services) {}

    std::vector<std::string> list;
    int selected = -1;
    std::string edit;

    std::filesystem::path file() const;
    void OnInitDialog();
    // "追加", "挿入", "削除": false when nothing changed (an empty edit, no selection, a text the
    // file cannot hold, which is said).
    bool Add();
    bool Insert();
    bool Delete();
    // Writes the file; a failure is said, the sheet closes all the same.
    void OnOK() const;

private:
    bool storable() const;
    const SettingsServices& m_services;
};

class QuotationSettingsPage : public QWidget {
public:
    QuotationSettingsPage(QuotationPageForm& form, QWidget* parent = nullptr);
    void sync();

private:
    QuotationPageForm& m_form;
};

} // namespace kov::dialogs
