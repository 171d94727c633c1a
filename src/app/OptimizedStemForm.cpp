#include "app/OptimizedStemForm.h"

#include "app/StemCanvas.h"
#include "app/WhyThisGradeForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace varnok::app {
namespace {

constexpr int kBarHeight = 46;
constexpr int kStatusHeight = 60;
constexpr int kLabelHeight = 100; // the designed label box, six lines
constexpr int kLabelLines = 6;
constexpr int kLabelFrame = 4;       // pixels of a label box beyond its lines
constexpr int kLabelTextMargin = 12; // pixels of a box beyond its widest line
constexpr int kLabelGap = 8;         // pixels kept free between two labels of a row
constexpr int kLabelRowGap = 4;
constexpr int kPreferredLabelRows = 2; // before the labels take a smaller font
constexpr qreal kSmallestLabelPoints = 7.0;
constexpr int kDollarHeight = 17;
constexpr int kNetHeight = kDollarHeight + 4;
constexpr std::size_t kNamedLabels = 15; // label boxes per pattern with designed names
constexpr int kCostRowsPreferred = 2;
constexpr int kCostTextMargin = 8;
constexpr int kCostsAboveLegend = 4;
constexpr int kProposedCutReach = 6; // pixels the dashed cuts reach beyond the stem
constexpr int kClickReach = 6;       // pixels beside the stem a click still counts as on it

const char* const kBoxStyle = "background: black; color: rgb(192, 192, 192); border: none;";
// A label box the keyboard can reach shows where the focus is.
const char* const kFocusBoxStyle =
    "QListWidget { background: black; color: rgb(192, 192, 192); border: none; }"
    "QListWidget:focus { border: 1px solid rgb(255, 255, 0); }";
const QColor kSilver(192, 192, 192);
const QColor kCostliestRed(255, 64, 64);

QPushButton* AddButton(QWidget* bar, QHBoxLayout* layout, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, bar);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

int HalfRounded(double x) {
    return static_cast<int>(std::nearbyint(x * 0.5));
}

// The label fonts from the designed one (bold, the desktop's size) down to the smallest that
// still reads well, a point at a time.
std::vector<QFont> LabelFonts() {
    QFont font = QApplication::font();
    font.setBold(true);
    std::vector<QFont> fonts = {font};
    for (qreal points = font.pointSizeF() - 1.0; points >= kSmallestLabelPoints; points -= 1.0) {
        font.setPointSizeF(points);
        fonts.push_back(font);
    }
    return fonts;
}

// A label's box in `font`: its widest line and six lines; the designed font keeps at least the
// designed size.
LabelSize MeasureLabel(const LogLabel& label, const QFont& font, bool designed) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const std::string& line : label.Lines) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line)));
    }
    LabelSize size{widest + kLabelTextMargin, kLabelLines * metrics.lineSpacing() + kLabelFrame};
    if (designed) {
        size.Width = std::max(size.Width, label.MinimumWidth);
        size.Height = std::max(size.Height, kLabelHeight);
    }
    return size;
}

// A line centred over the picture: the returns, or the words why there is no optimum.
void PlaceCentred(QLabel* line, const QString& text, int pictureWidth, int top, int height) {
    line->setText(text);
    const int textWidth = QFontMetrics(line->font()).horizontalAdvance(text) + 8;
    const int lineWidth = std::min(textWidth, std::max(pictureWidth - 16, 1));
    line->setWordWrap(lineWidth < textWidth);
    line->setFixedSize(lineWidth, height);
    line->move(HalfRounded(pictureWidth - lineWidth), top);
    line->show();
}

// A cut's cost in `font`: one line, a margin each side.
LabelSize MeasureCost(const CutCostLabel& cost, const QFont& font) {
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QString::fromStdString(cost.Text)) + kCostTextMargin,
            metrics.height() + 2};
}

int WrappedHeight(const QFont& font, const std::string& text, int width) {
    const QRect words = QFontMetrics(font).boundingRect(QRect(0, 0, std::max(width - 16, 1), 0),
                                                        Qt::TextWordWrap | Qt::AlignHCenter,
                                                        QString::fromStdString(text));
    return words.height() + 2;
}

int Sum(const std::vector<int>& values) {
    return std::accumulate(values.begin(), values.end(), 0);
}

} // namespace

TOptimizedStemForm::TOptimizedStemForm(QWidget* parent)
    : QWidget(parent, Qt::Window), labelFonts_(LabelFonts()) {
    setObjectName("TOptimizedStemForm");
    setWindowTitle("Comparison With Optimal Solution");
    resize(1024, 329 + kBarHeight);

    // The pictures paint themselves black; the bars keep the desktop's colours.
    top_ = new QWidget(this);
    top_->setObjectName("Panel1");
    auto* bar = new QHBoxLayout(top_);
    bar->setContentsMargins(8, 4, 8, 4);
    auto* treeLabel = new QLabel("Tree", top_);
    treeLabel->setObjectName("Label9");
    treeField_ = new QLineEdit(top_);
    treeField_->setObjectName("Edit9");
    treeField_->setReadOnly(true);
    treeField_->setFocusPolicy(Qt::NoFocus);
    treeField_->setMaximumWidth(60);
    bar->addWidget(treeLabel);
    bar->addWidget(treeField_);
    QPushButton* back = AddButton(top_, bar, "Button1", "&Return");
    QPushButton* buckerUp = AddButton(top_, bar, "BuckerRotateUp", "&UP Bucker");
    QPushButton* buckerDown = AddButton(top_, bar, "BuckerRotateDown", "&Down Bucker");
    QPushButton* optimalUp = AddButton(top_, bar, "OptimalRotateUp", "U&P Optimal");
    QPushButton* optimalDown = AddButton(top_, bar, "OptimalRotateDown", "D&own Optimal");
    bar->addStretch(1);
    optimalUp_ = optimalUp;
    optimalDown_ = optimalDown;

    // Both pictures scroll together when the window is not high enough for them; along the
    // stem they never need to, since each stem is fitted to the width.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("PictureArea");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(false);
    QPalette black = scroll_->viewport()->palette();
    black.setColor(QPalette::Window, Qt::black);
    scroll_->viewport()->setPalette(black);
    scroll_->viewport()->setAutoFillBackground(true);
    pictures_ = new QWidget(scroll_);
    pictures_->setObjectName("Pictures");
    optimalCanvas_ = new StemCanvas(StemPicture::Comparison, pictures_);
    optimalCanvas_->setObjectName("OptimizedStemImageBox");
    buckerCanvas_ = new StemCanvas(StemPicture::Comparison, pictures_);
    buckerCanvas_->setObjectName("BuckerStemImageBox");
    scroll_->setWidget(pictures_);
    status_ = new StatusPanel(
        {"Edit1", "Edit3", "Edit5", "Edit7", "Edit2", "Edit4", "Edit6", "Edit8"}, this);
    status_->setObjectName("Panel2");

    optimalBoxes_.Dollar = new QLabel(optimalCanvas_);
    optimalBoxes_.Dollar->setObjectName("OptDollar");
    buckerBoxes_.Dollar = new QLabel(buckerCanvas_);
    buckerBoxes_.Dollar->setObjectName("BuckDollar");
    optimalBoxes_.Net = new QListWidget(optimalCanvas_);
    optimalBoxes_.Net->setObjectName("ListBox32");
    buckerBoxes_.Net = new QListWidget(buckerCanvas_);
    buckerBoxes_.Net->setObjectName("ListBox33");
    legend_ = new QLabel(buckerCanvas_);
    legend_->setObjectName("CoachLegend");
    legend_->setStyleSheet(kBoxStyle);
    legend_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    legend_->hide();
    why_ = new TWhyThisGradeForm(this);
    optimalCanvas_->installEventFilter(this);
    buckerCanvas_->installEventFilter(this);
    for (PatternBoxes* boxes : {&optimalBoxes_, &buckerBoxes_}) {
        boxes->Dollar->setStyleSheet(kBoxStyle);
        boxes->Dollar->setFont(labelFonts_.front());
        boxes->Dollar->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        boxes->Dollar->hide();
        boxes->Net->setStyleSheet(kBoxStyle);
        boxes->Net->setFont(labelFonts_.front());
        boxes->Net->setFixedHeight(kNetHeight);
        boxes->Net->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        boxes->Net->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        boxes->Net->setFocusPolicy(Qt::NoFocus);
        boxes->Net->hide();
    }

    connect(back, &QPushButton::clicked, this, &TOptimizedStemForm::ReturnClick);
    connect(buckerUp, &QPushButton::clicked, this, [this] { Rotate(false, 1); });
    connect(buckerDown, &QPushButton::clicked, this, [this] { Rotate(false, -1); });
    connect(optimalUp, &QPushButton::clicked, this, [this] { Rotate(true, 1); });
    connect(optimalDown, &QPushButton::clicked, this, [this] { Rotate(true, -1); });
}

void TOptimizedStemForm::Present(ComparisonContent content, const StatusPanel& status,
                                 int rotation) {
    content_ = std::move(content);
    why_->hide();
    extent_ = content_->View != nullptr ? VerticalExtent(*content_->View) : StemExtent{};
    optimalRotation_ = rotation;
    buckerRotation_ = rotation;
    withOptimal_ = content_->Mode != GameMode::Buck;
    setWindowTitle(withOptimal_ ? "Comparison With Optimal Solution" : "Bucking Results");
    treeField_->setText(QString::number(content_->TreeNumber));
    status_->CopyFrom(status);
    optimalCanvas_->setVisible(withOptimal_);
    optimalUp_->setVisible(withOptimal_);
    optimalDown_->setVisible(withOptimal_);
    Place();
}

// Lays the pictures out in the window's size: first at the full width; when they need more
// height than there is, again beside the scroll bar that then appears.
void TOptimizedStemForm::Place() {
    LayOutBars();
    ClearBoxes(optimalBoxes_);
    ClearBoxes(buckerBoxes_);
    ClearCoaching();
    if (!content_ || content_->View == nullptr) {
        Redraw();
        return;
    }
    const auto needs = [](const std::vector<PicturePlan>& plans) {
        std::vector<int> heights;
        for (const PicturePlan& plan : plans) {
            heights.push_back(plan.Picture.Height);
        }
        return heights;
    };
    const int available = scroll_->height();
    pictureRoom_ = available / (withOptimal_ ? 2 : 1);
    int width = scroll_->width();
    std::vector<PicturePlan> plans = Plan(width);
    if (Sum(needs(plans)) > available) {
        width -=
            style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_->verticalScrollBar());
        width = std::max(width, 1);
        plans = Plan(width);
    }
    const std::vector<int> heights = StackPictures(needs(plans), available);
    pictures_->resize(width, Sum(heights));
    int y = 0;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        plans[i].Canvas->setGeometry(0, y, width, heights[i]);
        plans[i].Canvas->SetFitStem(fit_);
        plans[i].Canvas->SetAcrossCap(plans[i].AcrossScale);
        plans[i].Canvas->SetStemRow(plans[i].Picture.StemRow);
        y += heights[i];
    }
    Redraw();
    for (const PicturePlan& plan : plans) {
        if (plan.Result != nullptr) {
            ShowPattern(plan);
        } else {
            ShowMissingOptimum(plan);
        }
    }
}

void TOptimizedStemForm::LayOutBars() {
    top_->setGeometry(0, 0, width(), kBarHeight);
    status_->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
    scroll_->setGeometry(0, kBarHeight, width(),
                         std::max(height() - kBarHeight - kStatusHeight, 0));
}

std::vector<TOptimizedStemForm::PicturePlan> TOptimizedStemForm::Plan(int width) {
    std::vector<PicturePlan> plans;
    if (withOptimal_) {
        plans.push_back(PlanPicture(optimalCanvas_, optimalBoxes_,
                                    content_->OptimalStored ? &content_->Optimal : nullptr, true,
                                    width));
    }
    plans.push_back(PlanPicture(buckerCanvas_, buckerBoxes_, &content_->Bucker, false, width));
    return plans;
}

TOptimizedStemForm::PicturePlan TOptimizedStemForm::PlanPicture(StemCanvas* canvas,
                                                                PatternBoxes& boxes,
                                                                const PatternResult* result,
                                                                bool optimal, int width) {
    PicturePlan plan;
    plan.Canvas = canvas;
    plan.Boxes = &boxes;
    plan.Result = result;
    plan.Optimal = optimal;
    const StemView& view = *content_->View;
    const PictureMapping mapping = fit_ ? FillStem(view, width, kStemMargin, 0.0, 0.0, 1.0)
                                        : FitStem(view, width, kStemMargin, 0.0, 0.0);
    int returnsHeight = kDollarHeight;
    int netHeight = 0;
    if (result == nullptr) {
        // The words why there is no optimum wrap to the window's width.
        returnsHeight = std::max(
            kDollarHeight, WrappedHeight(boxes.Dollar->font(), content_->OptimalMissing, width));
    } else if (!result->Labels.empty()) {
        netHeight = result->NetLine ? kNetHeight : 0;
        std::vector<double> centres;
        for (const LogLabel& label : result->Labels) {
            centres.push_back(mapping.ToWidgetX(label.X));
        }
        std::vector<std::vector<LabelSize>> sizes(labelFonts_.size());
        for (std::size_t f = 0; f < labelFonts_.size(); ++f) {
            for (const LogLabel& label : result->Labels) {
                sizes[f].push_back(MeasureLabel(label, labelFonts_[f], f == 0));
            }
        }
        plan.Rows =
            LayOutLabels(centres, sizes, width, kLabelGap, kLabelRowGap, kPreferredLabelRows);
        plan.Sizes = std::move(sizes[plan.Rows.Font]);
    }
    if (!optimal && content_->Coaching) {
        PlanCoaching(plan, mapping, width);
    }
    const int coachingHeight = plan.LegendHeight == 0
                                   ? 0
                                   : plan.CostRows.Height +
                                         (plan.CostRows.Rows > 0 ? kCostsAboveLegend : 0) +
                                         plan.LegendHeight;
    plan.Picture = LayOutComparisonPicture(returnsHeight, netHeight, coachingHeight,
                                           plan.Rows.Height, extent_);
    const int reach = extent_.Above + extent_.Below;
    if (fit_ && reach > 0) {
        // Enlarged across by the factor along it, as far as the picture's share of the room.
        const double cap = AcrossCap(reach, 0.0, reach + pictureRoom_ - plan.Picture.Height, 0.0);
        plan.AcrossScale = FillStem(view, width, kStemMargin, 0.0, 0.0, cap).ScaleY;
        const StemExtent enlarged{static_cast<int>(std::ceil(extent_.Above * plan.AcrossScale)),
                                  static_cast<int>(std::ceil(extent_.Below * plan.AcrossScale))};
        plan.Picture = LayOutComparisonPicture(returnsHeight, netHeight, coachingHeight,
                                               plan.Rows.Height, enlarged);
    }
    return plan;
}

// The cut costs take the label fonts, in rows where they would touch, over the legend.
void TOptimizedStemForm::PlanCoaching(PicturePlan& plan, const PictureMapping& mapping, int width) {
    const ComparisonCoaching& coaching = *content_->Coaching;
    std::vector<double> centres;
    for (const CutCostLabel& cost : coaching.CutCosts) {
        centres.push_back(mapping.ToWidgetX(cost.X));
    }
    std::vector<std::vector<LabelSize>> sizes(labelFonts_.size());
    for (std::size_t f = 0; f < labelFonts_.size(); ++f) {
        for (const CutCostLabel& cost : coaching.CutCosts) {
            sizes[f].push_back(MeasureCost(cost, labelFonts_[f]));
        }
    }
    plan.CostRows =
        LayOutLabels(centres, sizes, width, kLabelGap, kLabelRowGap, kCostRowsPreferred);
    plan.CostSizes = std::move(sizes[plan.CostRows.Font]);
    plan.LegendHeight =
        std::max(kDollarHeight, WrappedHeight(legend_->font(), coaching.Legend, width));
}

void TOptimizedStemForm::SetFitStem(bool fit) {
    fit_ = fit;
    if (isVisible()) {
        Place();
    }
}

void TOptimizedStemForm::Redraw() {
    if (!content_ || content_->View == nullptr) {
        return;
    }
    const StemView& view = *content_->View;
    buckerCanvas_->Show(view, BuckerFigures());
    if (content_->Mode != GameMode::Buck) {
        optimalCanvas_->Show(view, StemFigures(view, optimalRotation_, StemPicture::Comparison,
                                               content_->OptimalPixels, content_->OptimalInches));
    }
}

QListWidget* TOptimizedStemForm::LabelBox(PatternBoxes& boxes, StemCanvas* canvas,
                                          std::size_t index, bool optimal) {
    while (boxes.Labels.size() <= index) {
        const std::size_t number = boxes.Labels.size() + 1;
        auto* box = new QListWidget(canvas);
        const QString name =
            number <= kNamedLabels
                ? "ListBox" + QString::number(optimal ? number : number + kNamedLabels)
                : QString(optimal ? "OptimalLabel" : "BuckerLabel") + QString::number(number);
        box->setObjectName(name);
        box->setStyleSheet(kBoxStyle);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setFocusPolicy(Qt::NoFocus);
        box->setSelectionMode(QAbstractItemView::NoSelection);
        box->installEventFilter(this);
        box->viewport()->installEventFilter(this);
        box->hide();
        boxes.Labels.push_back(box);
    }
    return boxes.Labels[index];
}

std::vector<Figure> TOptimizedStemForm::BuckerFigures() const {
    const StemView& view = *content_->View;
    std::vector<Figure> figures = StemFigures(view, buckerRotation_, StemPicture::Comparison,
                                              content_->BuckerPixels, content_->BuckerInches);
    if (content_->Coaching) {
        std::vector<Figure> proposed =
            ProposedCutFigures(view, extent_.Above, extent_.Below,
                               content_->Coaching->AddedCutPixels, kProposedCutReach);
        figures.insert(figures.end(), proposed.begin(), proposed.end());
    }
    return figures;
}

QLabel* TOptimizedStemForm::CostLabel(std::size_t index) {
    while (costLabels_.size() <= index) {
        auto* label = new QLabel(buckerCanvas_);
        label->setObjectName("CutCost" + QString::number(costLabels_.size() + 1));
        label->setAlignment(Qt::AlignCenter);
        label->hide();
        costLabels_.push_back(label);
    }
    return costLabels_[index];
}

void TOptimizedStemForm::ShowCoaching(const PicturePlan& plan) {
    const ComparisonCoaching& coaching = *content_->Coaching;
    const QFont& font = labelFonts_[plan.CostRows.Font];
    for (std::size_t i = 0; i < coaching.CutCosts.size(); ++i) {
        const CutCostLabel& cost = coaching.CutCosts[i];
        QLabel* label = CostLabel(i);
        label->setText(QString::fromStdString(cost.Text));
        label->setFont(font);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, cost.Costliest ? kCostliestRed : kSilver);
        label->setPalette(colours);
        const LabelPlace& place = plan.CostRows.Places[i];
        label->setFixedSize(plan.CostSizes[i].Width, plan.CostSizes[i].Height);
        label->move(place.Left, plan.Picture.CoachingTop + place.Top);
        label->show();
    }
    const int legendTop = plan.Picture.CoachingTop + plan.CostRows.Height +
                          (plan.CostRows.Rows > 0 ? kCostsAboveLegend : 0);
    PlaceCentred(legend_, QString::fromStdString(coaching.Legend), plan.Canvas->width(), legendTop,
                 plan.LegendHeight);
}

void TOptimizedStemForm::ClearCoaching() {
    for (QLabel* label : costLabels_) {
        label->clear();
        label->hide();
    }
    legend_->clear();
    legend_->hide();
}

void TOptimizedStemForm::ShowMissingOptimum(const PicturePlan& plan) {
    PlaceCentred(plan.Boxes->Dollar, QString::fromStdString(content_->OptimalMissing),
                 plan.Canvas->width(), plan.Picture.ReturnsTop,
                 plan.Picture.NetTop - plan.Picture.ReturnsTop);
}

void TOptimizedStemForm::ShowPattern(const PicturePlan& plan) {
    const PatternResult& result = *plan.Result;
    PatternBoxes& boxes = *plan.Boxes;
    if (!plan.Optimal && content_->Coaching) {
        ShowCoaching(plan);
    }
    if (!result.ReturnsLine) {
        return;
    }
    PlaceCentred(boxes.Dollar, QString::fromStdString(*result.ReturnsLine), plan.Canvas->width(),
                 plan.Picture.ReturnsTop, kDollarHeight);
    const QFont& font = labelFonts_[plan.Rows.Font];
    const int lineHeight = QFontMetrics(font).lineSpacing();
    for (std::size_t i = 0; i < result.Labels.size(); ++i) {
        const LogLabel& label = result.Labels[i];
        const LabelSize& size = plan.Sizes[i];
        const LabelPlace& place = plan.Rows.Places[i];
        QListWidget* box = LabelBox(boxes, plan.Canvas,
                                    static_cast<std::size_t>(label.LogIndex - 1), plan.Optimal);
        box->clear();
        box->setFont(font);
        for (const std::string& line : label.Lines) {
            auto* item = new QListWidgetItem(QString::fromStdString(line), box);
            item->setSizeHint(QSize(size.Width, lineHeight));
        }
        box->setFixedSize(size.Width, size.Height);
        box->move(place.Left, plan.Picture.LabelsTop + place.Top);
        // With coaching a label opens why its log took its grade, by the mouse or the keyboard.
        const bool explains = content_->Coaching.has_value();
        box->setStyleSheet(explains ? kFocusBoxStyle : kBoxStyle);
        box->setFocusPolicy(explains ? Qt::StrongFocus : Qt::NoFocus);
        box->setCursor(explains ? Qt::PointingHandCursor : Qt::ArrowCursor);
        box->show();
    }
    if (result.NetLine) {
        boxes.Net->clear();
        boxes.Net->addItem(QString::fromStdString(*result.NetLine));
        const QFontMetrics metrics(boxes.Net->font());
        const int netWidth = std::max(result.NetLineMinimumWidth,
                                      metrics.horizontalAdvance(boxes.Net->item(0)->text()) + 12);
        boxes.Net->setFixedWidth(netWidth);
        boxes.Net->move(HalfRounded(plan.Canvas->width() - netWidth), plan.Picture.NetTop);
        boxes.Net->show();
    }
}

void TOptimizedStemForm::ClearBoxes(PatternBoxes& boxes) {
    boxes.Dollar->clear();
    boxes.Dollar->hide();
    boxes.Net->clear();
    boxes.Net->hide();
    for (QListWidget* box : boxes.Labels) {
        box->clear();
        box->hide();
    }
}

void TOptimizedStemForm::Rotate(bool optimal, int step) {
    int& rotation = optimal ? optimalRotation_ : buckerRotation_;
    rotation = (rotation - 1 + step + kRotationSteps) % kRotationSteps + 1;
    Redraw();
}

void TOptimizedStemForm::ShowWhy(bool optimal, int piece) {
    if (!content_ || !content_->Coaching || (optimal && !content_->OptimalStored)) {
        return;
    }
    const PatternResult& result = optimal ? content_->Optimal : content_->Bucker;
    const std::vector<EvaluatedPiece>& pieces = result.Evaluation.Pieces;
    if (piece < 1 || piece > static_cast<int>(pieces.size())) {
        return;
    }
    why_->Present(ExplainPiece(optimal ? Solution::Optimal : Solution::Bucker,
                               pieces[static_cast<std::size_t>(piece - 1)]));
}

// A click on the stem, or just beside it, opens the log under it.
bool TOptimizedStemForm::ClickedPicture(StemCanvas* canvas, QPointF at) {
    const bool optimal = canvas == optimalCanvas_;
    if (!canvas->HasStem() || (optimal && !content_->OptimalStored)) {
        return false;
    }
    const PictureMapping& mapping = canvas->Mapping();
    // Measured on the stem as drawn, which a fitted picture enlarges across.
    const double offset = at.y() - mapping.WidgetRowY;
    const double above = extent_.Above * mapping.ScaleY;
    const double below = extent_.Below * mapping.ScaleY;
    if (offset < -(above + kClickReach) || offset > below + kClickReach) {
        return false;
    }
    const int piece = PieceAtX(optimal ? content_->OptimalInches : content_->BuckerInches,
                               content_->View->ButtX, mapping.ToPictureX(at.x()));
    if (piece == 0) {
        return false;
    }
    ShowWhy(optimal, piece);
    return true;
}

bool TOptimizedStemForm::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    const bool key = event->type() == QEvent::KeyPress &&
                     (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter ||
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
    if (!content_ || !content_->Coaching || (!press && !key)) {
        return QWidget::eventFilter(watched, event);
    }
    if (press && (watched == optimalCanvas_ || watched == buckerCanvas_)) {
        if (ClickedPicture(static_cast<StemCanvas*>(watched),
                           static_cast<QMouseEvent*>(event)->position())) {
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    for (PatternBoxes* boxes : {&optimalBoxes_, &buckerBoxes_}) {
        for (std::size_t i = 0; i < boxes->Labels.size(); ++i) {
            QListWidget* box = boxes->Labels[i];
            if (watched == box || (press && watched == box->viewport())) {
                box->setFocus(Qt::MouseFocusReason);
                ShowWhy(boxes == &optimalBoxes_, static_cast<int>(i) + 1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TOptimizedStemForm::ReturnClick() {
    hide();
    why_->hide();
    ClearBoxes(optimalBoxes_);
    ClearBoxes(buckerBoxes_);
    ClearCoaching();
    content_.reset();
    optimalCanvas_->Clear();
    buckerCanvas_->Clear();
    emit Returned();
}

void TOptimizedStemForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    ReturnClick();
}

void TOptimizedStemForm::resizeEvent(QResizeEvent*) {
    Place();
}

} // namespace varnok::app
