#include "photometry/InfoList.h"

namespace qnr::photometry {

InfoListReport::InfoListReport(platform::Services& services, const app::OptsRec& opts)
    : services_(services), opts_(opts) {}

void InfoListReport::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    printed_ = false;
    saved_ = false;
}

int InfoListReport::Search(help::SearchStart start, int currentLine) {
    return help::SearchLines(lines_, search, start, currentLine, *services_.dialogs);
}

bool InfoListReport::Print() {
    platform::Printer* printer = services_.printer;
    if (!printer) return false;
    const help::PrintIdentity who = printIdentity_ ? printIdentity_() : help::PrintIdentity{};
    const bool edit = opts_.editMode;
    const platform::Orientation before = printer->orientation();
    if (PrintsLandscape()) printer->setOrientation(platform::Orientation::Landscape);
    bool ok = false;
    const std::string title = std::string("Zarn Exercise \"The Durev for Quenara\" - ") +
                              (edit ? std::string("Database Modification") : who.names[0]);
    if (auto canvas = printer->begin(title)) {
        canvas->setFontPoints(10);
        help::PageWriter page(*canvas);
        const int h = page.h();
        const int x = printer->orientation() == platform::Orientation::Landscape ? 50 : 0;
        page.Text(x, 0, help::PrintDateTime(services_.clock) + (edit ? std::string() : help::TableNumberText(who.table)));
        // Without names the caption takes the place two lines below the date.
        const int names = edit ? 0 : page.Names(x, 2 * h, who.names, true);
        const int captionY = names > 0 ? (1 + names) * h + 2 * h : 2 * h;
        page.Text(x + 50, captionY, caption_);
        page.Lines(x + 50, captionY + 2 * h, lines_);
        ok = canvas->finish();
    }
    printer->setOrientation(before);
    if (ok) printed_ = true;
    return ok;
}

platform::FileChoice InfoListReport::TextSaveChoice() const {
    return help::ReportTextChoice(opts_.usersFolder, title_, lastPath_);
}

bool InfoListReport::SaveAsDisplayed() {
    const auto path = help::SaveReportText(lines_, TextSaveChoice(), services_);
    if (!path) return false;
    lastPath_ = *path;
    saved_ = true;
    return true;
}

}  // namespace qnr::photometry
