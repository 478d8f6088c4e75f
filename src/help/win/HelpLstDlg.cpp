#include "help/win/HelpLstDlg.h"

#include <QAction>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

#include "help/win/GetSrchStrDlg.h"
#include "help/win/ListWindow.h"

namespace qnr::help {

THelpLstDlg::THelpLstDlg(platform::Services& services, TGetSrchStrDlg* search, QWidget* parent)
    : QDialog(parent), model_(services), search_(search ? search : new TGetSrchStrDlg(this)) {
    setObjectName(QStringLiteral("HelpLstDlg"));
    setWindowTitle(QStringLiteral("Select Help Topic"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);

    menuBar_ = new QMenuBar(this);
    QMenu* topics = menuBar_->addMenu(QStringLiteral("&Topics"));
    FindTopic1 = topics->addAction(QStringLiteral("&Find Topic..."));
    FindTopic1->setObjectName(QStringLiteral("FindTopic1"));
    ReadPrintTopic1 = topics->addAction(QStringLiteral("&Read/Print Topic"));
    ReadPrintTopic1->setObjectName(QStringLiteral("ReadPrintTopic1"));
    topics->addSeparator();
    CloseHelpTopics1 = topics->addAction(QStringLiteral("&Close Help Topics"));
    CloseHelpTopics1->setObjectName(QStringLiteral("CloseHelpTopics1"));

    HlpLstBox = new QListWidget(this);
    HlpLstBox->setObjectName(QStringLiteral("HlpLstBox"));
    HlpLstBox->setFont(ListFont(10));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(HlpLstBox);

    connect(FindTopic1, &QAction::triggered, this, &THelpLstDlg::FindTopic1Click);
    connect(ReadPrintTopic1, &QAction::triggered, this, &THelpLstDlg::ReadPrintTopic1Click);
    connect(CloseHelpTopics1, &QAction::triggered, this, &THelpLstDlg::CloseHelpTopics1Click);
    connect(HlpLstBox, &QListWidget::itemDoubleClicked, this, &THelpLstDlg::ReadPrintTopic1Click);
    connect(HlpLstBox, &QListWidget::currentRowChanged, this, [this](int row) { model_.Select(row); });
}

std::optional<HelpEntry> THelpLstDlg::Choose(HelpList* list) {
    model_.SetList(list);
    if (!model_.Activate()) return std::nullopt;
    FillList(HlpLstBox, list->DisplayTexts());
    SyncSelection();
    SizeToLines(this, HlpLstBox, 30);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return model_.chosen();
}

void THelpLstDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SyncSelection();
}

void THelpLstDlg::SyncSelection() {
    ShowListLine(HlpLstBox, model_.selected());
}

void THelpLstDlg::FindTopic1Click() {
    const SearchStart start = search_->Run(model_.search, QStringLiteral("Find Help Topic"));
    if (model_.FindTopic(start)) SyncSelection();
}

void THelpLstDlg::ReadPrintTopic1Click() {
    model_.Select(HlpLstBox->currentRow());
    if (model_.ReadPrintTopic()) accept();
}

void THelpLstDlg::CloseHelpTopics1Click() {
    model_.Select(HlpLstBox->currentRow());
    model_.Close();
    QDialog::reject();
}

void THelpLstDlg::reject() { CloseHelpTopics1Click(); }

}  // namespace qnr::help
