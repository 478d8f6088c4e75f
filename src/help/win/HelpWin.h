#pragma once
// The help viewer: one topic, with search, print, related topics and Back.
#include <QMainWindow>

#include "help/Helptxt.h"

class QAction;
class QListWidget;

namespace qnr::help {

class TGetSrchStrDlg;
class THelpLstDlg;

class THelpWin : public QMainWindow {
    Q_OBJECT

public:
    // `search` and `chooser` are the shared dialogs (its own when null).
    THelpWin(platform::Services& services, TGetSrchStrDlg* search = nullptr, THelpLstDlg* chooser = nullptr,
             QWidget* parent = nullptr);

    // The list whose topics related-topic lines and Show Help Topics offer.
    void AttachList(HelpList* list);
    void SetPrintIdentity(PrintIdentitySource source) { printIdentity_ = std::move(source); }
    // Shows a topic from another window (`opener`, or the active one when
    // null), beside which the viewer opens. Over a topic already on display
    // it is a step that Back returns from.
    bool ShowTopic(const HelpEntry& topic, const std::string& helpFolder, const QWidget* opener = nullptr);

    HelpViewer& model() { return model_; }

    QListWidget* ListBox1 = nullptr;
    QAction* SearchText1 = nullptr;
    QAction* PrintTopic1 = nullptr;
    QAction* ShowHelpTopics1 = nullptr;
    QAction* Back1 = nullptr;
    QAction* CloseTopicWindow1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads the topic of the model and shows it; false (window unchanged or
    // hidden) when it could not be shown.
    bool Display(const QWidget* opener = nullptr);
    void ListBox1DblClick();
    void SearchText1Click();
    void PrintTopic1Click();
    void ShowHelpTopics1Click();
    void Back1Click();

    platform::Services& services_;
    HelpViewer model_;
    TGetSrchStrDlg* search_;
    THelpLstDlg* chooser_;
    std::string folder_;
    PrintIdentitySource printIdentity_;
};

// A window's Help > Topics: the chooser on the window's list, then the
// chosen topic in the viewer. Without a list the chooser's "No Help List to
// Display!" warning.
void ShowHelpTopics(HelpList* list, const std::string& helpFolder, THelpLstDlg& chooser, THelpWin& viewer,
                    const QWidget* opener = nullptr);
// A single help file under a title ("On Help", "User Help").
void ShowHelpFile(const std::string& title, const std::string& path, THelpWin& viewer, const QWidget* opener = nullptr);

}  // namespace qnr::help
