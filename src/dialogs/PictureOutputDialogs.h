#pragma once

// The picture output settings panel beside the range-to-picture tool, and the automatic picture
// save settings. The forms hold the rules and talk to the profile; the dialogs only show them.

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

// "画像出力設定": every change is written to the profile at once.
class PictureOutputForm {
public:
    explicit PictureOutputForm(kov::platform::Profile& profile) : m_profile(profile) {}

    struct Enabled {
        bool quality = true, sizeCheck = true, width = true, height = true, exact = true;
    };
    struct Shown {
        int quality = 100, width = 800, height = 800, sizeFlag = 0, exact = 0, purpose = 0;
    };
    Shown LoadSettings() const;
    Enabled enabled() const;

    // Edits: a decimal integer in range is written; any other text is ignored (empty reads 0).
    void qualityEdited(const std::string& text);
    void widthEdited(const std::string& text);
    void heightEdited(const std::string& text);
    void sizeChecked(bool on);
    void exactChecked(bool on);
    void purposeChosen(int purpose);

private:
    kov::platform::Profile& m_profile;
};

class CGazouOutSizeDg : public QDialog {
public:
    CGazouOutSizeDg(kov::platform::Profile& profile, QWidget* parent = nullptr);
    void LoadSettings();

    QLineEdit* m_quality = nullptr;
    QCheckBox* m_size = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QCheckBox* m_exact = nullptr;
    QRadioButton* m_purpose[4] = {};

private:
    void applyEnabled();
    PictureOutputForm m_form;
    bool m_loading = false;
};

// "自動画像保存設定詳細": the six values, read from and written to the profile by the settings page.
struct AutoPictureSaveForm {
    int format = 0;        // gazououtput_type
    int margin = 20;       // gazououtput_auto_yohaku
    int ownFolder = 0;     // gazououtput_auto_fordanini
    std::string folder;    // gazououtput_auto_fordaniniforda
    int wholePaper = 0;    // gazououtput_auto_image
    int noLetter = 0;      // gazououtput_auto_filenamefree

    void Load(const kov::platform::Profile& profile, const std::filesystem::path& documents);
    void Save(kov::platform::Profile& profile) const;
    // The margin list's entry for the margin, -1 when none fits.
    int marginIndex() const { return (margin >= 10 && margin <= 100) ? margin / 10 - 1 : -1; }
};

class CGazouAutoSaveSetDg : public QDialog {
public:
    using FolderChooser = std::function<std::optional<std::filesystem::path>(const std::filesystem::path& start)>;
    CGazouAutoSaveSetDg(const AutoPictureSaveForm& values, FolderChooser chooseFolder, QWidget* parent = nullptr);
    const AutoPictureSaveForm& values() const { return m_values; }
    void accept() override;
    void browse();

    QRadioButton* m_sameFolder = nullptr;
    QRadioButton* m_ownFolder = nullptr;
    QLineEdit* m_folder = nullptr;
    QCheckBox* m_wholePaper = nullptr;
    QComboBox* m_margin = nullptr;
    QRadioButton* m_formats[5] = {};   // jpeg, bmp, gif, png, emf
    QCheckBox* m_letter = nullptr;

private:
    AutoPictureSaveForm m_values;
    FolderChooser m_chooseFolder;
};

} // namespace kov::dialogs
