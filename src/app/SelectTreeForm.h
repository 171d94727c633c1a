#pragma once

#include "app/ClosableDialog.h"
#include <QComboBox>

#include <QLabel>

namespace varnok::app {

// "Tree Selection": a tree number of 1 to 150 and "Show Tree". Choosing one only reports it: the
// main window loads the tree and hides the dialog once it is shown.
class TSelectTreeForm : public ClosableDialog {
    Q_OBJECT

public:
    explicit TSelectTreeForm(QWidget* parent);

    int SelectedTree() const { return combo_->currentIndex() + 1; }

signals:
    void TreeChosen(int treeNumber);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* combo_;
    QLabel* count_;
};

} // namespace varnok::app
