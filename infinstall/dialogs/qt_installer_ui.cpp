#include "infinstall/dialogs/qt_installer_ui.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <atomic>
#include <iostream>
#include <thread>

#include "infinstall/core/paths.h"
#include "infinstall/dialogs/centred.h"
#include "infinstall/dialogs/folder_prompt.h"

namespace infinstall {
namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// A box with our own German captions; true when `accept` was chosen.
bool showBox(QMessageBox::Icon icon, const std::string& title, const std::string& message,
             const QString& accept, const QString& reject)
{
    Centred<QMessageBox> box(icon, text(title), text(message));
    QPushButton* yes = box.addButton(accept, QMessageBox::AcceptRole);
    if (!reject.isEmpty())
        box.addButton(reject, QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

// Hands the worker's progress to the dialog on the user-interface thread.
class DialogProgress : public ProgressSink {
public:
    explicit DialogProgress(QProgressDialog& dialog) : dialog_(dialog) {}

    void advanced(int done, int total, const std::string& name) override
    {
        const QString file = text(nameOf(name));
        QMetaObject::invokeMethod(
            &dialog_,
            [this, done, total, file] {
                dialog_.setMaximum(total);
                dialog_.setValue(done);
                dialog_.setLabelText(QStringLiteral("Kopiere %1 …").arg(file));
            },
            Qt::QueuedConnection);
    }
    bool cancelled() override { return stop_; }
    void cancel() { stop_ = true; }

private:
    QProgressDialog& dialog_;
    std::atomic<bool> stop_{false};
};

}  // namespace

bool QtInstallerUi::ask(const Prompt& prompt)
{
    return showBox(QMessageBox::Question, prompt.title, prompt.text,
                   prompt.yesNo ? QStringLiteral("&Ja") : QStringLiteral("OK"),
                   prompt.yesNo ? QStringLiteral("&Nein") : QStringLiteral("Abbrechen"));
}

bool QtInstallerUi::confirm(const std::string& title, const std::string& message, const std::string& accept)
{
    return showBox(QMessageBox::Warning, title, message, text(accept), QStringLiteral("Abbrechen"));
}

void QtInstallerUi::tell(const std::string& title, const std::string& message, bool isError)
{
    // Also for the log of whoever started us: a desktop keeps standard error.
    if (isError)
        std::cerr << "infinstall: " << title << ": " << message << std::endl;
    showBox(isError ? QMessageBox::Critical : QMessageBox::Information, title, message, QStringLiteral("OK"),
            QString());
}

std::optional<std::string>
QtInstallerUi::chooseFolder(const std::string& title, const std::string& prompt, const std::string& initial,
                            const std::function<std::string(const std::string&)>& problem)
{
    FolderPrompt dialog(text(title) + QStringLiteral(" – Zielordner"), text(prompt), text(initial), problem);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.folder().toStdString();
}

bool QtInstallerUi::runWithProgress(const std::string& title, const std::string& what,
                                    const std::function<bool(ProgressSink&, std::string&)>& work,
                                    std::string& error)
{
    Centred<QProgressDialog> dialog(text(what) + QStringLiteral(" …"), QStringLiteral("Abbrechen"), 0, 1);
    dialog.setWindowTitle(text(title) + QStringLiteral(" – ") + text(what));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
    DialogProgress progress(dialog);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        progress.cancel();
        dialog.setLabelText(QStringLiteral("Breche ab und stelle den alten Zustand wieder her …"));
        dialog.show();  // stays until the work has undone what it did
    });
    dialog.show();

    // The copying runs beside the event loop, so the dialog paints and its button answers.
    QEventLoop loop;
    bool done = false;
    std::string reason;
    std::thread worker([&] {
        done = work(progress, reason);
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    error = reason;
    return done;
}

}  // namespace infinstall
