#pragma once

// What the window tests share: finding widgets by their component names, real clicks and key
// presses, and the way to a tree on the main window.

#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/StemCanvas.h"
#include "game/Bucking.h"
#include "support/DataFolder.h"
#include "tree/ShapeFile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <filesystem>

namespace varnok::test {

// The bundled data of the source tree, read only.
inline const DataFolder& Bundled() {
    static const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
    return data;
}

// The tree with the longest stem of the bundled data, or with the shortest.
inline int TreeOfLength(bool longest) {
    int found = 1;
    int foundLength = longest ? 0 : 1 << 30;
    for (int n = 1; n <= 150; ++n) {
        const int length = ReadCrossSections(Bundled().ShapeFile(n)).back().Position;
        if (longest ? length > foundLength : length < foundLength) {
            found = n;
            foundLength = length;
        }
    }
    return found;
}

// A writable copy of the bundled data in a temporary folder, for the tests that change it.
struct BundledCopy {
    TempFolder Folder;
    DataFolder Data{Folder.Path()};

    BundledCopy() {
        std::filesystem::copy(Bundled().Root(), Folder.Path(),
                              std::filesystem::copy_options::recursive);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder.Path())) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        }
    }
};

// The top-level widget named `name` (a dialog or window), or null.
inline QWidget* TopLevel(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) {
            return widget;
        }
    }
    return nullptr;
}

// The widget named `name` below `parent`; fails the test when there is none.
template <typename T> T* Find(const QObject* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (found == nullptr) {
        qFatal("no widget %s", qPrintable(name));
    }
    return found;
}

// Key presses reach a window's accelerators only while it is the active window.
inline bool Activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
    QApplication::processEvents();
}

// The message box named `name` once `dialog` shows it; without one the test run stops.
inline QMessageBox* WaitForBox(const QWidget* dialog, const char* name) {
    QMessageBox* box = nullptr;
    if (!QTest::qWaitFor(
            [&] { return (box = dialog->findChild<QMessageBox*>(name)) != nullptr; })) {
        qFatal("no %s", name);
    }
    return box;
}

// The message box named `name`, wherever it is shown, once it is.
inline QMessageBox* WaitForBox(const char* name) {
    QMessageBox* box = nullptr;
    if (!QTest::qWaitFor(
            [&] { return (box = qobject_cast<QMessageBox*>(TopLevel(name))) != nullptr; })) {
        qFatal("no %s", name);
    }
    return box;
}

// Clicks `button` of `box`, which goes away (it deletes itself).
inline void Answer(QMessageBox* box, QMessageBox::StandardButton button = QMessageBox::Ok) {
    const QPointer<QMessageBox> kept(box);
    Click(box->button(button));
    QTRY_VERIFY(kept.isNull());
}

inline void ClickButton(const QObject* parent, const QString& name) {
    Click(Find<QPushButton>(parent, name));
}

// The dialog `name` of `window` after its menu item `action` is chosen, active (key presses
// then reach it); fails the test otherwise.
inline QWidget* Open(app::TMain& window, const char* action, const char* name) {
    window.Action(action)->trigger();
    QWidget* dialog = Find<QWidget>(&window, name);
    if (!dialog->isVisible() || !Activate(dialog)) {
        qFatal("%s did not open %s", action, name);
    }
    return dialog;
}

// The texts of a list's entries, in order.
inline QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
}

// Clicks the entry `text` of `list` (twice: a double click, as the window system sends it, a
// click followed by the second press); fails the test when there is no such entry.
inline void ClickEntry(QListWidget* list, const QString& text, bool twice = false) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    if (found.size() != 1) {
        qFatal("no entry %s in %s", qPrintable(text), qPrintable(list->objectName()));
    }
    const QPoint at = list->visualItemRect(found.front()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    QApplication::processEvents();
}

// Moves the mouse over `widget` to `at` (widget pixels), as the window system reports it.
inline void MoveMouse(QWidget* widget, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

inline void PressMouse(QWidget* widget, QPointF at, Qt::MouseButton button,
                       Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button,
                      modifiers);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), button,
                        Qt::NoButton, modifiers);
    QApplication::sendEvent(widget, &release);
}

inline app::StemCanvas* Canvas(const QObject* window) {
    return Find<app::StemCanvas>(window, "LogImageBox");
}

// The widget point over the stem's centre line, `inches` above the butt of the tree in play.
inline QPointF OverStem(const app::TMain& window, int inches) {
    const app::StemCanvas* canvas = Canvas(&window);
    const StemView& view = *window.View();
    return {canvas->Mapping().ToWidgetX(view.ButtX + inches),
            canvas->Mapping().ToWidgetY(view.CentreY)};
}

// Selects market `name` in the "Market Selection" list of `markets` (the entry whose market
// it is, whatever the entry says of it).
inline void SelectMarket(QWidget* markets, const QString& name) {
    auto* list = Find<QListWidget>(markets, "ListBox1");
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->data(Qt::UserRole).toString() == name) {
            list->setCurrentRow(row);
            return;
        }
    }
    qFatal("no market %s in the list", qPrintable(name));
}

// Chooses `market` in the open "Market Selection" of `window`.
inline void ChooseMarket(app::TMain& window, const QString& market) {
    QWidget* markets = Find<QWidget>(&window, "TSelectMarketForm");
    QTRY_VERIFY(markets->isVisible());
    SelectMarket(markets, market);
    ClickButton(markets, "Button1");
}

// Chooses `tree` in the open "Tree Selection" of `window` and clicks its button.
inline void ChooseTree(app::TMain& window, int tree) {
    QWidget* trees = Find<QWidget>(&window, "TSelectTreeForm");
    QTRY_VERIFY(trees->isVisible());
    Find<QComboBox>(trees, "ComboBox1")->setCurrentIndex(tree - 1);
    ClickButton(trees, "Button1");
}

// Starts a game in `gameAction`'s mode, chooses `market` and shows `tree`.
inline void StartTree(app::TMain& window, const QString& gameAction, const QString& market,
                      int tree) {
    window.Action(gameAction)->trigger();
    ChooseMarket(window, market);
    ChooseTree(window, tree);
    QVERIFY(Activate(&window));
}

} // namespace varnok::test
