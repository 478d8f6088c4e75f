#include "ui/QtPrinter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPrintDialog>
#include <QWidget>

#include "ui/Latin1.h"

namespace qnr::ui {

QFont PrintFont(int points) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSize(points > 0 ? points : 10);
    return font;
}

QtPageCanvas::QtPageCanvas(QPrinter& printer) : printer_(printer), font_(PrintFont(10)) {
    if (painter_.begin(&printer_)) painter_.setFont(QFont(font_, &printer_));
}

QtPageCanvas::~QtPageCanvas() {
    if (!finished_) finish();
}

int QtPageCanvas::pageWidth() { return printer_.width(); }
int QtPageCanvas::pageHeight() { return printer_.height(); }
int QtPageCanvas::lineHeight() { return QFontMetrics(font_, &printer_).lineSpacing(); }
int QtPageCanvas::charWidth() { return QFontMetrics(font_, &printer_).horizontalAdvance(QLatin1Char('M')); }

void QtPageCanvas::setFontPoints(int points) {
    font_ = PrintFont(points);
    if (painter_.isActive()) painter_.setFont(QFont(font_, &printer_));
}

void QtPageCanvas::textLine(int x, int y, const std::string& latin1) {
    if (!painter_.isActive()) return;
    const QFontMetrics metrics(font_, &printer_);
    painter_.drawText(x, y + metrics.ascent(), ToQString(latin1));
}

void QtPageCanvas::stretchPicture(const platform::Picture& picture, int x, int y, int width, int height) {
    if (!painter_.isActive() || picture.width <= 0 || picture.height <= 0) return;
    const auto count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    if (picture.pixels.size() < count) return;  // a short pixel array would be read past its end
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                       picture.width * 4, QImage::Format_ARGB32);
    painter_.drawImage(QRect(x, y, width, height), image);
}

void QtPageCanvas::newPage() {
    if (painter_.isActive() && !printer_.newPage()) ok_ = false;
}

bool QtPageCanvas::finish() {
    if (finished_) return ok_;
    finished_ = true;
    if (!painter_.isActive()) return ok_ = false;
    if (!painter_.end()) ok_ = false;
    if (printer_.printerState() == QPrinter::Error || printer_.printerState() == QPrinter::Aborted) ok_ = false;
    return ok_;
}

QtPrinter::QtPrinter() : printer_(QPrinter::HighResolution) {}
QtPrinter::~QtPrinter() = default;

platform::Orientation QtPrinter::orientation() {
    return printer_.pageLayout().orientation() == QPageLayout::Landscape ? platform::Orientation::Landscape
                                                                          : platform::Orientation::Portrait;
}

void QtPrinter::setOrientation(platform::Orientation orientation) {
    printer_.setPageOrientation(orientation == platform::Orientation::Landscape ? QPageLayout::Landscape
                                                                                : QPageLayout::Portrait);
}

std::unique_ptr<platform::PageCanvas> QtPrinter::startCanvas(const std::string& title) {
    printer_.setDocName(ToQString(title));
    auto canvas = std::make_unique<QtPageCanvas>(printer_);
    if (!canvas->started()) return nullptr;
    return canvas;
}

std::unique_ptr<platform::PageCanvas> QtPrinter::begin(const std::string& title) {
    QWidget* owner = parent_ ? parent_.data() : QApplication::activeWindow();
    QPrintDialog dialog(&printer_, owner);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return startCanvas(title);
}

PdfPrinter::PdfPrinter(const std::string& pdfPath) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(ToQString(pdfPath));
}

std::unique_ptr<platform::PageCanvas> PdfPrinter::begin(const std::string& title) { return startCanvas(title); }

}  // namespace qnr::ui
