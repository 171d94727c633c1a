#pragma once

#include "app/StatusPanel.h"
#include "game/Bucking.h"
#include "game/Comparison.h"

#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include <optional>
#include <vector>

namespace varnok::app {

class StemCanvas;

// What a comparison shows: the tree's view, each pattern's cuts (pixels and inches, butt and top
// included) and its evaluated labels and totals. The bucker's pattern is always there; the
// optimal one only when comparing with the optimum.
struct ComparisonContent {
    GameMode Mode = GameMode::BuckWithOptimal;
    int TreeNumber = 1;
    const StemView* View = nullptr;
    std::vector<int> BuckerPixels;
    std::vector<int> BuckerInches;
    PatternResult Bucker;
    bool OptimalStored = false; // the market holds an optimal pattern for the tree
    std::string OptimalMissing; // why it holds none, in words
    std::vector<int> OptimalPixels;
    std::vector<int> OptimalInches;
    PatternResult Optimal;
};

// The comparison window: the optimal pattern above the bucker's (or the bucker's alone), each
// stem with its cuts, a label under every graded log, the returns and the net after the cull
// penalty; "&Return" goes back to the main window.
class TOptimizedStemForm : public QWidget {
    Q_OBJECT

public:
    explicit TOptimizedStemForm(QWidget* parent = nullptr);

    // Shows `content` (kept until Return) with the market of `status`, both pictures at
    // `rotation`. The view must stay alive while the window shows it.
    void Present(ComparisonContent content, const StatusPanel& status, int rotation);

signals:
    void Returned();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PatternBoxes {
        QLabel* Dollar = nullptr;
        QListWidget* Net = nullptr;
        std::vector<QListWidget*> Labels;
    };

    void ReturnClick();
    void Rotate(bool optimal, int step);
    void Place();
    void LayOut();
    void Redraw();
    void ShowPattern(StemCanvas* canvas, PatternBoxes& boxes, const PatternResult& result,
                     bool optimal);
    void ClearBoxes(PatternBoxes& boxes);
    QListWidget* LabelBox(PatternBoxes& boxes, StemCanvas* canvas, std::size_t index, bool optimal);

    QWidget* top_;
    QLineEdit* treeField_;
    QWidget* optimalUp_;
    QWidget* optimalDown_;
    StemCanvas* optimalCanvas_;
    StemCanvas* buckerCanvas_;
    StatusPanel* status_;
    PatternBoxes optimalBoxes_;
    PatternBoxes buckerBoxes_;
    std::optional<ComparisonContent> content_;
    bool withOptimal_ = true;
    int optimalRotation_ = 1;
    int buckerRotation_ = 1;
};

} // namespace varnok::app
