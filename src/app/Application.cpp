#include "app/Application.h"

#include <QMainWindow>

namespace varnok::app {

int Run(QApplication& application) {
    QMainWindow window;
    window.setWindowTitle("Varnok");
    window.showMaximized();
    return application.exec();
}

} // namespace varnok::app
