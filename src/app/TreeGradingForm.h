#pragma once

#include "app/ClosableDialog.h"
#include "game/TreeGrading.h"
#include "market/Market.h"
#include "support/DataFolder.h"

#include <QObject>

#include <vector>

class QLabel;

namespace varnok::app {

class TSelectTreeForm;

// "Butt Log Tree Grading": the grade of the tree just chosen and the ways on.
class TTreeGradingForm : public ClosableDialog {
    Q_OBJECT

public:
    explicit TTreeGradingForm(QWidget* parent);

    // Paints the grade of tree `treeNumber` and shows the dialog centred over its window.
    void ShowGrade(int treeNumber, const ButtLogGrade& grade);

signals:
    void AnotherTreeClicked();
    void NewMarketClicked();
    void ExitClicked();

private:
    QLabel* heading_;
    QLabel* grade_;
};

// The butt-log tree grading exercise. While it runs the main window's controls are disabled
// (a disabled window would disable its dialogs too), the tree selection's button reads "Grade
// Tree" and a tree chosen is graded instead of drawn. It ends with "Exit Tree Grading", with
// the closing of the grading dialog, or with the main window's End (the market or tree
// selection closed).
class TreeGradingMode : public QObject {
    Q_OBJECT

public:
    // `data` must outlive the mode; `controls` are the main window's parts disabled while the
    // exercise runs. The dialog is a child of `window`.
    TreeGradingMode(const DataFolder& data, QWidget* window, TSelectTreeForm* trees,
                    std::vector<QWidget*> controls);

    bool IsOn() const { return on_; }
    void Start();
    // Loads tree `treeNumber` through the market's filter and shows its grade under the
    // market's trim in force, hiding the tree selection. A tree that cannot be loaded is
    // reported over the tree selection, which stays open.
    void Grade(const Market& market, int treeNumber);
    // Does nothing when the exercise is not running; otherwise emits Ended.
    void End();

signals:
    // "Choose A New Market": the market selection is to open again, the exercise going on.
    void MarketWanted();
    // The exercise is over and the window's controls are enabled again.
    void Ended();

private:
    void SetControlsEnabled(bool enabled);

    const DataFolder& data_;
    TSelectTreeForm* trees_;
    std::vector<QWidget*> controls_;
    TTreeGradingForm* form_;
    bool on_ = false;
};

} // namespace varnok::app
