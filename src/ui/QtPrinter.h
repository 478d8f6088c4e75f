#pragma once
// Printing through QPrinter: the print dialog, or straight into a PDF file.
#include <QFont>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <memory>

#include "platform/Printing.h"

class QWidget;

namespace qnr::ui {

// Text in a fixed-pitch font and stretched pictures on a QPrinter's pages.
class QtPageCanvas final : public platform::PageCanvas {
public:
    // Starts painting on printer (which must outlive the canvas).
    explicit QtPageCanvas(QPrinter& printer);
    ~QtPageCanvas() override;

    bool started() const { return painter_.isActive(); }

    int pageWidth() override;
    int pageHeight() override;
    int lineHeight() override;
    int charWidth() override;
    void setFontPoints(int points) override;
    // y is the top of the text line.
    void textLine(int x, int y, const std::string& latin1) override;
    void stretchPicture(const platform::Picture& picture, int x, int y, int width, int height) override;
    void newPage() override;
    bool finish() override;

private:
    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
    bool finished_ = false;
    bool ok_ = true;
};

// The fixed-pitch font of every printout.
QFont PrintFont(int points);

class QtPrinter : public platform::Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    void setParent(QWidget* parent) { parent_ = parent; }

    platform::Orientation orientation() override;
    void setOrientation(platform::Orientation orientation) override;
    // Shows the print dialog; nullptr when it is cancelled or the printer
    // cannot be started.
    std::unique_ptr<platform::PageCanvas> begin(const std::string& title) override;

protected:
    std::unique_ptr<platform::PageCanvas> startCanvas(const std::string& title);
    QPrinter printer_;

private:
    QPointer<QWidget> parent_;
};

// Writes every print job into one PDF file, without a dialog.
class PdfPrinter final : public QtPrinter {
public:
    explicit PdfPrinter(const std::string& pdfPath);
    std::unique_ptr<platform::PageCanvas> begin(const std::string& title) override;
};

}  // namespace qnr::ui
