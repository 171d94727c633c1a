#pragma once

#include <QDialog>
#include <QString>

namespace varnok::app {

// A small dialog of read-only text and one button that hides it; shown without blocking.
class InfoForm : public QDialog {
    Q_OBJECT

public:
    // `lines` > 1 shows a text box of that many lines, else a one-line field.
    InfoForm(const QString& name, const QString& title, const QString& text, int lines,
             const QString& closeCaption, QWidget* parent);
};

} // namespace varnok::app
