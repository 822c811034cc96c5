#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vedivez {

// Every modal question, file dialog and message box of the editor goes through this one
// seam, so that window tests can script the answers without running modal loops.
class Prompts {
public:
    virtual ~Prompts() = default;

    // The error box of the application's error handler: title, error icon, OK.
    virtual void ShowError(const QString& message) = 0;
    // A plain notice with one OK button.
    virtual void ShowMessage(const QString& message) = 0;
    // The standard confirmation box (question icon, caption "Confirm", "&Yes" and "&No");
    // true only for Yes.
    virtual bool Confirm(const QString& question) = 0;

    // What a file dialog is asked for: filter, default extension (added to a name typed
    // without one) and the name it opens with.
    struct FileRequest {
        QString component; // the dialog's object name
        QString filter;
        QString defaultSuffix;
        QString initialName;
    };
    // The chosen full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> OpenFileName(const FileRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(const FileRequest& request) = 0;
};

// The real boxes and dialogs of the desktop, parented to the main window.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

    void ShowError(const QString& message) override;
    void ShowMessage(const QString& message) override;
    bool Confirm(const QString& question) override;
    std::optional<QString> OpenFileName(const FileRequest& request) override;
    std::optional<QString> SaveFileName(const FileRequest& request) override;

private:
    QWidget* parent_;
};

} // namespace vedivez
