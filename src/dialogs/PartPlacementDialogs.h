#pragma once

// The small dialogs of the parts palette: the placement options ("部品の向き、大きさ、配置位置"),
// the order of the library's folders ("部品配置のフォルダ表示順番並べ替え") and a new folder
// ("フォルダの追加"). Each keeps its values and rules in a form; the dialog only shows it.

#include <QDialog>

#include <filesystem>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;

namespace kov::platform {
class Profile;
class Questions;
}

namespace kov::dialogs {

// The placement options: direction 1-7 with its angle, size mode 1 (factors) or 2 (sizes), the
// two factors and two sizes, pointer position 1-9.
class BuhinItiSetForm {
public:
    explicit BuhinItiSetForm(kov::platform::Profile& profile);

    int m_nDirection = 1;          // 0: no button on
    std::string m_strAngle = "0";
    int m_nSizeMode = 1;           // 0: neither button on
    std::string m_strFactorX = "1.00", m_strFactorY = "1.00";
    std::string m_strSizeX = "1000.00", m_strSizeY = "1000.00";
    int m_nPointer = 1;            // 0: no button on

    bool AngleEnabled() const { return m_nDirection == 7; }
    bool FactorsEnabled() const { return m_nSizeMode != 2; }
    bool SizesEnabled() const { return m_nSizeMode != 1; }
    // Writes the settings as OK does: angles outside 0-360 become "0", factors outside (0, 1000]
    // become "1", sizes not above 0 are not written.
    void OnOK();

private:
    kov::platform::Profile& m_profile;
};

class CBuhinItiSetDlg : public QDialog {
    Q_OBJECT
public:
    CBuhinItiSetDlg(kov::platform::Profile& profile, QWidget* parent = nullptr);
    BuhinItiSetForm& form() { return m_form; }

private:
    void sync();
    BuhinItiSetForm m_form;
    QButtonGroup* m_direction = nullptr;
    QButtonGroup* m_size = nullptr;
    QButtonGroup* m_pointer = nullptr;
    QLineEdit* m_angle = nullptr;
    QLineEdit* m_factorX = nullptr;
    QLineEdit* m_factorY = nullptr;
    QLineEdit* m_sizeX = nullptr;
    QLineEdit* m_sizeY = nullptr;
};

// The order in which the palette lists the folders, saved as their names joined by commas.
class FolderOrderForm {
public:
    FolderOrderForm(kov::platform::Profile& profile, std::filesystem::path root);

    std::vector<std::string> m_Found;  // the folders under the root, listed
    std::vector<std::string> m_Order;  // as shown
    int m_bCustom = 0;                 // 1: the order differs from the listing's
    int m_nChosen = -1;

    // False with the message shown when the root cannot be listed or holds no folder.
    bool Open(kov::platform::Questions& questions);
    void Up();
    void Down();
    void Reset();
    void OnOK();

private:
    kov::platform::Profile& m_profile;
    std::filesystem::path m_root;
};

class CBuhinFordaJyunDg : public QDialog {
    Q_OBJECT
public:
    CBuhinFordaJyunDg(kov::platform::Profile& profile, kov::platform::Questions& questions,
                      std::filesystem::path root, QWidget* parent = nullptr);
    FolderOrderForm& form() { return m_form; }
    // False when the dialog closed at once (no library to order).
    bool opened() const { return m_opened; }

private:
    void refill();
    FolderOrderForm m_form;
    QListWidget* m_list = nullptr;
    bool m_opened = false;
};

// A new folder's name, and whether it goes inside the chosen folder (-1: no folder is chosen).
struct AddFolderForm {
    std::string m_strName;
    int m_nInside = 0;
    std::string m_strCaption;
};

class CFordaAddDlg : public QDialog {
    Q_OBJECT
public:
    CFordaAddDlg(const std::string& caption, int inside, QWidget* parent = nullptr);
    AddFolderForm& form() { return m_form; }

private:
    AddFolderForm m_form;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_inside = nullptr;
};

} // namespace kov::dialogs
