#include "setup/dialogs/password_dialog.h"

#include <string.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "setup/dialogs/controls.h"
#include "setup/dialogs/dialog_units.h"
#include "setup/driver/setup_ui.h"

namespace setup {

bool askPassword(char* entry, int* length)
{
    // A caption bar without system menu: no close box either.
    QDialog dialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setTitle(&dialog, "Bitte geben Sie das Paßwort ein...");
    QLineEdit* edit = new QLineEdit(&dialog);
    placeInUnits(edit, 5, 6, 181, 12);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kLongestPassword);
    QPushButton* ok = addButton(&dialog, "&Ok", 62, 24, 32, 13);
    // Enter in the edit box confirms, as it does in any dialog without a
    // marked default button.
    ok->setDefault(true);
    QPushButton* cancel = addButton(&dialog, "&Abbrechen", 102, 24, 35, 13);

    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    sizeAndCentre(&dialog, 191, 41);
    // Set before the window is up, so that it holds from the first moment.
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;

    // The edit box holds at most kLongestPassword characters, which always fit.
    const QByteArray entered = edit->text().toUtf8();
    const int size = entered.size() < kPasswordEntrySize ? static_cast<int>(entered.size()) : 0;
    memcpy(entry, entered.constData(), static_cast<size_t>(size));
    entry[size] = '\0';
    *length = size;
    return true;
}

}  // namespace setup
