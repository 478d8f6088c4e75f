#pragma once
// A row of seven-segment cells showing digits, ':', '.', '-' and ' '. Drawn
// from the digit pictures when it has a complete set, else as lit segments.
// The text is right-aligned in the cells; a longer text adds cells.
#include <QColor>
#include <QString>
#include <QWidget>

#include "ui/panel/DigitGlyphs.h"

namespace qnr::ui {

class SevenSegmentDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)

public:
    explicit SevenSegmentDisplay(QWidget* parent = nullptr);
    SevenSegmentDisplay(int cells, QWidget* parent = nullptr);

    // A character the cells cannot show becomes ' ', so text() is exactly
    // what the display shows.
    void setText(const QString& text);
    QString text() const { return text_; }
    QString value() const { return text_; }

    int cellCount() const { return cells_; }
    void setCellCount(int cells);

    // An incomplete set is ignored and the segments are drawn.
    void setGlyphs(const DigitGlyphs& glyphs);
    bool usesGlyphs() const { return glyphs_.complete(); }

    // The colour of lit segments (when drawn as segments).
    QColor color() const { return color_; }
    void setColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize cellSize() const;

    QString text_;
    int cells_ = 1;
    DigitGlyphs glyphs_;
    QColor color_;
};

}  // namespace qnr::ui
