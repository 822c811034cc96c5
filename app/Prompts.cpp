#include "app/Prompts.h"

#include "panel/DocumentTexts.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace vedivez {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const Prompts::FileRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setObjectName(request.component);
    dialog.setAcceptMode(mode);
    // The editor checks existence itself: a missing file is reported by the reader, and an
    // existing one is confirmed before it is replaced, after the extension was added.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

void DialogPrompts::ShowError(const QString& message) {
    QMessageBox box(QMessageBox::Critical, AppTitle(), message, QMessageBox::Ok, parent_);
    box.exec();
}

void DialogPrompts::ShowMessage(const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), message, QMessageBox::Ok, parent_);
    box.exec();
}

bool DialogPrompts::Confirm(const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question,
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    // The confirmation stands in the middle of the screen, not of the window.
    box.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        box.move(screen->availableGeometry().center() - box.rect().center());
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> DialogPrompts::OpenFileName(const FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<QString> DialogPrompts::SaveFileName(const FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

} // namespace vedivez
