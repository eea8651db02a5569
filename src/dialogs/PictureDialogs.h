#pragma once

// The picture dialogs: rotation with a preview, trimming by a frame dragged over a preview, and the
// scale and resolution of a scanned drawing. The forms hold the rules; the dialogs only show them.

#include <QDialog>
#include <QImage>

#include <string>

class QLabel;
class QLineEdit;

namespace kov::dialogs {

// "画像の回転": the angle in degrees with one decimal, confirmed with "更新" before OK.
class PictureRotationForm {
public:
    enum class Result { Ok, OutOfRange, NotConfirmed };
    static constexpr const char* kOutOfRange = "角度は-360～360度をご指定下さい(小数点一位まで)";
    static constexpr const char* kConfirmFirst = "「更新」を押して角度をご確認ください。";

    explicit PictureRotationForm(double angle) : m_angle(truncated(angle)) {}
    double angle() const { return m_angle; }
    std::string angleText() const;
    // "更新": OutOfRange leaves the angle as it was.
    Result update(const std::string& text);
    // OK: Ok only when the text gives the angle shown.
    Result accept(const std::string& text) const;
    // The stored rotation after OK: minus the angle, into 0 <= a < 360.
    static double StoredRotation(double dialogAngle);

private:
    static double truncated(double v);
    double m_angle;
};

// "画像のトリミング（切抜き）": a frame in preview pixels, dragged by its corners.
class PictureTrimForm {
public:
    PictureTrimForm(int previewWidth, int previewHeight, int pictureWidth, int pictureHeight);
    struct Frame {
        int left, top, right, bottom;
    };
    const Frame& frame() const { return m_live; }
    // Button down at a preview point: which corner (0 none, 1 top-left, 2 bottom-left, 3 bottom-right,
    // 4 top-right) is grabbed.
    int press(int x, int y);
    // A move with the button held: false when refused (the frame would leave the preview or invert).
    bool drag(int x, int y);
    void release();
    // Left, right, top and bottom as fractions of the inner square, each within 0 to 1.
    struct Fractions {
        double left, right, top, bottom;
    };
    Fractions result() const;

private:
    int m_w, m_h;
    Frame m_frame{}, m_live{};
    int m_pressX = 0, m_pressY = 0, m_corner = 0;
};

// "元図面の縮尺とDPI".
struct PictureRealSizeForm {
    double scale = 100;
    int dpi = 150;
    // OK: values of at least 1 and below 50000 replace the given ones; others leave them.
    void accept(const std::string& scaleText, const std::string& dpiText);
};

class CGazouKaitenDg : public QDialog {
public:
    CGazouKaitenDg(const QImage& picture, double angle, QWidget* parent = nullptr);
    double angle() const { return m_form.angle(); }
    void accept() override;
    void onUpdate();

    QLineEdit* m_edit = nullptr;
    QLabel* m_preview = nullptr;

private:
    void drawPreview();
    QImage m_picture;
    PictureRotationForm m_form;
};

// "画像のトリミング（切抜き）": the picture fitted into a square preview, the frame's corners dragged
// over it. OK ("トリミングOK") gives the frame as fractions of the square.
class CGazouTrimDg : public QDialog {
public:
    explicit CGazouTrimDg(const QImage& picture, QWidget* parent = nullptr);
    PictureTrimForm::Fractions fractions() const { return m_form.result(); }
    PictureTrimForm& form() { return m_form; }
    // The preview area: presses, drags and releases in its pixels go to the form.
    QWidget* preview() const { return m_preview; }
    // Redraws the preview from the form's live frame.
    void drawPreview();

private:
    QImage m_picture;
    PictureTrimForm m_form;
    QWidget* m_preview = nullptr;
    QImage m_canvas;
};

class CGazouSizeRealDlg : public QDialog {
public:
    CGazouSizeRealDlg(double scale, int dpi, QWidget* parent = nullptr);
    const PictureRealSizeForm& form() const { return m_form; }
    void accept() override;

    QLineEdit* m_scale = nullptr;
    QLineEdit* m_dpi = nullptr;

private:
    PictureRealSizeForm m_form;
};

} // namespace kov::dialogs
