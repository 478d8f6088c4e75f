// The telescope window's display: the field view painted on CRT1, its
// messages shown after the tick that built the field, clicks that identify,
// the instrument hand-off, the site report and the printed sky image.
#include <QAction>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "astro/StringUt.h"
#include "help/TextLists.h"
#include "observatory/win/ObsLab.h"
#include "photometry/InfoList.h"
#include "photometry/win/InfoListForm.h"
#include "platform/FileSystem.h"
#include "platform/Printing.h"
#include "ui/Latin1.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/ToggleSwitch.h"

namespace qnr::observatory {

using ui::ToQString;

namespace {
constexpr std::size_t MaxGalaxyPictureBytes = 64u << 20;

// Through the file layer, so the picture list's names resolve without regard to case.
std::optional<RgbImage> LoadPicture(platform::FileSystem& files, const std::string& path) {
    const platform::ReadResult read = files.readFile(files.resolve(path), MaxGalaxyPictureBytes);
    if (read.code != 0 || read.bytes.empty()) return std::nullopt;
    QImage img;
    if (!img.loadFromData(read.bytes.data(), static_cast<int>(read.bytes.size()))) return std::nullopt;
    img = img.convertToFormat(QImage::Format_RGB888);
    RgbImage out;
    out.width = img.width();
    out.height = img.height();
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y)
        std::copy_n(img.constScanLine(y), out.width * 3, out.rgb.begin() + static_cast<std::ptrdiff_t>(y) * out.width * 3);
    return out;
}

// A raster shown as it is: the QImage reads the pixels in place.
QImage Wrap(const Raster& r) {
    return QImage(reinterpret_cast<const uchar*>(r.pixels.data()), r.width, r.height, r.width * 4,
                  QImage::Format_RGB32);
}
}  // namespace

void TObsrvtry::BuildFieldView() {
    ViewLbl2 = new QLabel(ViewSlider->parentWidget());
    ViewLbl2->setObjectName("ViewLbl2");
    ViewLbl2->setStyleSheet("color: #c8c8c8;");
    if (auto* grid = qobject_cast<QGridLayout*>(ViewSlider->parentWidget()->layout())) grid->addWidget(ViewLbl2, 5, 1);
    if (auto* file = qobject_cast<QMenu*>(Exit1->parent())) {
        SiteInformation1 = new QAction("&Site Information...", file);
        SiteInformation1->setObjectName("SiteInformation1");
        PrintSkyImage1 = new QAction("&Print Sky Image...", file);
        PrintSkyImage1->setObjectName("PrintSkyImage1");
        file->insertAction(Exit1, SiteInformation1);
        file->insertAction(Exit1, PrintSkyImage1);
        file->insertSeparator(Exit1);
        connect(SiteInformation1, &QAction::triggered, this, &TObsrvtry::SiteInformation1Click);
        connect(PrintSkyImage1, &QAction::triggered, this, &TObsrvtry::PrintSkyImage1Click);
    }
    connect(InstSlider, &ui::MultiPositionSwitch::activated, this, [this](int i) {
        mount_->SetInstrument(i);
        SyncControls();
        if (mount_->controls().viewPosition == 0) RefreshView();
    });
    connect(RdngBtn, &QPushButton::clicked, this, &TObsrvtry::RdngBtnClick);
    UpdateViewLabel();
}

void TObsrvtry::SetCatalogs(SkyCatalogs* catalogs) {
    catalogs_ = catalogs;
    fieldView_.reset();
    if (!catalogs_) return;
    FieldHooks hooks;
    // The clock pauses while a field is read: a message there runs its own event loop.
    hooks.stopClock = [this] { clocktimer_.stop(); };
    hooks.restartClock = [this] {
        if (firstPaintDone_ && isVisible()) clocktimer_.start();
    };
    hooks.loadImage = [this](const std::string& path) { return LoadPicture(*services_.files, path); };
    catalogs_->SetHooks(hooks);
    fieldView_ = std::make_unique<FieldView>(opts_, *catalogs_);
}

void TObsrvtry::UpdateViewLabel() {
    if (!ViewLbl2) return;
    const bool telescope = mount_->controls().viewPosition == 0;
    ViewLbl2->setText(ToQString(telescope ? FixedStr(opts_.instrumentField, 1) + " Arc Min"
                                          : FixedStr(opts_.finderField, 1) + " Degree"));
}

ViewRequest TObsrvtry::CurrentRequest() const {
    ViewRequest r;
    r.telescope = mount_->controls().viewPosition == 0;
    r.instrument = mount_->controls().instrumentPosition + 1;
    r.ra = mount_->rightAscension();
    r.dec = mount_->declination();
    r.jd = clock_.JulianDate();
    r.finderOffset = mount_->finderOffset();
    r.scopeOffset = mount_->scopeOffset();
    r.telescopeIndex = std::max(0, mount_->telescope());
    r.cameraWidth = mount_->cameraFieldWidth();
    r.cameraHeight = mount_->cameraFieldHeight();
    r.timeChanged = links_.timeChanged && links_.timeChanged();
    return r;
}

void TObsrvtry::RefreshView() {
    if (fieldView_ && firstPaintDone_ && !mount_->programmedSlew()) {
        const ViewOutcome o = fieldView_->Update(CurrentRequest());
        if (o == ViewOutcome::Built && links_.clearTimeChanged) links_.clearTimeChanged();
        if (o == ViewOutcome::NotAvailable) {
            clocktimer_.stop();
            mount_->StopSlews();
            SyncControls();
            SyncTimers();
        }
        // Shown once, after the tick or paint that built the field.
        if (fieldView_->hasNotices() && !noticesQueued_) {
            noticesQueued_ = true;
            QTimer::singleShot(0, this, [this] { ShowNotices(); });
        }
    }
    CRT1->update();
}

void TObsrvtry::ShowNotices() {
    noticesQueued_ = false;
    if (!fieldView_) return;
    fieldView_->SetNoticeUp(true);
    for (const platform::Message& m : fieldView_->TakeNotices()) services_.dialogs->ask(m);
    fieldView_->SetNoticeUp(false);
    if (fieldView_->TakeFinderFallback()) {
        mount_->SetTelescopeView(false);
        SyncControls();
        UpdateViewLabel();
        if (firstPaintDone_) clocktimer_.start();
    }
    RefreshView();
}

void TObsrvtry::ForgetMarkedObject() {
    if (fieldView_) fieldView_->ForgetMarked();
}

void TObsrvtry::ForgetField() {
    if (fieldView_) fieldView_->Forget();
}

void TObsrvtry::PaintView() {
    QPainter p(CRT1);
    p.fillRect(CRT1->rect(), Qt::black);
    if (mount_->programmedSlew()) {
        p.setPen(Qt::white);
        auto line = [&](int y, const std::string& text) { p.drawText(QRect(10, y, 300, 20), Qt::AlignLeft | Qt::AlignTop, ToQString(text)); };
        line(10, "Telescope is slewing to:");
        line(30, "Right Ascension: " + SexaStr(mount_->targetRa(), 2, "h  ", "m  ", "s"));
        line(50, "Declination: " + SexaStr(mount_->targetDec(), 1, "\xB0  ", "'  ", "\""));
        return;
    }
    if (!fieldView_ || !fieldView_->haveField()) return;
    p.drawImage(0, 0, Wrap(fieldView_->view()));
    const int c = ViewSize / 2;
    const ViewOutlines& o = fieldView_->outlines();
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::NoBrush);
    if (!fieldView_->telescopeField()) {
        const int s = o.finderSquare;
        p.drawRect(c - s / 2, c - s / 2, s, s);
    } else {
        switch (mount_->controls().instrumentPosition + 1) {
        case InstrumentCcd: {
            p.drawRect(c - o.ccdWidth / 2, c - o.ccdHeight / 2, o.ccdWidth, o.ccdHeight);
            auto arrow = [&](int x, int y, int dx, int dy) {  // pointing outward along (dx, dy)
                const int tx = x + 30 * dx, ty = y + 30 * dy;
                p.drawLine(x, y, tx, ty);
                p.drawLine(tx, ty, tx - 10 * dx + 10 * dy, ty - 10 * dy + 10 * dx);
                p.drawLine(tx, ty, tx - 10 * dx - 10 * dy, ty - 10 * dy - 10 * dx);
            };
            if (o.ccdWidth > ViewSize) {
                arrow(c - 40, c, -1, 0);
                arrow(c + 40, c, 1, 0);
            }
            if (o.ccdHeight > ViewSize) {
                arrow(c, c - 40, 0, -1);
                arrow(c, c + 40, 0, 1);
            }
            break;
        }
        case InstrumentPhotometer: {
            const int r = o.apertureRadius;
            p.drawEllipse(QRect(QPoint(c - r, c - r), QPoint(c + r, c + r)));
            break;
        }
        case InstrumentSpectrometer:
            p.drawLine(c - 2, c - 9, c - 2, c + 11);
            p.drawLine(c + 2, c - 9, c + 2, c + 11);
            break;
        default:
            break;
        }
    }
    if (auto m = fieldView_->marked()) {
        p.setPen(QPen(Qt::green, 1));
        p.drawRect(m->first - 7, m->second - 7, 14, 14);
    }
}

bool TObsrvtry::CrtEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
        PaintView();
        return true;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        pressButton_ = m->button() == Qt::RightButton ? 2 : 1;
        pressX_ = m->position().toPoint().x();
        pressY_ = m->position().toPoint().y();
        return opts_.editMode;
    }
    case QEvent::MouseButtonRelease: {
        if (!opts_.editMode || !fieldView_ || pressButton_ == 0) return false;
        const bool right = pressButton_ == 2;
        pressButton_ = 0;
        std::optional<Identified> id = fieldView_->Identify(pressX_, pressY_, right);
        CRT1->update();
        if (id && links_.objectIdentified) links_.objectIdentified(*id, !fieldView_->telescopeField());
        return true;
    }
    default:
        return false;
    }
}

void TObsrvtry::RdngBtnClick() {
    if (mount_->controls().viewPosition != 0) return;
    mount_->SetInstrumentOpen(true);
    ViewLbl2->setEnabled(false);
    SyncControls();
    // The instrument takes the hand-off; without one the controls come back.
    if (!links_.openInstrument || !links_.openInstrument(mount_->controls().instrumentPosition)) InstrumentClosed();
}

void TObsrvtry::InstrumentClosed() {
    mount_->SetInstrumentOpen(false);
    ViewLbl2->setEnabled(true);
    DriveBtn->setEnabled(true);
    SyncControls();
}

void TObsrvtry::DisableDrive() { DriveBtn->setEnabled(false); }

void TObsrvtry::SiteInformation1Click() {
    if (!siteList_) {
        siteList_ = std::make_unique<photometry::InfoListReport>(services_, opts_);
        siteForm_ = std::make_unique<photometry::TInfoListForm1>(*siteList_, search_);
        for (QAction* a : {siteForm_->Search1, siteForm_->N1, siteForm_->N2})
            if (a) a->setVisible(false);
        if (siteForm_->Edit1) siteForm_->Edit1->menuAction()->setVisible(false);
        if (siteForm_->SaveasText1) siteForm_->SaveasText1->menuAction()->setVisible(false);
    }
    siteList_->SetCaption("Current Site & Telescope Parameters");
    siteList_->SetTitle("Site Parameters");
    siteList_->SetLines(SiteReportLines(opts_, mount_->telescope()));
    siteForm_->ShowList();
}

void TObsrvtry::PrintSkyImage1Click() {
    if (!services_.printer || !fieldView_ || !fieldView_->haveField()) return;
    std::unique_ptr<platform::PageCanvas> page = services_.printer->begin("Zarn Exercise \"The Durev for Quenara\"");
    if (!page) return;
    setEnabled(false);
    page->setFontPoints(10);
    const int lh = page->lineHeight(), margin = 12 * page->charWidth();
    int y = 0;
    page->textLine(margin, y, help::PrintDateTime(services_.clock) + "     The Durev for Quenara");
    y += 5 * lh;
    QImage shown = CRT1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    platform::Picture pic;
    pic.width = shown.width();
    pic.height = shown.height();
    pic.pixels.resize(static_cast<std::size_t>(pic.width) * pic.height);
    for (int row = 0; row < pic.height; ++row)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(shown.constScanLine(row)), pic.width,
                    pic.pixels.begin() + static_cast<std::ptrdiff_t>(row) * pic.width);
    const int w = std::min(page->pageWidth() / 2, pic.width * 4), h = w * pic.height / std::max(1, pic.width);
    const int x = (page->pageWidth() - w) / 2;
    page->stretchPicture(pic, x, y, w, h);
    y += h + 3 * lh;
    const SkyImageTexts texts =
        SkyImagePrintTexts(opts_, fieldView_->telescopeField(), mount_->telescope(),
                           mount_->controls().instrumentPosition, mount_->rightAscension(), mount_->declination());
    const int indent = margin + 5 * page->charWidth();
    page->textLine(margin, y, "Coordinates of Field Center:");
    y += lh;
    page->textLine(indent, y, texts.rightAscension);
    y += lh;
    page->textLine(indent, y, texts.declination);
    y += 3 * lh;
    page->textLine(margin, y, texts.fieldSize);
    y += 2 * lh;
    page->textLine(margin, y, texts.telescope);
    y += 2 * lh;
    page->textLine(margin, y, texts.instrument);
    page->finish();
    setEnabled(true);
}

std::optional<FieldObject> TObsrvtry::CurrentObject() {
    if (!fieldView_) return std::nullopt;
    const ViewRequest request = CurrentRequest();
    // The camera and the photometer choose by the aperture's share.
    InstrumentAcceptance* acceptance = request.instrument <= InstrumentPhotometer ? photometerAcceptance_ : nullptr;
    return fieldView_->CurrentObject(request, acceptance);
}
int TObsrvtry::CentreBrightness() { return fieldView_ ? fieldView_->CentreBrightness() : 0; }
const Raster* TObsrvtry::FieldPicture() {
    return fieldView_ && fieldView_->haveField() ? &fieldView_->field() : nullptr;
}
const Raster* TObsrvtry::GalaxyLayer() {
    if (!fieldView_ || !fieldView_->haveField() || fieldView_->galaxyLayer().width <= 0) return nullptr;
    // The camera spreads the layer over the instrument field centred on the
    // pointing: hand it the view's window of the created field, not the
    // whole field (three times wider, centred where the field was made).
    galaxyView_ = fieldView_->ViewGalaxyLayer();
    return &galaxyView_;
}
Extended TObsrvtry::RightAscension() { return mount_->rightAscension(); }
Extended TObsrvtry::Declination() { return mount_->declination(); }
int TObsrvtry::Telescope() { return mount_->telescope(); }
Extended TObsrvtry::TelescopeBaseMagnitude() { return mount_->telescopeBaseMagnitude(); }
Extended TObsrvtry::CameraFieldWidth() { return mount_->cameraFieldWidth(); }
Extended TObsrvtry::CameraFieldHeight() { return mount_->cameraFieldHeight(); }
Extended TObsrvtry::JulianDate() { return clock_.JulianDate(); }
SkyCatalogs& TObsrvtry::Catalogs() { return *catalogs_; }
void TObsrvtry::SetPhotometerAperture(int radiusPixels) {
    if (fieldView_) fieldView_->SetPhotometerAperture(radiusPixels);
    CRT1->update();
}
int TObsrvtry::PhotometerApertureRadius() { return fieldView_ ? fieldView_->outlines().apertureRadius : 10; }
Extended TObsrvtry::PhotometerApertureDegrees() { return fieldView_ ? fieldView_->apertureDegrees() : 0; }
std::uint32_t TObsrvtry::FieldSeed() { return fieldView_ ? fieldView_->fieldSeed() : 0; }
bool TObsrvtry::GalaxiesDrawn() { return fieldView_ && fieldView_->galaxiesDrawn(); }

}  // namespace qnr::observatory
