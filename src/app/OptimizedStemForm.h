#pragma once

#include "app/StatusPanel.h"
#include "coach/ComparisonCoaching.h"
#include "game/Bucking.h"
#include "game/Comparison.h"
#include "game/ComparisonLayout.h"
#include "game/PictureMapping.h"
#include "game/StemFigures.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QWidget>

#include <optional>
#include <vector>

namespace varnok::app {

class StemCanvas;
class TWhyThisGradeForm;

// What a comparison shows: the tree's view, each pattern's cuts (pixels and inches, butt and top
// included) and its evaluated labels and totals. The bucker's pattern is always there; the
// optimal one only when comparing with the optimum. With coaching, the patterns were compared
// with their grade reasons.
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
    // What the bucker's cuts cost and the cuts that would complete them best; nothing when no
    // coaching is in force, and then no log explains its grade either.
    std::optional<ComparisonCoaching> Coaching;
};

// The comparison window: the optimal pattern above the bucker's (or the bucker's alone), each
// stem with its cuts, a label under every graded log, the returns and the net after the cull
// penalty; "&Return" goes back to the main window. The pictures are laid out in the window's
// size: each stem fitted to the width, the labels in rows or a smaller font where they would
// touch, and the pictures scrolled when the window is not high enough for both. With coaching,
// each of the bucker's inner cuts shows its cost under the stem, the cuts of the best
// completion are drawn dashed, and a click on a log or its label (or Enter on a label) opens
// "Why This Grade" for that log.
class TOptimizedStemForm : public QWidget {
    Q_OBJECT

public:
    explicit TOptimizedStemForm(QWidget* parent = nullptr);

    // Shows `content` (kept until Return) with the market of `status`, both pictures at
    // `rotation`. The view must stay alive while the window shows it.
    void Present(ComparisonContent content, const StatusPanel& status, int rotation);
    // Every stem across the whole width and enlarged across as far as the room allows, as on
    // the main window; off, a stem is scaled only when longer than the window is wide.
    void SetFitStem(bool fit);

signals:
    void Returned();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PatternBoxes {
        QLabel* Dollar = nullptr;
        QListWidget* Net = nullptr;
        std::vector<QListWidget*> Labels;
    };

    // One picture laid out for a width: its heights, its label rows and the fonts they use.
    struct PicturePlan {
        StemCanvas* Canvas = nullptr;
        PatternBoxes* Boxes = nullptr;
        const PatternResult* Result = nullptr; // nothing to label without a stored optimum
        bool Optimal = false;
        ComparisonPicture Picture;
        double AcrossScale = 1.0; // of the stem, while it fits the window
        LabelRows Rows;
        std::vector<LabelSize> Sizes; // of the labels in the font taken
        LabelRows CostRows;           // the cut costs' rows (the bucker's, with coaching)
        std::vector<LabelSize> CostSizes;
        int LegendHeight = 0; // 0 without coaching
    };

    void ReturnClick();
    void Rotate(bool optimal, int step);
    void Place();
    void LayOutBars();
    std::vector<PicturePlan> Plan(int width);
    PicturePlan PlanPicture(StemCanvas* canvas, PatternBoxes& boxes, const PatternResult* result,
                            bool optimal, int width);
    void Redraw();
    void ShowPattern(const PicturePlan& plan);
    void ShowMissingOptimum(const PicturePlan& plan);
    void ShowCoaching(const PicturePlan& plan);
    void ClearCoaching();
    void ClearBoxes(PatternBoxes& boxes);
    QLabel* CostLabel(std::size_t index);
    void PlanCoaching(PicturePlan& plan, const PictureMapping& mapping, int width);
    // Opens "Why This Grade" for piece `piece` (from 1) of a pattern, when coaching is in force.
    void ShowWhy(bool optimal, int piece);
    bool ClickedPicture(StemCanvas* canvas, QPointF at);
    std::vector<Figure> BuckerFigures() const;
    QListWidget* LabelBox(PatternBoxes& boxes, StemCanvas* canvas, std::size_t index, bool optimal);

    QWidget* top_;
    QLineEdit* treeField_;
    QWidget* optimalUp_;
    QWidget* optimalDown_;
    QScrollArea* scroll_;
    QWidget* pictures_;
    StemCanvas* optimalCanvas_;
    StemCanvas* buckerCanvas_;
    StatusPanel* status_;
    PatternBoxes optimalBoxes_;
    PatternBoxes buckerBoxes_;
    std::vector<QLabel*> costLabels_; // on the bucker's picture, by inner cut
    QLabel* legend_;
    TWhyThisGradeForm* why_;
    StemExtent extent_;             // of the stem shown
    std::vector<QFont> labelFonts_; // the designed font first, down to the smallest readable
    std::optional<ComparisonContent> content_;
    bool withOptimal_ = true;
    int optimalRotation_ = 1;
    int buckerRotation_ = 1;
    bool fit_ = false;
    int pictureRoom_ = 0; // pixels of height each picture may fill while fitting the stem
};

} // namespace varnok::app
