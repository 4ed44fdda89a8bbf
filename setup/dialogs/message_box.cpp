#include "setup/dialogs/message_box.h"

#include <QMessageBox>

#include "setup/dialogs/display_text.h"

namespace setup {

Answer showMessageBox(const char* text, const char* caption, Icon icon, Buttons buttons)
{
    QMessageBox box(icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::Information,
                    QString::fromUtf8(caption), displayText(text),
                    buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel);
    // Texts from the package are never markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

}  // namespace setup
