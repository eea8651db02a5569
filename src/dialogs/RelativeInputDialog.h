#pragma once

// "相対位置(単位mm)": a Shift+click turned into a typed point. The clicked point plus a horizontal
// and a vertical offset (typed upwards positive), optionally moved a distance along an angle.

#include "model/DbPoint.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

namespace kov::dialogs {

class RelativeInputForm {
public:
    explicit RelativeInputForm(const CDbPoint& base);

    static constexpr const char* kTitle = "相対位置(単位mm)";
    static std::vector<std::string> AngleChoices(); // "0", "15", ... "165"

    CDbPoint m_Base;
    std::string m_strDx = "0";
    std::string m_strDy = "0";       // upwards positive
    std::string m_strAngle = "0";
    std::string m_strDistance = "0";

    std::string BaseXText() const;
    std::string BaseYText() const;   // upwards positive
    // The shown results after an edit (upwards positive y).
    std::string ResultXText() const;
    std::string ResultYText() const;
    // OK: the point in drawing millimetres (y grows downwards). Nothing is refused; text that is
    // no number counts as 0.
    CDbPoint OnOK() const;

private:
    // The move along the angle (drawing y downwards); none for 0, ±360 and beyond, or no distance.
    CDbPoint angleMove() const;
};

class RelativeInputDialog : public QDialog {
    Q_OBJECT
public:
    explicit RelativeInputDialog(const CDbPoint& base, QWidget* parent = nullptr);
    RelativeInputForm& form() { return m_form; }
    CDbPoint point() const { return m_form.OnOK(); }

private:
    void refresh();

    RelativeInputForm m_form;
    QLineEdit* m_dx;
    QLineEdit* m_dy;
    QComboBox* m_angle;
    QLineEdit* m_distance;
    QLabel* m_resultX;
    QLabel* m_resultY;
};

} // namespace kov::dialogs
