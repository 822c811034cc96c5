#pragma once

#include "export/PageSetup.h"

#include <QString>
#include <functional>
#include <optional>

class QMessageBox;
class QWidget;

namespace vedivez {

// Every modal question, file dialog and message box of the editor goes through this one
// seam, so that window tests can script the answers without running modal loops.
class Prompts {
public:
    virtual ~Prompts() = default;

    // The error box of the application's error handler: title, error icon, OK; `detail`,
    // when not empty, stands below the message (where in the file the error is).
    virtual void ShowError(const QString& message, const QString& detail = QString()) = 0;
    // A plain notice with one OK button.
    virtual void ShowMessage(const QString& message) = 0;
    // The standard confirmation box (question icon, caption "Confirm", "&Yes" and "&No");
    // true only for Yes. No is the default button and Escape answers No, so no single key
    // throws work away.
    virtual bool Confirm(const QString& question) = 0;

    // What a file dialog is asked for: filter and the name it opens with. The dialog adds
    // no extension of its own (the file commands do), so a folder typed into it is entered.
    struct FileRequest {
        QString component; // the dialog's object name
        QString filter;
        QString initialName;
    };
    // The chosen full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> OpenFileName(const FileRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(const FileRequest& request) = 0;
    // A save dialog whose filter lists several types (";;" between them): the chosen path
    // and the type chosen with it. Without a dialog of its own, the first type.
    struct TypedName {
        QString path;
        QString filter;
    };
    virtual std::optional<TypedName> SaveTypedFileName(const FileRequest& request) {
        const std::optional<QString> path = SaveFileName(request);
        if (!path)
            return std::nullopt;
        return TypedName{*path, request.filter.section(QStringLiteral(";;"), 0, 0)};
    }
    // "Vzhled stránky": lets the user change `setup`; false when the dialog was cancelled.
    // `summary` words what a choice gives (page count, printed cell size). Without a dialog
    // of its own, the setup as it is.
    using SetupSummary = std::function<QString(const PageSetup&)>;
    virtual bool EditPageSetup(PageSetup& setup, bool hasSelection, PageSetup::Output output,
                               const SetupSummary& summary) {
        (void)setup, (void)hasSelection, (void)output, (void)summary;
        return true;
    }
};

// The real boxes and dialogs of the desktop, parented to the main window.
// Readies a message box of the editor: plain text, and at least as wide as its title.
void PrepareBox(QMessageBox& box);

class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

    void ShowError(const QString& message, const QString& detail = QString()) override;
    void ShowMessage(const QString& message) override;
    bool Confirm(const QString& question) override;
    std::optional<QString> OpenFileName(const FileRequest& request) override;
    std::optional<QString> SaveFileName(const FileRequest& request) override;
    std::optional<TypedName> SaveTypedFileName(const FileRequest& request) override;
    bool EditPageSetup(PageSetup& setup, bool hasSelection, PageSetup::Output output,
                       const SetupSummary& summary) override;

private:
    QWidget* parent_;
};

} // namespace vedivez
