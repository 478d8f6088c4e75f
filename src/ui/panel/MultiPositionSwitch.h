#pragma once
// A rotary selector with N labelled positions around its knob. A click picks
// the position nearest the click's direction from the knob; the wheel and the
// arrow keys step one position.
#include <QStringList>
#include <QWidget>

namespace qnr::ui {

class MultiPositionSwitch : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)

public:
    explicit MultiPositionSwitch(QWidget* parent = nullptr);
    explicit MultiPositionSwitch(const QStringList& labels, QWidget* parent = nullptr);

    // One position per label (at least one; an empty list gives one blank
    // position). The value is kept when it still exists, else goes to 0.
    void setLabels(const QStringList& labels);
    QStringList labels() const { return labels_; }
    int count() const { return static_cast<int>(labels_.size()); }

    int value() const { return value_; }
    QString valueLabel() const { return labels_.value(value_); }
    // Out-of-range values are clamped. No activated().
    void setValue(int value);

    // The arc the positions spread over, in degrees, centred on straight up.
    // By default 45 degrees between positions, at most 270 in all.
    qreal sweep() const;
    void setSweep(qreal degrees);

    // Where position i's mark is drawn, in widget coordinates; a click there picks it.
    QPointF markPoint(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every change of position.
    void valueChanged(int value);
    // A change by the user (mouse, wheel or key), after valueChanged().
    void activated(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Layout {
        QPointF centre;
        qreal knob = 0;   // knob radius
        qreal ticks = 0;  // radius of the tick marks' outer ends
        qreal labels = 0; // radius where the labels start
    };
    Layout layout() const;
    // Direction of position i in radians, clockwise from straight up.
    qreal angleOf(int i) const;
    qreal span() const;
    void choose(int value);

    QStringList labels_;
    int value_ = 0;
    qreal sweep_ = -1;  // negative: the default
};

}  // namespace qnr::ui
