#include "setup/dialogs/licence_dialog.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "setup/dialogs/controls.h"
#include "setup/dialogs/dialog_units.h"
#include "setup/dialogs/display_text.h"

namespace setup {

bool askLicence(const char* licenceText)
{
    QDialog dialog(nullptr,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setTitle(&dialog, "Lizenzvereinbarung");
    // Created in the order of the page's controls: the first button in that
    // order, the declining one, has the focus when the page opens.
    QLabel* prompt = new QLabel(displayText("Um mit der Installation fortzufahren, müssen Sie "
                                            "allen Punkten der Lizenzvereinbarung\r\nzustimmen."),
                                &dialog);
    placeInUnits(prompt, 10, 123, 297, 22);
    QPushButton* decline = addButton(&dialog, "&Abbrechen", 168, 140, 55, 14);
    decline->setDefault(true);
    QPushButton* agree = addButton(&dialog, "Ich stimme zu", 103, 140, 55, 14);
    QPlainTextEdit* text = new QPlainTextEdit(displayText(licenceText), &dialog);
    placeInUnits(text, 9, 7, 296, 109);
    text->setReadOnly(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    QObject::connect(agree, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(decline, &QPushButton::clicked, &dialog, &QDialog::reject);
    sizeAndCentre(&dialog, 315, 157);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace setup
