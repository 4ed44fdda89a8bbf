#include "infinstall/dialogs/folder_prompt.h"

#include <unistd.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <iostream>

#include "infinstall/dialogs/centred.h"

namespace infinstall {

namespace {

bool chooserWouldServeAnotherUser()
{
    return geteuid() == 0 && qEnvironmentVariableIsSet("PKEXEC_UID");
}

}  // namespace

FolderPrompt::FolderPrompt(const QString& title, const QString& prompt, const QString& folder,
                           std::function<std::string(const std::string&)> problem, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(folder, this)), problem_(std::move(problem))
{
    setWindowTitle(title);
    auto* label = new QLabel(prompt, this);
    label->setBuddy(edit_);
    // Room for a typical path; the dialog grows with the prompt's text.
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
    edit_->selectAll();

    auto* browseButton = new QPushButton(QStringLiteral("…"), this);
    browseButton->setToolTip(QStringLiteral("Ordner auswählen (Alt+D)"));
    browseButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
    browseButton->setAutoDefault(false);
    connect(browseButton, &QPushButton::clicked, this, &FolderPrompt::browse);
    // A file chooser can delete and rename folders: root shows none on the display of a
    // player for whom an administrator agreed to something through pkexec.
    browseButton->setVisible(!chooserWouldServeAnotherUser());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &FolderPrompt::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FolderPrompt::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(edit_, 1);
    row->addWidget(browseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString FolderPrompt::folder() const
{
    return edit_->text().trimmed();
}

void FolderPrompt::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void FolderPrompt::browse()
{
    // Start in the folder typed so far, or in the nearest one of its parents that exists.
    QString start = folder();
    while (!start.isEmpty() && !QFileInfo(start).isDir()) {
        const QString parent = QFileInfo(start).path();
        start = parent == start ? QString() : parent;
    }
    if (chooserWouldServeAnotherUser())
        return;
    // The desktop's own chooser where it offers one; Qt's, centred like ours, elsewhere.
    Centred<QFileDialog> chooser(this, QStringLiteral("Ordner für die Installation wählen"), start);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    if (chooser.exec() == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
        edit_->setText(chooser.selectedFiles().constFirst());
    edit_->setFocus();
}

void FolderPrompt::accept()
{
    const std::string problem = problem_(folder().toStdString());
    if (problem.empty()) {
        QDialog::accept();
        return;
    }
    std::cerr << "infinstall: " << folder().toStdString() << ": " << problem << std::endl;
    Centred<QMessageBox> box(QMessageBox::Warning, windowTitle(),
                             QStringLiteral("Dieser Ordner ist nicht möglich:\n%1\n\n%2")
                                 .arg(folder(), QString::fromStdString(problem)),
                             QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    edit_->setFocus();
    edit_->selectAll();
}

}  // namespace infinstall
