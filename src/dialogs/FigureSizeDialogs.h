#pragma once

// The numbers two figure tools ask for: "寸法指定四角形", the reach of a rectangle from the clicked
// point to the left, right, top and bottom; and "２点からの距離", the distances of a triangle's third
// point from the two ends of its base, with the triangle's area while they are typed.

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QLineEdit;

namespace kov::dialogs {

class RectBySizeForm {
public:
    static constexpr const char* kTitle = "寸法指定四角形";
    static constexpr const char* kZeroSide = "縦幅又は横幅が０になっています";
    enum Side { LEFT = 0, RIGHT = 1, UP = 2, DOWN = 3 };

    std::array<double, 4> m_Reach{0, 0, 0, 0};

    // A change of one edit: the number, made positive.
    void OnChange(int side, const std::string& text);
    std::string WidthText() const;
    std::string HeightText() const;
    // OK: the message that keeps the dialog open, empty to close.
    std::string OnOK() const;
};

class RectBySizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit RectBySizeDialog(QWidget* parent = nullptr);
    const RectBySizeForm& form() const { return m_form; }

    void accept() override;

private:
    RectBySizeForm m_form;
    QLabel* m_width;
    QLabel* m_height;
};

class TriangleSidesForm {
public:
    static constexpr const char* kTitle = "２点からの距離";
    static constexpr const char* kBadDistances = "距離が不正です";
    static constexpr const char* kNoArea = "計測不可";

    explicit TriangleSidesForm(int base) : c(base) {}

    int a = 0; // from the first end
    int b = 0; // from the second end
    int c;     // the base

    std::string BaseText() const;
    // Every change: the sides read as whole numbers; the area in square metres or "計測不可".
    void OnChange(const std::string& aText, const std::string& bText);
    bool MakesTriangle() const { return c < a + b && b < a + c && a < b + c; }
    std::string AreaText() const;
    // OK: the message that keeps the dialog open, empty to close.
    std::string OnOK() const { return MakesTriangle() ? std::string() : std::string(kBadDistances); }
};

class TriangleSidesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TriangleSidesDialog(int base, QWidget* parent = nullptr);
    const TriangleSidesForm& form() const { return m_form; }

    void accept() override;

private:
    TriangleSidesForm m_form;
    QLineEdit* m_a;
    QLineEdit* m_b;
    QLabel* m_area;
};

} // namespace kov::dialogs
