#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>

namespace varnok::app {

// "Tree Selection": a tree number of 1 to 150 and "Show Tree". Choosing one only reports it: the
// main window loads the tree and hides the dialog once it is shown.
class TSelectTreeForm : public QDialog {
    Q_OBJECT

public:
    explicit TSelectTreeForm(QWidget* parent);

    int SelectedTree() const { return combo_->currentIndex() + 1; }

signals:
    void TreeChosen(int treeNumber);
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QComboBox* combo_;
    QLabel* count_;
};

} // namespace varnok::app
