#include "ui/file_dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/qt_text.h"
#include "ui/qt_translations.h"

namespace clockvane::ui {

std::unique_ptr<QFileDialog> buildFileDialog(const app::FileDialogRequest& request,
                                             FileDialogKind kind, QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, toQt(request.title));
    dialog->setNameFilters(qtNameFilters(request.filter));
    if (kind == FileDialogKind::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode((request.flags & app::kDialogFileMustExist) ? QFileDialog::ExistingFile
                                                                        : QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
    }
    dialog->setOption(QFileDialog::DontConfirmOverwrite,
                      !(request.flags & app::kDialogOverwritePrompt));
    dialog->setOption(QFileDialog::ReadOnly, false);
    // The desktop's own dialog speaks the desktop's language; Qt's speaks the program's.
    if (qtTextsDifferFromDesktop()) dialog->setOption(QFileDialog::DontUseNativeDialog);

    if (!request.fileName.empty()) {
        const QFileInfo proposed(toQt(request.fileName));
        if (proposed.isAbsolute() && proposed.dir().exists()) dialog->setDirectory(proposed.dir());
        dialog->selectFile(proposed.fileName());
    }
    return dialog;
}

std::optional<std::string> runFileDialog(QFileDialog& dialog, unsigned flags)
{
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) return std::nullopt;
        const QFileInfo file(chosen.first());
        if (!(flags & app::kDialogPathMustExist) || file.absoluteDir().exists()) {
            return fromQt(file.absoluteFilePath());
        }
        // Qt's own wording (and translation) for a folder that is not there.
        QMessageBox::warning(&dialog, dialog.windowTitle(),
                             QCoreApplication::translate("QFileDialog",
                                                         "%1\nDirectory not found.\nPlease "
                                                         "verify the correct directory name "
                                                         "was given.")
                                 .arg(file.absolutePath()));
    }
}

std::optional<std::vector<std::string>> runOpenFilesDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& chosen : dialog.selectedFiles())
        paths.push_back(fromQt(QFileInfo(chosen).absoluteFilePath()));
    if (paths.empty()) return std::nullopt;
    return paths;
}

}  // namespace clockvane::ui
