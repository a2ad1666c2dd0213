// A bare Qt window of the application's size: a main window around an
// 820 x 600 central widget.
#include "FirstFrame.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *content = new QWidget(&window);
    content->setFixedSize(820, 600);
    window.setCentralWidget(content);
    new FirstFrameProbe(&window);
    window.show();
    return app.exec();
}
