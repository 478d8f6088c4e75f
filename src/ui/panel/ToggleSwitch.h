#pragma once
// A two-state lever switch with a lamp that lights when it is on and a
// caption below. A click (press and release over it), Enter, Return or Space
// flips it.
#include <QColor>
#include <QString>
#include <QWidget>

namespace qnr::ui {

class ToggleSwitch : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool on READ isOn WRITE setOn NOTIFY toggled)
    Q_PROPERTY(QString text READ text WRITE setText)

public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    // Changes the state without clicked(); toggled() still tells of the change.
    void setOn(bool on);

    QString text() const { return text_; }
    void setText(const QString& text);

    bool lampVisible() const { return lampVisible_; }
    void setLampVisible(bool visible);
    QColor lampColor() const { return lampColor_; }
    void setLampColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Every change of state.
    void toggled(bool on);
    // A change by the user (mouse or key), after toggled().
    void clicked(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void flipByUser();

    bool on_ = false;
    bool pressed_ = false;
    bool lampVisible_ = true;
    QString text_;
    QColor lampColor_;
};

}  // namespace qnr::ui
