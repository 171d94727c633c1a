#pragma once

#include "app/ClosableDialog.h"

class QComboBox;
class QListWidget;

namespace varnok::app {

// "Buckers Selection": how many buckers (1 to 5) take turns in a group session. No entry is
// selected on show, and "Next" does nothing until one is. Choosing only reports the number;
// closing the dialog (Esc or its frame) reports Closed.
class TTrackingBuckersForm : public ClosableDialog {
    Q_OBJECT

public:
    explicit TTrackingBuckersForm(QWidget* parent);

signals:
    void BuckersChosen(int count);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Button1Click(); // "Next"

    QListWidget* list_;
};

// "Trees Selection": how many trees (1 to 10) the session draws. The list offers its fixed
// choices only, "1" selected on show. "Begin Bucking Session" only reports the number; closing
// the dialog reports Closed.
class TTrackingTreesForm : public ClosableDialog {
    Q_OBJECT

public:
    explicit TTrackingTreesForm(QWidget* parent);

signals:
    void TreesChosen(int count);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* combo_;
};

} // namespace varnok::app
