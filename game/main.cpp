// kv5: the board game. It reads P1.dat and sounds/ from the folder it is started in.
#include <QApplication>
#include <QFont>

#include "ui/form1.h"
#include "ui/no_display.h"

int main(int argc, char* argv[])
{
    kv::endQuietlyWithoutDisplay("kv5");
    QApplication application(argc, argv);
    // The windows ask for the classic dialog family by name; draw it with an installed sans,
    // narrow ones first, as their widths come closest.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                                QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Sans Serif")});
    kv::Form1 window;
    window.show();
    return application.exec();
}
