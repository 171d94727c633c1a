#pragma once

#include "support/DataFolder.h"

#include "app/ClosableDialog.h"

#include <string>

class QLineEdit;

namespace varnok::app {

class RuleFileList;
class RuleGrid;

// "View Log Rule": the files of the log-rule folder and the volumes of the one chosen. A file
// the log-rule reader refuses (too short, foreign, damaged) is reported and leaves the table
// with its heads only, never with the volumes of the rule viewed before.
class TReadLogScaleForm : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TReadLogScaleForm(const DataFolder& data, QWidget* parent);

    // Shows the viewer with the log rule `name` selected and viewed; a name that differs from
    // a file only in letter case is that file. A rule that cannot be read shows its error.
    void ShowFile(const std::string& name);

protected:
    void showEvent(QShowEvent* event) override;
    // A rule saved while the viewer is open is listed when the viewer is next activated.
    bool event(QEvent* event) override;

private:
    void Button1Click();
    void View(const std::string& name);

    RuleFileList* list_;
    RuleGrid* grid_;
};

// "Define Log Rule": a volume for every diameter from 6 to 50 inches and length from 8 to 16
// feet, stored under a name of the user's. Every cell is checked before any file is touched;
// the dialog stays open on any failure and hides once the rule is saved.
class TDefineNewLogRule : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TDefineNewLogRule(const DataFolder& data, QWidget* parent);

protected:
    // The table is emptied with its heads written again; the name keeps the last one typed.
    void showEvent(QShowEvent* event) override;

private:
    void SaveClick();

    const DataFolder& data_;
    RuleGrid* grid_;
    QLineEdit* name_;
};

} // namespace varnok::app
