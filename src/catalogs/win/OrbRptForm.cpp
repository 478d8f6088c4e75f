#include "catalogs/win/OrbRptForm.h"

#include <QAction>

namespace qnr::catalogs {

TOrbRptForm1::TOrbRptForm1(platform::Services& services, const app::OptsRec& opts, help::TGetSrchStrDlg* search,
                           QWidget* parent)
    : TOrbRptForm1(std::make_unique<OrbitListReport>(services, opts), services, opts, search, parent) {}

// The report must exist before the base window that binds it.
TOrbRptForm1::TOrbRptForm1(std::unique_ptr<OrbitListReport> report, platform::Services& services,
                           const app::OptsRec& opts, help::TGetSrchStrDlg* search, QWidget* parent)
    : TObjctListForm1(*report, search, parent),
      report_(std::move(report)),
      services_(services),
      opts_(opts),
      search_(search) {
    setObjectName("OrbRptForm1");
    SelectionData1->setText("&Get Orbital Elements, Notes");
    report_->showElements = [this](const ReportText& text) {
        elements_ = std::make_unique<ObjectListReport>(services_, opts_);
        elements_->SetCaption(text.caption.empty() ? "Osculating Orbital Elements" : text.caption);
        elements_->SetReportName(text.reportName);
        elements_->SetReport(text.lines, text.firstEntryLine, text.lastEntryLine);
        elementsForm_ = std::make_unique<TObjctListForm1>(*elements_, search_, this);
        elementsForm_->setObjectName("OrbElementsForm");
        elementsForm_->setWindowFlag(Qt::Window);
        elementsForm_->ShowReport();
    };
}

TOrbRptForm1::~TOrbRptForm1() {
    // The elements window binds its report: it goes first.
    elementsForm_.reset();
}

void TOrbRptForm1::ShowList(TOrbitList& list) {
    report_->Fill(list);
    ShowReport();
}

}  // namespace qnr::catalogs
