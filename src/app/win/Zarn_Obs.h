#pragma once
// The main window: the observatory's control room.
#include <QImage>
#include <QMainWindow>
#include <string>

#include "app/Exercise.h"
#include "app/Options.h"
#include "platform/Services.h"

class QFrame;
class QLabel;
class QPainter;

namespace qnr::app {

class TEnvironment1 : public QMainWindow {
    Q_OBJECT

public:
    // The client area (below the menu bar) is this size and cannot change.
    static constexpr int ClientWidth = 632;
    static constexpr int ClientHeight = 434;
    static constexpr int DisplayWidth = 476;
    static constexpr int DisplayHeight = 356;

    // `services` must outlive the window.
    explicit TEnvironment1(platform::Services& services, QWidget* parent = nullptr);
    ~TEnvironment1() override;

    DisplayPhase displayPhase() const { return displayPhase_; }
    // The working copy of the options every window reads.
    const OptsRec& opts() const { return opts_; }
    OptsRec& opts() { return opts_; }
    bool hasLogo() const { return !logoBitmap_.isNull(); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildClientArea();
    void FormCreate();
    // A picture from the program folder, its name matched without regard to
    // case; a null image when it is missing or unreadable.
    QImage LoadProgramPicture(const std::string& name) const;
    void CRT1Paint(QPainter& painter);

    platform::Services& services_;
    OptsObj options_;
    OptsRec opts_;
    DisplayPhase displayPhase_ = DisplayPhase::Logo;

    QImage logoBitmap_;
    QImage titleBitmap_;

    QFrame* CrtPnl = nullptr;
    QWidget* CRT1 = nullptr;
    QLabel* IDPnl = nullptr;
};

}  // namespace qnr::app
