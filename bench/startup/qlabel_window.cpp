// The floor for kv5's start-up: the least a Qt Widgets program does to show an 800 x 600 window.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("KARVELO"));
    label.setAlignment(Qt::AlignCenter);
    label.setFixedSize(800, 600);
    label.show();
    return application.exec();
}
