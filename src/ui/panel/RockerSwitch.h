#pragma once
// A three-way rocker: pressing its upper or lower half rocks it that way and
// emits that half's signal at once. Momentary (the default) it springs back
// to the centre on release; latching it stays until pressed the other way or
// set. Keys Up and Down work the same while it has the focus.
#include <QString>
#include <QWidget>

namespace qnr::ui {

class RockerSwitch : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int position READ positionValue NOTIFY positionChanged)

public:
    enum class Position { Up = 1, Centre = 0, Down = -1 };
    Q_ENUM(Position)

    explicit RockerSwitch(QWidget* parent = nullptr);

    Position position() const { return position_; }
    int positionValue() const { return static_cast<int>(position_); }
    // Moves the rocker without the press signals (the window showing a state).
    void setPosition(Position position);

    bool isMomentary() const { return momentary_; }
    void setMomentary(bool momentary);

    // Captions engraved above and below the rocker; empty for none.
    void setLabels(const QString& up, const QString& down);
    QString upLabel() const { return upLabel_; }
    QString downLabel() const { return downLabel_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void upPressed();
    void downPressed();
    // Every change of position, pressed, released or set.
    void positionChanged(qnr::ui::RockerSwitch::Position position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QRectF rockerRect() const;
    void press(Position towards);
    void release();

    Position position_ = Position::Centre;
    bool momentary_ = true;
    bool held_ = false;
    QString upLabel_, downLabel_;
};

}  // namespace qnr::ui
