#pragma once

// "複線の距離": the distance of the parallel line, asked before the parallel-line tool starts.

#include <QDialog>

#include <string>

class QLineEdit;

namespace kov::dialogs {

class ParallelDistanceForm {
public:
    static constexpr const char* kTitle = "複線の距離";
    explicit ParallelDistanceForm(double distance) : m_dDistance(distance) {}
    double m_dDistance;
    std::string InitialText() const;
    // OK takes the typed number unchecked: letters read as 0.
    void OnOK(const std::string& text);
};

class ParallelDistanceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ParallelDistanceDialog(double distance, QWidget* parent = nullptr);
    const ParallelDistanceForm& form() const { return m_form; }
    QLineEdit* edit() const { return m_edit; }

    void accept() override;

private:
    ParallelDistanceForm m_form;
    QLineEdit* m_edit;
};

} // namespace kov::dialogs
