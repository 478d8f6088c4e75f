#pragma once
// The topic chooser "Select Help Topic".
#include <QDialog>
#include <optional>

#include "help/Helplst.h"

class QAction;
class QListWidget;
class QMenuBar;

namespace qnr::help {

class TGetSrchStrDlg;

class THelpLstDlg : public QDialog {
    Q_OBJECT

public:
    // `search` is the shared search dialog (one of its own when null).
    explicit THelpLstDlg(platform::Services& services, TGetSrchStrDlg* search = nullptr, QWidget* parent = nullptr);

    // Modal: the topic chosen from `list`, nullopt for Close Help Topics (or
    // no list at all).
    std::optional<HelpEntry> Choose(HelpList* list);

    HelpTopicChooser& model() { return model_; }

    QListWidget* HlpLstBox = nullptr;
    QAction* FindTopic1 = nullptr;
    QAction* ReadPrintTopic1 = nullptr;
    QAction* CloseHelpTopics1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FindTopic1Click();
    void ReadPrintTopic1Click();
    void CloseHelpTopics1Click();
    void SyncSelection();

    HelpTopicChooser model_;
    TGetSrchStrDlg* search_;
    QMenuBar* menuBar_ = nullptr;
};

}  // namespace qnr::help
