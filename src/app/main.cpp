// varnok: the bucking trainer's desktop program.

#include "app/Application.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return varnok::app::Run(QApplication::arguments());
}
