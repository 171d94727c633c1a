#include "app/grading/GradingRuleViewer.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "support/Files.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kGradeColumns = 3;
constexpr int kCellPadding = 12; // pixels beside a cell's text, both sides together

// A step of the dialog: its bold number, then what the user does.
QHBoxLayout* StepRow(const char* number, QWidget* what, QWidget* parent) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(number, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    row->addWidget(label);
    row->addWidget(what);
    row->addStretch(1);
    return row;
}

} // namespace

GradingRuleViewer::GradingRuleViewer(std::filesystem::path folder, const Texts& texts,
                                     QWidget* parent)
    : ClosableDialog(parent), texts_(texts) {
    setObjectName(texts.ClassName);
    setWindowTitle(texts.Caption);
    auto* layout = new QVBoxLayout(this);
    // The grid decides the width; the dialog follows it as grades of other sizes are shown.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    layout->addLayout(StepRow("1)", new QLabel(texts.SelectStep, this), this));
    list_ = new RuleFileList(std::move(folder), this);
    list_->setObjectName("ListBox1");
    list_->setFixedHeight(list_->fontMetrics().height() * 6);
    layout->addWidget(list_);

    view_ = new QPushButton(texts.ViewButton, this);
    view_->setObjectName("Button1");
    view_->setDefault(true);
    layout->addLayout(StepRow("2)", view_, this));

    gradeBox_ = new QGroupBox(texts.GradeCaption, this);
    gradeBox_->setObjectName("RadioGroup1");
    gradeLayout_ = new QGridLayout(gradeBox_);
    grades_ = new QButtonGroup(this);
    layout->addWidget(gradeBox_);

    grid_ = new QTableWidget(this);
    grid_->setObjectName("StringGrid1");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(grid_);

    exit_ = new QPushButton("Exit Viewer", this);
    exit_->setObjectName("Button2");
    exit_->setAutoDefault(false);
    layout->addLayout(StepRow("3)", exit_, this));

    connect(view_, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Button1Click(); });
    connect(grades_, &QButtonGroup::idClicked, this,
            [this](int grade) { Guarded(this, [&] { FillGrid(grade); }); });
    connect(exit_, &QPushButton::clicked, this, &QWidget::close);
    connect(this, &ClosableDialog::Closed, this, [this] {
        std::vector<GradeItem> left;
        if (texts_.GradeLeftOnExit != nullptr) {
            left.push_back({1, texts_.GradeLeftOnExit});
        }
        SetGrades(left);
    });
}

void GradingRuleViewer::ShowFile(const QString& name) {
    if (isVisible()) {
        list_->Refresh();
    } else {
        show();
    }
    raise();
    activateWindow();
    // A market names its rule file by its exact name, else by a single case-insensitive match.
    const std::string file = FindEntry(list_->Folder(), name.toStdString()).filename().string();
    list_->Select(file);
    View(file);
}

void GradingRuleViewer::showEvent(QShowEvent* event) {
    // A window restored from the task bar keeps what it showed.
    if (event->spontaneous()) {
        ClosableDialog::showEvent(event);
        return;
    }
    // An exclusive group keeps its checked button checked.
    grades_->setExclusive(false);
    for (QAbstractButton* button : grades_->buttons()) {
        button->setChecked(false);
    }
    grades_->setExclusive(true);
    gradeBox_->setEnabled(false);
    EmptyGrid();
    grid_->setEnabled(false);
    ClosableDialog::showEvent(event);
}

void GradingRuleViewer::Button1Click() {
    if (const std::optional<std::string> name = list_->Selected()) {
        View(*name);
    }
}

void GradingRuleViewer::View(const std::string& name) {
    std::vector<GradeItem> grades;
    const bool read = Guarded(this, [&] { grades = ReadRules(list_->Folder() / name); });
    if (!read || grades.empty()) {
        ShowNothing();
        return;
    }
    gradeBox_->setEnabled(true);
    grid_->setEnabled(true);
    SetGrades(grades);
    grades_->button(grades.front().Grade)->setChecked(true);
    Guarded(this, [&] { FillGrid(grades.front().Grade); });
}

void GradingRuleViewer::ShowNothing() {
    SetGrades({});
    gradeBox_->setEnabled(false);
    EmptyGrid();
    grid_->setEnabled(false);
}

void GradingRuleViewer::SetGrades(const std::vector<GradeItem>& grades) {
    for (QAbstractButton* button : grades_->buttons()) {
        grades_->removeButton(button);
        delete button;
    }
    QWidget* previous = view_;
    for (std::size_t i = 0; i < grades.size(); ++i) {
        auto* button = new QRadioButton(grades[i].Caption, gradeBox_);
        const int position = static_cast<int>(i);
        gradeLayout_->addWidget(button, position / kGradeColumns, position % kGradeColumns);
        grades_->addButton(button, grades[i].Grade);
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, grid_);
    setTabOrder(grid_, exit_);
}

void GradingRuleViewer::WriteCells(const std::vector<std::vector<std::string>>& texts) {
    grid_->clearContents();
    for (std::size_t row = 0; row < texts.size(); ++row) {
        for (std::size_t column = 0; column < texts[row].size(); ++column) {
            auto* item = new QTableWidgetItem(QString::fromStdString(texts[row][column]));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (column == 0) {
                item->setBackground(palette().button());
            }
            grid_->setItem(static_cast<int>(row), static_cast<int>(column), item);
        }
    }
}

int GradingRuleViewer::CellWidth(const QString& text) const {
    return grid_->fontMetrics().horizontalAdvance(text) + kCellPadding;
}

void GradingRuleViewer::FitColumns(const std::vector<int>& widths, int rowHeight) {
    int total = 0;
    for (int column = 0; column < grid_->columnCount(); ++column) {
        int width = column < static_cast<int>(widths.size()) ? widths[column] : widths.back();
        for (int row = 0; row < grid_->rowCount(); ++row) {
            if (const QTableWidgetItem* item = grid_->item(row, column)) {
                width = std::max(width, CellWidth(item->text()));
            }
        }
        grid_->setColumnWidth(column, width);
        total += width;
    }
    const int height = std::max(rowHeight, grid_->fontMetrics().height() + kCellPadding / 2);
    for (int row = 0; row < grid_->rowCount(); ++row) {
        grid_->setRowHeight(row, height);
    }
    const int frame = 2 * grid_->frameWidth();
    // On a screen too narrow for the widest text the grid scrolls sideways instead.
    const QScreen* screen = this->screen();
    const int room = screen != nullptr ? screen->availableGeometry().width() - 60 : total + frame;
    const int shownWidth = std::min(total + frame, room);
    const int scrollBar =
        shownWidth < total + frame ? grid_->horizontalScrollBar()->sizeHint().height() : 0;
    grid_->setFixedSize(shownWidth, height * grid_->rowCount() + frame + scrollBar);
}

} // namespace varnok::app
