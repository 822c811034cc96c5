#include "app/Prompts.h"

#include "dialogs/PageSetupDialog.h"

#include "panel/DocumentTexts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace vedivez {

namespace {

// What a title bar takes besides the title's text: the window icon and up to three buttons,
// with the frame's margins (the box's own margins are within this too).
constexpr int kTitleBarExtra = 128;

std::optional<Prompts::TypedName> RunTypedFileDialog(QWidget* parent,
                                                     const Prompts::FileRequest& request,
                                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setObjectName(request.component);
    dialog.setAcceptMode(mode);
    // The editor checks existence itself: a missing file is reported by the reader, and an
    // existing one is confirmed before it is replaced, after the extension was added.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(request.filter.split(QStringLiteral(";;")));
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Prompts::TypedName{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

std::optional<QString> RunFileDialog(QWidget* parent, const Prompts::FileRequest& request,
                                     QFileDialog::AcceptMode mode) {
    const std::optional<Prompts::TypedName> chosen = RunTypedFileDialog(parent, request, mode);
    if (!chosen)
        return std::nullopt;
    return chosen->path;
}

} // namespace

void PrepareBox(QMessageBox& box) {
    // Paths, file names and messages built from a file's content are text: a name such as
    // "<i>Brno.reru" must show as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    if (auto* informative = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setTextFormat(Qt::PlainText);
    // The window manager cuts a title that does not fit the frame ("Ve… .4"). The box sizes
    // itself from its layout's minimum width whenever it is shown or laid out again, so the
    // button row, which spans the box, is given the width the title needs.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int needed = QFontMetrics(font).horizontalAdvance(box.windowTitle()) + kTitleBarExtra;
    if (auto* buttons = box.findChild<QDialogButtonBox*>())
        buttons->setMinimumWidth(needed);
}

void DialogPrompts::ShowError(const QString& message, const QString& detail) {
    QMessageBox box(QMessageBox::Critical, AppTitle(), message, QMessageBox::Ok, parent_);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    PrepareBox(box);
    box.exec();
}

void DialogPrompts::ShowMessage(const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), message, QMessageBox::Ok, parent_);
    PrepareBox(box);
    box.exec();
}

bool DialogPrompts::Confirm(const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question,
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    PrepareBox(box);
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

namespace vedivez {

std::optional<Prompts::TypedName> DialogPrompts::SaveTypedFileName(const FileRequest& request) {
    return RunTypedFileDialog(parent_, request, QFileDialog::AcceptSave);
}

bool DialogPrompts::EditPageSetup(PageSetup& setup, bool hasSelection, PageSetup::Output output,
                                  const SetupSummary& summary) {
    PageSetupDialog dialog(setup, hasSelection, output, summary, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setup = dialog.Setup();
    return true;
}

} // namespace vedivez
