#pragma once
// The camera window "Toval CCD Camera Control": exposure time, filter and
// gain; the image built when the shutter opens and revealed when the
// one-second countdown ends; saving it as FITS.
#include <QImage>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "ccd/CCD_Fits.h"
#include "ccd/CCD_Img.h"
#include "platform/Services.h"

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace qnr::app { struct OptsRec; class LogFileObj; }
namespace qnr::help { class HelpList; class THelpLstDlg; class THelpWin; }
namespace qnr::observatory { class TelescopeHandOff; }
namespace qnr::photometry { class InfoListReport; class TInfoListForm1; }
namespace qnr::ui { class MultiPositionSwitch; class SevenSegmentDisplay; }

namespace qnr::ccd {

// What the camera takes from the running exercise besides the telescope.
struct CameraContext {
    app::LogFileObj* log = nullptr;
    std::array<std::string, 4> observers;  // the login's names
    std::string objectId;                  // typed in the date/time dialog
    std::string userFolder;                // ends in "/"
    // The current hot-list target's name, empty when none.
    std::function<std::string()> targetName;
    // The telescope's allotment counter; null when it has none.
    int* allotment = nullptr;
    // The shared help dialogs; the camera makes its own when they are absent.
    help::THelpLstDlg* helpChooser = nullptr;
    help::THelpWin* helpViewer = nullptr;
};

// The image display: the bitmap stretched over the area, black without one.
class CCDScreen : public QWidget {
public:
    explicit CCDScreen(QWidget* parent = nullptr);
    void setImage(const QImage* image) { image_ = image; update(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const QImage* image_ = nullptr;
};

class TCCDCam : public QMainWindow {
    Q_OBJECT

public:
    TCCDCam(observatory::TelescopeHandOff& handOff, platform::Services& services, const app::OptsRec& opts,
            CameraContext context, QWidget* parent = nullptr);
    ~TCCDCam() override;

    // FormShow: a fresh image object, the field size, the filter labels, the log entry.
    void FormShow();

    void GoBtnClick();
    void StopBtnClick();
    void ObsTimerTimer();  // one second of the countdown
    bool Save1Click();
    void Information1Click();
    // The camera help list's topics, or the word that there is no help yet.
    void Help1Click();

    bool imageSaved() const { return saved_; }
    bool imageShown() const { return shown_; }
    int remainingSeconds() const { return remaining_; }
    int exposureSeconds() const { return exposure_; }
    const CCDImageObj* image() const { return image_.get(); }
    const QImage& displayBitmap() const { return display_; }

    QLineEdit* ExpEd = nullptr;
    ui::MultiPositionSwitch* MinSecSw = nullptr;
    QPushButton* GoBtn = nullptr;
    QPushButton* StopBtn = nullptr;
    ui::SevenSegmentDisplay* ExpClock = nullptr;
    QGroupBox* StatusBox = nullptr;
    QLineEdit* StatusEd = nullptr;
    QGroupBox* GainGrp = nullptr;
    ui::MultiPositionSwitch* GainSlider = nullptr;
    QGroupBox* FltrGrp = nullptr;
    ui::MultiPositionSwitch* FltrSlider = nullptr;
    ui::SevenSegmentDisplay* WdDsply = nullptr;
    ui::SevenSegmentDisplay* HtDsply = nullptr;
    CCDScreen* CRT2 = nullptr;
    QTimer* ObsTimer = nullptr;
    QAction* Image1 = nullptr;
    QAction* Information1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Help1 = nullptr;

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormCloseQuery();
    void FormClose();
    void ShowExposure();
    void ShowClock(int seconds);
    bool BuildImage(Extended exposure);
    void MakeDisplay();
    void FinishStop(bool keep);
    std::string DefaultFileName() const;
    std::string DisplayPath() const;

    observatory::TelescopeHandOff& handOff_;
    platform::Services& services_;
    const app::OptsRec& opts_;
    CameraContext context_;
    std::unique_ptr<CCDImageObj> image_;
    FITSFileObj fits_;
    QImage display_;
    std::unique_ptr<photometry::InfoListReport> infoList_;
    photometry::TInfoListForm1* infoForm_ = nullptr;
    std::unique_ptr<help::HelpList> helpList_;
    std::unique_ptr<help::THelpLstDlg> ownChooser_;
    std::unique_ptr<help::THelpWin> ownViewer_;

    int exposure_ = 10;  // whole seconds, kept between exposures
    int remaining_ = 0;
    int gain_ = 1;
    int filter_ = 2;
    int telescope_ = 0;
    Extended startRa_ = 0, startDec_ = 0, startJd_ = 0;
    bool saved_ = true;
    bool shown_ = false;
    bool formShown_ = false;
    bool closing_ = false;
};

// Opens the camera on a telescope's hand-off (the telescope window's Access
// button with the CCD camera selected); the window deletes itself on close.
TCCDCam* OpenCCDCamera(observatory::TelescopeHandOff& handOff, platform::Services& services,
                       const app::OptsRec& opts, CameraContext context, QWidget* parent = nullptr);

}  // namespace qnr::ccd
