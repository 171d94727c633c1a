#pragma once

#include "app/ClosableDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace varnok::app {

// "Tree Selection": a tree number of 1 to 150 and "Show Tree" ("Grade Tree" while trees are
// graded). Choosing one only reports it: the main window loads the tree and hides the dialog
// once it is shown or graded.
class TSelectTreeForm : public ClosableDialog {
    Q_OBJECT

public:
    explicit TSelectTreeForm(QWidget* parent);

    int SelectedTree() const { return combo_->currentIndex() + 1; }
    // The button reads "Grade Tree" while `grading`, else "Show Tree".
    void SetGrading(bool grading);

signals:
    void TreeChosen(int treeNumber);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QComboBox* combo_;
    QLabel* count_;
    QPushButton* button_;
};

} // namespace varnok::app
