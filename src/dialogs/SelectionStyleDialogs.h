#pragma once

// Two small questions of the selection's style commands: the fill opacity ("不透明度の変更") and the
// new gradation ("選択物のグラデーション変更"). Each form holds the values and rules; the dialog only
// shows them.

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;

namespace kov::dialogs {

class CAlphaChangeForm {
public:
    static constexpr const char* kTitle = "不透明度の変更";
    static constexpr const char* kRangeMessage = "値は0～100を入力してください";

    explicit CAlphaChangeForm(int opacity) : m_nAlpha(opacity) {}

    // "%d" of the opacity.
    std::string EditText() const;
    // The opacity, 100 for any value outside 0-99.
    int SliderPosition() const;
    // The slider moved: the opacity, and the text the edit now shows. Typing never moves the slider.
    std::string OnSlider(int position);
    // OK with the edit's text: the message that keeps the dialog open, or empty when the opacity
    // (0-100) was taken.
    std::string Accept(const std::string& editText);

    int m_nAlpha;
};

class CAlphaChangeDg : public QDialog {
public:
    explicit CAlphaChangeDg(int opacity, QWidget* parent = nullptr);
    int opacity() const { return m_form.m_nAlpha; }
    QLineEdit* edit() const { return m_edit; }
    QSlider* slider() const { return m_slider; }
    void accept() override;

private:
    CAlphaChangeForm m_form;
    QLineEdit* m_edit = nullptr;
    QSlider* m_slider = nullptr;
};

class CGradHenkouForm {
public:
    static constexpr const char* kTitle = "選択物のグラデーション変更";
    static constexpr const char* kGroupSizeLabel = "選択グループの要素をグループの大きさでグラデーションをつける";
    // By position: what the gradation operation is asked for.
    static constexpr std::array<const char*, 11> kChoices = {
        "変更なし",     "グラデーションをはずす", "部屋だけグラデーションをはずす", "左から右へ",
        "左上から右下へ", "上から下へ",             "右上から左下へ",                 "右から左へ",
        "右下から左上へ", "下から上へ",             "左下から右上へ"};

    // OK with the list's position (-1 for none) and the check box.
    void Accept(int position, bool groupSizeChecked);

    int m_nChoice = 0;
    int m_nGroupSize = 0;
    int m_nAllowed = 0; // the check box may be used: exactly one group is selected
};

class CGradHenkouDg : public QDialog {
public:
    explicit CGradHenkouDg(bool allowed, QWidget* parent = nullptr);
    const CGradHenkouForm& form() const { return m_form; }
    QComboBox* list() const { return m_list; }
    QCheckBox* groupSize() const { return m_groupSize; }
    void accept() override;

private:
    CGradHenkouForm m_form;
    QComboBox* m_list = nullptr;
    QCheckBox* m_groupSize = nullptr;
};

} // namespace kov::dialogs
