#pragma once

#include "app/ClosableDialog.h"
#include "services/Reports.h"
#include "support/DataFolder.h"

#include <QLabel>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QFileDialog;
class QPushButton;

namespace varnok {
class Market;
}

namespace varnok::app {

// "Please Wait...": the words centred on black, shown in front of `parent` while the program
// works without returning to its event loop.
class PleaseWaitWindow : public QLabel {
    Q_OBJECT

public:
    explicit PleaseWaitWindow(QWidget* parent);

    // Shows the window centred over its parent and paints it before returning, so that it is
    // on the screen while the work that follows blocks the event loop.
    void ShowNow();
};

// "Print Optimal Bucking Solutions": reports the stored optimal patterns of a range of trees of
// the market in force, as cut locations, as the products they yield, or both, printed; or
// writes the products to a comma-separated file. Everything is computed afresh from the
// market's "Optmcuts" and the tree files, leaving the game as it is. Trees of the range that
// hold no stored pattern are named to the user. Any error is shown, never passed off as a
// report.
class TPrintSolutionForm : public ClosableDialog {
    Q_OBJECT

public:
    // `market` gives the market in force when a button is pressed (null when none is loaded);
    // `data` must outlive the dialog.
    TPrintSolutionForm(const DataFolder& data, std::function<const Market*()> market,
                       QWidget* parent);

protected:
    // On show both lists read "1" and no kind of result is chosen.
    void showEvent(QShowEvent* event) override;

private:
    void ListChanged();
    void Button1Click(); // "Print Solutions"
    void Button3Click(); // "Create File"
    void FileChosen(const QString& file);

    int FirstTree() const;
    int LastTree() const;
    // Throws VarnokError when no market is loaded.
    const Market& MarketInForce() const;
    // The trees of the range that `market` stores no pattern for, in words with what the output
    // does with them; empty when there is none. Throws FileError when "Optmcuts" cannot be read.
    QString MissingTreesNote(const Market& market, const QString& whatItDoes) const;
    // Evaluates the stored optimal patterns of the range with "Please Wait..." shown. Throws as
    // ResearchOptimalPatterns.
    ResearchResults Research(const Market& market) const;

    const DataFolder& data_;
    std::function<const Market*()> market_;
    QComboBox* first_;
    QComboBox* last_;
    QButtonGroup* kinds_;
    QPushButton* print_;
    QFileDialog* saveDialog_;
    PleaseWaitWindow* wait_;
    std::vector<std::string> fileLines_; // the products file awaiting its name
    QString missingNote_;                // said once the file is written
};

} // namespace varnok::app
