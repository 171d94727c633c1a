#pragma once

#include "support/DataFolder.h"

#include "app/ClosableDialog.h"
#include "app/rules/RuleFileViewer.h"

class QLineEdit;

namespace varnok::app {

class RuleGrid;

// "View Log Rule": the files of the log-rule folder and the volumes of the one chosen, read
// through the log-rule reader, whose checks refuse foreign and damaged files.
class TReadLogScaleForm : public RuleFileViewer {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TReadLogScaleForm(const DataFolder& data, QWidget* parent);
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
