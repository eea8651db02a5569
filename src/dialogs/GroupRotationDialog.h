#pragma once

// "グループの角度": the selected group turned to an absolute angle, shown turned while the angle is
// typed. The form holds the group (a working copy whose box starts at the origin) and the rules;
// the dialog only shows them.

#include "model/KovUnit.h"

#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QLineEdit;

namespace kov::dialogs {

class GroupRotationForm {
public:
    // `working` holds the group and its members with the box's lower corner on the origin (the
    // extraction of the selected group); `layerGroup` is the document's current layer group.
    GroupRotationForm(CKovUnit& working, int layerGroup);
    // The angle the edit shows at opening: the group's stored angle.
    std::string angleText() const;
    double angle() const { return m_angle; }
    // Each change of the edit: a number outside 0..360, or no number, counts as 0.
    void setAngleText(const std::string& text);
    const CKovUnit& working() const { return m_working; }
    int groupId() const { return m_groupId; }

private:
    void turnTo(double angle);

    CKovUnit& m_working;
    CKovUnit m_upright; // the group at angle 0
    int m_layerGroup = 0;
    int m_groupId = 0;
    double m_angle = 0;
};

class CGrpKaitenDlg : public QDialog {
public:
    CGrpKaitenDlg(CKovUnit& working, int layerGroup, QWidget* parent = nullptr);
    double angle() const { return m_form.angle(); }
    const GroupRotationForm& form() const { return m_form; }

    QLineEdit* m_edit = nullptr;
    QLabel* m_preview = nullptr;

private:
    void drawPreview();
    GroupRotationForm m_form;
};

} // namespace kov::dialogs
