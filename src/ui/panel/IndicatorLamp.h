#pragma once
// An indicator lamp: a coloured lens, lit or dark. Round, or an arrow that
// points the way something moves.
#include <QColor>
#include <QWidget>

namespace qnr::ui {

class IndicatorLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool lit READ isLit WRITE setLit NOTIFY litChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor)

public:
    enum class Shape { Round, ArrowUp, ArrowDown, ArrowLeft, ArrowRight };

    explicit IndicatorLamp(QWidget* parent = nullptr);
    IndicatorLamp(const QColor& color, Shape shape, QWidget* parent = nullptr);

    bool isLit() const { return lit_; }
    void setLit(bool lit);
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    Shape shape() const { return shape_; }
    void setShape(Shape shape);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The lamp colours of the panel.
    static QColor Green();
    static QColor Red();
    static QColor Amber();

signals:
    void litChanged(bool lit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    Shape shape_ = Shape::Round;
    bool lit_ = false;
};

}  // namespace qnr::ui
