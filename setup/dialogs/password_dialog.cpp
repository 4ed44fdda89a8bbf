#include "setup/dialogs/password_dialog.h"

#include <string.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "setup/dialogs/dialog_units.h"

namespace setup {

constexpr int kLongestPassword = 79;

bool askPassword(char* buf80, int* length) {
  // A caption bar without system menu: no close box either.
  QDialog dialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  dialog.setWindowTitle(QStringLiteral("Bitte geben Sie das Paßwort ein..."));
  QLineEdit* edit = new QLineEdit(&dialog);
  placeInUnits(edit, 5, 6, 181, 12);
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(kLongestPassword);
  QPushButton* ok = new QPushButton(QStringLiteral("&Ok"), &dialog);
  placeInUnits(ok, 62, 24, 32, 13);
  // Enter in the edit box confirms, as it does in any dialog without a
  // marked default button.
  ok->setDefault(true);
  QPushButton* cancel = new QPushButton(QStringLiteral("&Abbrechen"), &dialog);
  placeInUnits(cancel, 102, 24, 35, 13);

  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  sizeAndCentre(&dialog, 191, 41);
  // Set before the window is up, so that it holds from the first moment.
  edit->setFocus();
  if (dialog.exec() != QDialog::Accepted) return false;

  const QByteArray entered = edit->text().toUtf8();
  // Never cut a character in two: back off to the start of the last one.
  int size = entered.size() < kLongestPassword ? static_cast<int>(entered.size())
                                               : kLongestPassword;
  if (size < entered.size())
    while (size > 0 && (static_cast<unsigned char>(entered[size]) & 0xC0) == 0x80) --size;
  memcpy(buf80, entered.constData(), static_cast<size_t>(size));
  buf80[size] = '\0';
  *length = size;
  return true;
}

}  // namespace setup
