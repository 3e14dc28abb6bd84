#include "app/GeneralStuff.h"
#include "app/Main.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(GeneralStuff::AppTitle);
    QApplication::setWindowIcon(QIcon(":/images/program.png"));
    return Main();
}
