#include "app/OptimizedStemForm.h"

#include "app/StemCanvas.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace varnok::app {
namespace {

constexpr int kBarHeight = 46;
constexpr int kStatusHeight = 60;
constexpr int kLabelHeight = 100;
constexpr int kDollarHeight = 17;
constexpr std::size_t kNamedLabels = 15; // label boxes per pattern with designed names

const char* const kBoxStyle =
    "background: black; color: rgb(192, 192, 192); border: none; font-weight: bold;";

QPushButton* AddButton(QWidget* bar, QHBoxLayout* layout, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, bar);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

int HalfRounded(double x) {
    return static_cast<int>(std::nearbyint(x * 0.5));
}

} // namespace

TOptimizedStemForm::TOptimizedStemForm(QWidget* parent) : QWidget(parent, Qt::Window) {
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

    optimalCanvas_ = new StemCanvas(StemPicture::Comparison, this);
    optimalCanvas_->setObjectName("OptimizedStemImageBox");
    buckerCanvas_ = new StemCanvas(StemPicture::Comparison, this);
    buckerCanvas_->setObjectName("BuckerStemImageBox");
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
    for (PatternBoxes* boxes : {&optimalBoxes_, &buckerBoxes_}) {
        boxes->Dollar->setStyleSheet(kBoxStyle);
        boxes->Dollar->setFixedHeight(kDollarHeight);
        boxes->Dollar->hide();
        boxes->Net->setStyleSheet(kBoxStyle);
        boxes->Net->setFixedHeight(kDollarHeight + 4);
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

// Lays the pictures out for the window's size and puts the labels under their logs.
void TOptimizedStemForm::Place() {
    LayOut();
    Redraw();
    ClearBoxes(optimalBoxes_);
    ClearBoxes(buckerBoxes_);
    if (!content_) {
        return;
    }
    if (withOptimal_) {
        if (content_->OptimalStored) {
            ShowPattern(optimalCanvas_, optimalBoxes_, content_->Optimal, true);
        } else {
            QLabel* dollar = optimalBoxes_.Dollar;
            dollar->setText(QString::fromStdString(content_->OptimalMissing));
            dollar->setFixedWidth(QFontMetrics(dollar->font()).horizontalAdvance(dollar->text()) +
                                  8);
            dollar->move(HalfRounded(width() - dollar->width()), 10);
            dollar->show();
        }
    }
    ShowPattern(buckerCanvas_, buckerBoxes_, content_->Bucker, false);
}

void TOptimizedStemForm::LayOut() {
    top_->setGeometry(0, 0, width(), kBarHeight);
    status_->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
    const int area = std::max(height() - kBarHeight - kStatusHeight, 0);
    if (withOptimal_) {
        const int half = HalfRounded(area);
        optimalCanvas_->setGeometry(0, kBarHeight, width(), half);
        buckerCanvas_->setGeometry(0, kBarHeight + half, width(), area - half);
    } else {
        buckerCanvas_->setGeometry(0, kBarHeight, width(), area);
    }
}

void TOptimizedStemForm::Redraw() {
    if (!content_ || content_->View == nullptr) {
        return;
    }
    const StemView& view = *content_->View;
    buckerCanvas_->Show(view, StemFigures(view, buckerRotation_, StemPicture::Comparison,
                                          content_->BuckerPixels, content_->BuckerInches));
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
        box->setFixedHeight(kLabelHeight);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setFocusPolicy(Qt::NoFocus);
        box->setSelectionMode(QAbstractItemView::NoSelection);
        box->hide();
        boxes.Labels.push_back(box);
    }
    return boxes.Labels[index];
}

void TOptimizedStemForm::ShowPattern(StemCanvas* canvas, PatternBoxes& boxes,
                                     const PatternResult& result, bool optimal) {
    if (!result.ReturnsLine) {
        return;
    }
    const QFontMetrics metrics(boxes.Dollar->font());
    boxes.Dollar->setText(QString::fromStdString(*result.ReturnsLine));
    boxes.Dollar->setFixedWidth(metrics.horizontalAdvance(boxes.Dollar->text()) + 8);
    boxes.Dollar->move(HalfRounded(canvas->width() - boxes.Dollar->width()), 10);
    boxes.Dollar->show();
    const int labelTop = boxes.Dollar->y() + kDollarHeight + 17;
    for (const LogLabel& label : result.Labels) {
        QListWidget* box =
            LabelBox(boxes, canvas, static_cast<std::size_t>(label.LogIndex - 1), optimal);
        box->clear();
        int widest = 0;
        for (const std::string& line : label.Lines) {
            box->addItem(QString::fromStdString(line));
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line)));
        }
        const int boxWidth = std::max(label.MinimumWidth, widest + 12);
        box->setFixedWidth(boxWidth);
        const double x = canvas->Mapping().ToWidgetX(label.X);
        box->move(static_cast<int>(std::lround(x)) - HalfRounded(boxWidth), labelTop);
        box->show();
    }
    if (result.NetLine) {
        boxes.Net->clear();
        boxes.Net->addItem(QString::fromStdString(*result.NetLine));
        const int netWidth = std::max(result.NetLineMinimumWidth,
                                      metrics.horizontalAdvance(boxes.Net->item(0)->text()) + 12);
        boxes.Net->setFixedWidth(netWidth);
        boxes.Net->move(HalfRounded(canvas->width() - netWidth), boxes.Dollar->y() + kDollarHeight);
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

void TOptimizedStemForm::ReturnClick() {
    hide();
    ClearBoxes(optimalBoxes_);
    ClearBoxes(buckerBoxes_);
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
