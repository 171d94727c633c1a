// Plays a short "Buck With Optimal" game on the desktop program and saves what the windows
// look like: the main window with a tree, the same mid-game with cuts and the read-out, and
// the comparison window at the screen's size, at 1024 by 375 and at 700 by 450, and "Why This
// Grade" for the bucker's first log. Run under a display
// (xvfb-run) for the real fonts, from the top of the source tree:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/tools/screenshots/varnok-screenshots
//       --data data --out shots

#include "app/MainWindow.h"
#include "app/StemCanvas.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

template <typename T> T* Child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(name);
    if (found == nullptr) {
        std::fprintf(stderr, "varnok-screenshots: no widget %s\n", name);
        std::exit(1);
    }
    return found;
}

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
}

void Save(QWidget* window, const QDir& out, const char* name) {
    Settle();
    const QString path = out.filePath(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "varnok-screenshots: could not write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(path));
}

void MoveMouse(QWidget* widget, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void LeftClick(QWidget* widget, QPointF at) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption data("data", "The data folder.", "DIR", "data");
    const QCommandLineOption out("out", "Where the pictures go.", "DIR", "shots");
    const QCommandLineOption tree("tree", "The tree to play.", "N", "12");
    parser.addOptions({data, out, tree});
    parser.process(application);
    const QDir outDir(parser.value(out));
    QDir().mkpath(outDir.path());

    const varnok::DataFolder folder(parser.value(data).toStdString());
    varnok::app::TMain window(folder, false);
    window.resize(1280, 800);
    window.show();
    Settle();
    window.Action("Buck1")->trigger();
    Settle();
    auto* markets = Child<QWidget>(&window, "TSelectMarketForm");
    Child<QListWidget>(markets, "ListBox1")->setCurrentRow(0);
    Child<QPushButton>(markets, "Button1")->click();
    auto* trees = Child<QWidget>(&window, "TSelectTreeForm");
    Child<QComboBox>(trees, "ComboBox1")->setCurrentIndex(parser.value(tree).toInt() - 1);
    Child<QPushButton>(trees, "Button1")->click();
    Save(&window, outDir, "main-window-tree.png");

    Child<QPushButton>(&window, "Button8")->click(); // 16'
    Child<QPushButton>(&window, "Button6")->click(); // 12'
    auto* canvas = Child<varnok::app::StemCanvas>(&window, "LogImageBox");
    const varnok::StemView& view = *window.View();
    const auto at = [&](int inches, double below) {
        return QPointF(canvas->Mapping().ToWidgetX(view.ButtX + inches),
                       canvas->Mapping().ToWidgetY(view.CentreY + below));
    };
    LeftClick(canvas, at(460, 0)); // a cut with the mouse
    MoveMouse(canvas, at(460, 0));
    LeftClick(canvas, at(460, 0));
    MoveMouse(canvas, at(560, 0));
    LeftClick(canvas, at(560, 0));
    MoveMouse(canvas, at(600, 200));                 // the read-out grows downwards
    Child<QPushButton>(&window, "Button1")->click(); // turn the view
    MoveMouse(canvas, at(600, 200));
    Save(&window, outDir, "main-window-cuts.png");

    Child<QPushButton>(&window, "Button5")->click();
    Settle();
    QWidget* comparison = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "TOptimizedStemForm") {
            comparison = widget;
        }
    }
    if (comparison == nullptr || !comparison->isVisible()) {
        std::fprintf(stderr, "varnok-screenshots: the comparison window did not open\n");
        return 1;
    }
    // The comparison as the user may meet it: filling the screen, at its restored size, and
    // in a small window.
    comparison->showNormal();
    comparison->resize(1280, 800);
    Save(comparison, outDir, "comparison.png");
    // Why the bucker's first log took its grade: a click on its label.
    auto* label = Child<QListWidget>(comparison, "ListBox16");
    LeftClick(label->viewport(), QPointF(label->viewport()->rect().center()));
    auto* why = Child<QWidget>(comparison, "WhyThisGradeForm");
    if (!why->isVisible()) {
        std::fprintf(stderr, "varnok-screenshots: Why This Grade did not open\n");
        return 1;
    }
    Save(why, outDir, "why-this-grade.png");
    why->hide();
    comparison->resize(1024, 375);
    Save(comparison, outDir, "comparison-1024x375.png");
    comparison->resize(700, 450);
    Save(comparison, outDir, "comparison-700x450.png");
    return 0;
}
