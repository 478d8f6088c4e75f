#include "ui/QtFileChooser.h"

#include <QApplication>
#include <QFileDialog>

#include "platform/FileSystem.h"
#include "ui/Latin1.h"

namespace qnr::ui {

QWidget* QtFileChooser::owner() const {
    if (parent_) return parent_.data();
    return QApplication::activeWindow();
}

std::optional<std::string> QtFileChooser::run(const platform::FileChoice& choice, bool save) {
    QFileDialog dialog(owner(), ToQString(choice.title), ToQString(choice.startFolder),
                       ToQString(choice.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!choice.defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(choice.defaultExtension));
    if (!choice.defaultName.empty()) dialog.selectFile(ToQString(choice.defaultName));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return ToLatin1(files.front());
}

std::optional<std::string> QtFileChooser::openFile(const platform::FileChoice& choice) {
    return run(choice, false);
}

std::optional<std::string> QtFileChooser::saveFile(const platform::FileChoice& choice) {
    return run(choice, true);
}

std::optional<std::string> QtFileChooser::chooseFolder(const std::string& title,
                                                       const std::string& startFolder) {
    QFileDialog dialog(owner(), ToQString(title), ToQString(startFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList folders = dialog.selectedFiles();
    if (folders.isEmpty()) return std::nullopt;
    return platform::WithTrailingSlash(ToLatin1(folders.front()));
}

}  // namespace qnr::ui
