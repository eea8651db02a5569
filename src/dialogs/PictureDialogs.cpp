#include "dialogs/PictureDialogs.h"

#include "platform/NumberText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kov::dialogs {

namespace {
QString qs(const char* s) { return QString::fromUtf8(s); }
constexpr int kPreview = 387;
constexpr int kMargin = 10;

// The trimming preview: shows the dialog's picture and hands the mouse to its form.
class TrimPreview : public QWidget {
public:
    TrimPreview(CGazouTrimDg& dialog, const QImage& canvas, QWidget* parent)
        : QWidget(parent), m_dialog(dialog), m_canvas(canvas)
    {
        setFixedSize(kPreview, kPreview);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, m_canvas);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton)
            return;
        m_dialog.form().press(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!(e->buttons() & Qt::LeftButton))
            return;
        if (m_dialog.form().drag(e->position().toPoint().x(), e->position().toPoint().y()))
            m_dialog.drawPreview();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton)
            return;
        m_dialog.form().release();
        m_dialog.drawPreview();
    }

private:
    CGazouTrimDg& m_dialog;
    const QImage& m_canvas;
};

} // namespace

double PictureRotationForm::truncated(double v) { return std::trunc(v * 10.0) / 10.0 + 0.0; }

std::string PictureRotationForm::angleText() const { return kov::platform::formatFixed(m_angle, 1); }

PictureRotationForm::Result PictureRotationForm::update(const std::string& text)
{
    const double v = kov::platform::parseDouble(text);
    if (!(v >= -360 && v <= 360))
        return Result::OutOfRange;
    m_angle = truncated(v);
    return Result::Ok;
}

PictureRotationForm::Result PictureRotationForm::accept(const std::string& text) const
{
    const double v = kov::platform::parseDouble(text);
    if (!(v >= -360 && v <= 360))
        return Result::OutOfRange;
    return truncated(v) == m_angle ? Result::Ok : Result::NotConfirmed;
}

double PictureRotationForm::StoredRotation(double dialogAngle)
{
    double a = -dialogAngle + 0.0;
    if (a >= 360)
        a -= 360;
    if (a < 0)
        a += 360;
    return a;
}

PictureTrimForm::PictureTrimForm(int previewWidth, int previewHeight, int pictureWidth, int pictureHeight)
    : m_w(previewWidth), m_h(previewHeight)
{
    m_frame = {kMargin, kMargin, m_w - kMargin, m_h - kMargin};
    const double r = pictureHeight > 0 ? double(pictureWidth) / pictureHeight : 1.0;
    const double ratio = r > 0 ? r : 1.0;
    if (ratio > 1) {
        const int d = static_cast<int>(std::trunc(0.5 * (m_h - 2 * kMargin) * (1 - 1 / ratio)));
        m_frame.top += d;
        m_frame.bottom -= d;
    } else {
        const int d = static_cast<int>(std::trunc(0.5 * (m_w - 2 * kMargin) * (1 - ratio)));
        m_frame.left += d;
        m_frame.right -= d;
    }
    m_frame.left = std::max(m_frame.left, kMargin);
    m_frame.top = std::max(m_frame.top, kMargin);
    m_frame.right = std::min(m_frame.right, m_w - kMargin);
    m_frame.bottom = std::min(m_frame.bottom, m_h - kMargin);
    m_live = m_frame;
}

int PictureTrimForm::press(int x, int y)
{
    m_pressX = x;
    m_pressY = y;
    m_corner = 0;
    const Frame& f = m_frame;
    auto near = [](int v, int edge) { return v >= edge - 2 && v <= edge + 2; };
    if (near(x, f.left) || near(x, f.right)) {
        const bool left = near(x, f.left);
        if (y >= f.top - 2 && y <= f.top + 22)
            m_corner = left ? 1 : 4;
        else if (y >= f.bottom - 22 && y <= f.bottom + 2)
            m_corner = left ? 2 : 3;
    }
    if (m_corner == 0 && (near(y, f.top) || near(y, f.bottom))) {
        const bool top = near(y, f.top);
        if (x >= f.left - 2 && x <= f.left + 12)
            m_corner = top ? 1 : 2;
        else if (x >= f.right - 12 && x <= f.right + 2)
            m_corner = top ? 4 : 3;
    }
    return m_corner;
}

bool PictureTrimForm::drag(int x, int y)
{
    if (m_corner == 0)
        return false;
    const int dx = x - m_pressX, dy = y - m_pressY;
    Frame n = m_frame;
    if (m_corner == 1 || m_corner == 2)
        n.left += dx;
    else
        n.right += dx;
    if (m_corner == 1 || m_corner == 4)
        n.top += dy;
    else
        n.bottom += dy;
    if (n.left < 1 || n.top < 1 || n.left > n.right - 10 || n.top > n.bottom - 10 || n.right > m_w ||
        n.bottom > m_h)
        return false;
    m_live = n;
    return true;
}

void PictureTrimForm::release()
{
    m_corner = 0;
    m_frame = m_live;
}

PictureTrimForm::Fractions PictureTrimForm::result() const
{
    const double iw = m_w - 2 * kMargin, ih = m_h - 2 * kMargin;
    // The frame may reach into the margin: the cut never goes beyond the picture's edges.
    auto clamp01 = [](double v) { return std::clamp(v, 0.0, 1.0); };
    return {clamp01((m_frame.left - kMargin) / iw), clamp01((m_frame.right - kMargin) / iw),
            clamp01((m_frame.top - kMargin) / ih), clamp01((m_frame.bottom - kMargin) / ih)};
}

void PictureRealSizeForm::accept(const std::string& scaleText, const std::string& dpiText)
{
    const int s = kov::platform::parseInt(scaleText);
    if (s >= 1 && s < 50000)
        scale = s;
    const int d = kov::platform::parseInt(dpiText);
    if (d >= 1 && d < 50000)
        dpi = d;
}

CGazouKaitenDg::CGazouKaitenDg(const QImage& picture, double angle, QWidget* parent)
    : QDialog(parent), m_picture(picture), m_form(angle)
{
    setWindowTitle(qs("画像の回転"));
    auto* layout = new QHBoxLayout(this);
    m_preview = new QLabel(this);
    m_preview->setFixedSize(kPreview, kPreview);
    layout->addWidget(m_preview);
    auto* side = new QVBoxLayout();
    side->addWidget(new QLabel(qs("角度（-360～360度）"), this));
    auto* row = new QHBoxLayout();
    m_edit = new QLineEdit(QString::fromStdString(m_form.angleText()), this);
    row->addWidget(m_edit);
    row->addWidget(new QLabel(qs("度"), this));
    side->addLayout(row);
    auto* update = new QPushButton(qs("更新"), this);
    connect(update, &QPushButton::clicked, this, [this] { onUpdate(); });
    side->addWidget(update);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qs("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    side->addStretch();
    side->addWidget(buttons);
    layout->addLayout(side);
    drawPreview();
}

void CGazouKaitenDg::onUpdate()
{
    if (m_form.update(m_edit->text().toStdString()) != PictureRotationForm::Result::Ok) {
        QMessageBox::information(this, windowTitle(), qs(PictureRotationForm::kOutOfRange));
        return;
    }
    drawPreview();
}

void CGazouKaitenDg::accept()
{
    switch (m_form.accept(m_edit->text().toStdString())) {
    case PictureRotationForm::Result::Ok: QDialog::accept(); break;
    case PictureRotationForm::Result::OutOfRange:
        QMessageBox::information(this, windowTitle(), qs(PictureRotationForm::kOutOfRange));
        break;
    case PictureRotationForm::Result::NotConfirmed:
        QMessageBox::information(this, windowTitle(), qs(PictureRotationForm::kConfirmFirst));
        break;
    }
}

void CGazouKaitenDg::drawPreview()
{
    QImage canvas(kPreview, kPreview, QImage::Format_RGB32);
    canvas.fill(palette().color(QPalette::Base));
    if (!m_picture.isNull()) {
        const double f = std::min(double(kPreview - 10) / m_picture.height(), double(kPreview - 10) / m_picture.width());
        // A picture far longer than wide still shows as a line at least one pixel across.
        const QSizeF size(std::max(1.0, std::trunc(m_picture.width() * f)), std::max(1.0, std::trunc(m_picture.height() * f)));
        QPainter p(&canvas);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.translate(kPreview / 2.0, kPreview / 2.0);
        // Counter-clockwise on the screen for a positive angle.
        p.rotate(-m_form.angle());
        p.drawImage(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), m_picture);
    }
    m_preview->setPixmap(QPixmap::fromImage(canvas));
}

CGazouTrimDg::CGazouTrimDg(const QImage& picture, QWidget* parent)
    : QDialog(parent), m_picture(picture), m_form(kPreview, kPreview, picture.width(), picture.height())
{
    setWindowTitle(qs("画像のトリミング（切抜き）"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(13, 13, 13, 13);
    m_canvas = QImage(kPreview, kPreview, QImage::Format_RGB32);
    m_preview = new TrimPreview(*this, m_canvas, this);
    layout->addWidget(m_preview);
    layout->addWidget(new QLabel(qs("抜き取る範囲を四隅の枠のドラッグで指定"), this));
    auto* buttons = new QDialogButtonBox(this);
    // Enter takes the frame, as the dialog's first button.
    buttons->addButton(qs("トリミングOK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(qs("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    drawPreview();
}

void CGazouTrimDg::drawPreview()
{
    m_canvas.fill(palette().color(QPalette::Base));
    QPainter p(&m_canvas);
    const double inner = kPreview - 2 * kMargin;
    if (!m_picture.isNull() && m_picture.width() > 0 && m_picture.height() > 0) {
        // Fitted into the inner square, proportions kept, centred: the square the frame's fractions
        // are taken of.
        const double f = std::min(inner / m_picture.width(), inner / m_picture.height());
        const QSizeF size(std::max(1.0, m_picture.width() * f), std::max(1.0, m_picture.height() * f));
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(QPointF(kMargin + (inner - size.width()) / 2, kMargin + (inner - size.height()) / 2), size),
                    m_picture);
    }
    const PictureTrimForm::Frame& r = m_form.frame();
    QPen dotted(Qt::black, 1, Qt::DotLine);
    p.setPen(dotted);
    p.drawRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
    // The corners to grab: brackets 10 pixels along the horizontal edges and 20 along the vertical.
    QPen bracket(Qt::black, 5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(bracket);
    const struct {
        int x, y, dx, dy;
    } corners[] = {{r.left, r.top, 1, 1}, {r.left, r.bottom, 1, -1}, {r.right, r.bottom, -1, -1}, {r.right, r.top, -1, 1}};
    for (const auto& c : corners) {
        p.drawLine(c.x, c.y, c.x + 10 * c.dx, c.y);
        p.drawLine(c.x, c.y, c.x, c.y + 20 * c.dy);
    }
    p.end();
    m_preview->update();
}

CGazouSizeRealDlg::CGazouSizeRealDlg(double scale, int dpi, QWidget* parent) : QDialog(parent)
{
    m_form.scale = scale;
    m_form.dpi = dpi;
    setWindowTitle(qs("元図面の縮尺とDPI"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(qs("元図面の縮尺  1/"), this), 0, 0);
    m_scale = new QLineEdit(QString::number(static_cast<int>(scale)), this);
    m_scale->setValidator(new QIntValidator(0, 999999, m_scale));
    grid->addWidget(m_scale, 0, 1);
    grid->addWidget(new QLabel(qs("元図面のDPI"), this), 1, 0);
    m_dpi = new QLineEdit(QString::number(dpi), this);
    m_dpi->setValidator(new QIntValidator(0, 999999, m_dpi));
    grid->addWidget(m_dpi, 1, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(qs("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(qs("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 2);
}

void CGazouSizeRealDlg::accept()
{
    m_form.accept(m_scale->text().toStdString(), m_dpi->text().toStdString());
    QDialog::accept();
}

} // namespace kov::dialogs
