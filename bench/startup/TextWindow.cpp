// The bare window with what any window that shows text pays before its
// first frame: fontconfig's set-up, a font loaded and glyphs drawn. It has
// a menu bar with two menus and one line in the application's font, and
// nothing of the application.
#include "FirstFrame.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Application"));
    window.menuBar()->addMenu(QStringLiteral("Help"));
    auto *content = new QWidget(&window);
    content->setFixedSize(820, 600);
    auto *label = new QLabel(QStringLiteral("Connect a device with its USB cable"), content);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(24);
    label->setFont(font);
    label->move(250, 453);
    window.setCentralWidget(content);
    new FirstFrameProbe(&window);
    window.show();
    return app.exec();
}
