#pragma once
// Open, save and folder dialogs over QFileDialog (Qt's own dialogs, so that
// they look and behave alike everywhere).
#include <QPointer>
#include <QWidget>

#include "platform/FileChooser.h"

namespace qnr::ui {

class QtFileChooser final : public platform::FileChooser {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> openFile(const platform::FileChoice& choice) override;
    std::optional<std::string> saveFile(const platform::FileChoice& choice) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& startFolder) override;

private:
    std::optional<std::string> run(const platform::FileChoice& choice, bool save);
    QWidget* owner() const;
    QPointer<QWidget> parent_;
};

}  // namespace qnr::ui
