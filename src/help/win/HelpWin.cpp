#include "help/win/HelpWin.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>

#include "help/win/GetSrchStrDlg.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/ListWindow.h"
#include "ui/Latin1.h"

namespace qnr::help {

namespace {

// The topic's lines. Taking the focus makes no line current: a list view
// would otherwise pick its first line and highlight it, though the student
// has chosen nothing yet.
class TopicLines final : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override {
        const bool noneCurrent = !currentIndex().isValid();
        QListWidget::focusInEvent(event);
        if (noneCurrent && currentIndex().isValid()) setCurrentIndex(QModelIndex());
    }
};

}  // namespace

THelpWin::THelpWin(platform::Services& services, TGetSrchStrDlg* search, THelpLstDlg* chooser, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      model_(services),
      search_(search ? search : new TGetSrchStrDlg(this)),
      chooser_(chooser ? chooser : new THelpLstDlg(services, search_, this)) {
    setObjectName(QStringLiteral("HelpWin"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);

    QMenu* topic = menuBar()->addMenu(QStringLiteral("&Topic"));
    SearchText1 = topic->addAction(QStringLiteral("&Search Text..."));
    SearchText1->setObjectName(QStringLiteral("SearchText1"));
    PrintTopic1 = topic->addAction(QStringLiteral("&Print Topic..."));
    PrintTopic1->setObjectName(QStringLiteral("PrintTopic1"));
    ShowHelpTopics1 = topic->addAction(QStringLiteral("Show Help &Topics..."));
    ShowHelpTopics1->setObjectName(QStringLiteral("ShowHelpTopics1"));
    topic->addSeparator();
    CloseTopicWindow1 = topic->addAction(QStringLiteral("&Close Topic Window"));
    CloseTopicWindow1->setObjectName(QStringLiteral("CloseTopicWindow1"));
    Back1 = menuBar()->addAction(QStringLiteral("&Back"));
    Back1->setObjectName(QStringLiteral("Back1"));
    Back1->setEnabled(false);
    ShowHelpTopics1->setEnabled(false);

    ListBox1 = new TopicLines(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(ListFont(10));
    setCentralWidget(ListBox1);

    // Five inches wide until a topic sizes it.
    resize(logicalDpiX() * 5, 300);

    connect(SearchText1, &QAction::triggered, this, &THelpWin::SearchText1Click);
    connect(PrintTopic1, &QAction::triggered, this, &THelpWin::PrintTopic1Click);
    connect(ShowHelpTopics1, &QAction::triggered, this, &THelpWin::ShowHelpTopics1Click);
    connect(Back1, &QAction::triggered, this, &THelpWin::Back1Click);
    connect(CloseTopicWindow1, &QAction::triggered, this, &QWidget::close);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &THelpWin::ListBox1DblClick);
}

void THelpWin::AttachList(HelpList* list) {
    model_.AttachList(list);
    ShowHelpTopics1->setEnabled(list != nullptr);
}

bool THelpWin::ShowTopic(const HelpEntry& topic, const std::string& helpFolder, const QWidget* opener) {
    folder_ = helpFolder;
    if (isVisible() && model_.topic()) {
        model_.GoTo(topic);
        model_.SetTopic(topic, folder_);
        if (Display()) return true;
        if (model_.Back()) Display();
        return false;
    }
    model_.Closed();
    model_.SetTopic(topic, folder_);
    return Display(opener ? opener : OpenerOf(this));
}

bool THelpWin::Display(const QWidget* opener) {
    const QFontMetrics metrics(ListBox1->font());
    const OpenResult result =
        model_.Open([&metrics](const std::string& line) { return metrics.horizontalAdvance(ui::ToQString(line)); });
    Back1->setEnabled(model_.CanGoBack());
    if (result != OpenResult::Shown) {
        if (!isVisible()) hide();
        return false;
    }
    setWindowTitle(ui::ToQString(model_.Caption()));
    FillList(ListBox1, model_.lines());
    ShowHelpTopics1->setEnabled(model_.list() != nullptr);
    const bool opening = !isVisible();
    show();
    SizeToLines(this, ListBox1, 20);
    if (opening) PlaceBeside(this, opener);
    // A new topic starts at its top, whatever the last one was scrolled to.
    ListBox1->scrollToTop();
    raise();
    activateWindow();
    return true;
}

void THelpWin::ListBox1DblClick() {
    const auto related = model_.RelatedTopicAt(ListBox1->currentRow());
    if (!related) return;
    model_.GoTo(*related);
    if (!Display() && model_.Back()) Display();
}

void THelpWin::SearchText1Click() {
    const SearchStart start = search_->Run(model_.search, QStringLiteral("Find Help Item"));
    ShowListLine(ListBox1, model_.Search(start, ListBox1->currentRow()));
}

void THelpWin::PrintTopic1Click() {
    BusyWindow busy(this);
    model_.Print(printIdentity_ ? printIdentity_() : PrintIdentity{});
}

void THelpWin::ShowHelpTopics1Click() {
    const auto chosen = chooser_->Choose(model_.list());
    if (!chosen) return;
    model_.GoTo(*chosen);
    if (!Display() && model_.Back()) Display();
}

void THelpWin::Back1Click() {
    if (model_.Back()) Display();
}

void THelpWin::closeEvent(QCloseEvent* event) {
    model_.Closed();
    Back1->setEnabled(false);
    QMainWindow::closeEvent(event);
}

void ShowHelpTopics(HelpList* list, const std::string& helpFolder, THelpLstDlg& chooser, THelpWin& viewer,
                    const QWidget* opener) {
    // Without a list the chooser says so itself.
    const auto chosen = chooser.Choose(list);
    if (!chosen) return;
    viewer.AttachList(list);
    viewer.ShowTopic(*chosen, helpFolder, opener);
}

void ShowHelpFile(const std::string& title, const std::string& path, THelpWin& viewer, const QWidget* opener) {
    viewer.AttachList(nullptr);
    viewer.ShowTopic(HelpEntry{title, platform::FileNameOf(path)}, platform::FolderOf(path), opener);
}

}  // namespace qnr::help
