#include "app/TreeGradingForm.h"

#include "app/ErrorBox.h"
#include "app/SelectTreeForm.h"
#include "tree/TreeLoad.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace varnok::app {
namespace {

const char* const kDesignHeading = "The Butt Log Tree Grade Is";
// The longest heading the dialog shows, which sets its fixed width.
const char* const kWidestHeading = "The Butt Log Tree Grade For Tree 150 Is";

QLabel* CentredLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* AddButton(QWidget* parent, QHBoxLayout* layout, const char* name,
                       const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

} // namespace

TTreeGradingForm::TTreeGradingForm(QWidget* parent) : ClosableDialog(parent) {
    setObjectName("TTreeGradingForm");
    setWindowTitle("Butt Log Tree Grading");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 8, 24, 20);
    layout->addWidget(CentredLabel(this, "Label3", ""));
    heading_ = CentredLabel(this, "Label2", kDesignHeading);
    heading_->setMinimumWidth(heading_->fontMetrics().horizontalAdvance(kWidestHeading));
    layout->addWidget(heading_);
    grade_ = CentredLabel(this, "Label1", "");
    QFont large = grade_->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    grade_->setFont(large);
    layout->addWidget(grade_);
    layout->addSpacing(12);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    QPushButton* another = AddButton(this, buttons, "Button2", "Grade Another Tree");
    QPushButton* market = AddButton(this, buttons, "Button3", "Choose A New Market");
    QPushButton* exit = AddButton(this, buttons, "Button1", "Exit Tree Grading");
    // Fixed at the size of the widest heading, so the dialog never changes size with the tree.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(another, &QPushButton::clicked, this, &TTreeGradingForm::AnotherTreeClicked);
    connect(market, &QPushButton::clicked, this, &TTreeGradingForm::NewMarketClicked);
    connect(exit, &QPushButton::clicked, this, &TTreeGradingForm::ExitClicked);
}

void TTreeGradingForm::ShowGrade(int treeNumber, const ButtLogGrade& grade) {
    heading_->setText("The Butt Log Tree Grade For Tree " + QString::number(treeNumber) + " Is");
    grade_->setText(QString::fromStdString(ButtLogGradeText(grade.Code)));
    adjustSize();
    if (const QWidget* window = parentWidget()) {
        move(window->geometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

TreeGradingMode::TreeGradingMode(const DataFolder& data, QWidget* window, TSelectTreeForm* trees,
                                 std::vector<QWidget*> controls)
    : QObject(window), data_(data), trees_(trees), controls_(std::move(controls)),
      form_(new TTreeGradingForm(window)) {
    connect(form_, &TTreeGradingForm::AnotherTreeClicked, this, [this] {
        form_->hide();
        trees_->show();
        trees_->raise();
        trees_->activateWindow();
    });
    connect(form_, &TTreeGradingForm::NewMarketClicked, this, [this] {
        form_->hide();
        emit MarketWanted();
    });
    connect(form_, &TTreeGradingForm::ExitClicked, this, &TreeGradingMode::End);
    connect(form_, &TTreeGradingForm::Closed, this, &TreeGradingMode::End);
}

void TreeGradingMode::Start() {
    on_ = true;
    SetControlsEnabled(false);
    trees_->SetGrading(true);
}

void TreeGradingMode::Grade(const Market& market, int treeNumber) {
    ButtLogGrade grade;
    const bool graded = Guarded(trees_, [&] {
        const std::unique_ptr<Tree> tree = LoadTree(data_, treeNumber, market.Filter);
        grade = GradeButtLog(*tree, market);
    });
    if (!graded) {
        return;
    }
    trees_->hide();
    form_->ShowGrade(treeNumber, grade);
}

void TreeGradingMode::End() {
    if (!on_) {
        return;
    }
    on_ = false;
    form_->hide();
    trees_->SetGrading(false);
    SetControlsEnabled(true);
    emit Ended();
}

void TreeGradingMode::SetControlsEnabled(bool enabled) {
    for (QWidget* control : controls_) {
        control->setEnabled(enabled);
    }
}

} // namespace varnok::app
