#include "app/tracking/TrackResultsForm.h"

#include "app/ErrorBox.h"
#include "app/print/Printing.h"
#include "app/tracking/SessionChart.h"
#include "market/Market.h"
#include "support/Errors.h"
#include "support/Files.h"
#include "tracking/TrackingSummary.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kCellPadding = 12; // pixels beside a cell's text

QPushButton* Button(QHBoxLayout* row, QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QComboBox* List(QHBoxLayout* row, QWidget* parent, const char* name, const char* caption) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(list);
    row->addWidget(label);
    row->addWidget(list);
    row->addSpacing(16);
    return list;
}

QTableWidget* Grid(QWidget* parent) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName("StringGrid1");
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setFrameShape(QFrame::NoFrame);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    return grid;
}

} // namespace

TTrackResultsForm::TTrackResultsForm(const DataFolder& data) : QWidget(nullptr), data_(data) {
    setObjectName("TTrackResultsForm");
    setWindowTitle("Results Of Bucking Session");
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    buckers_ = List(bar, this, "ComboBox1", "Bucker");
    results_ = List(bar, this, "ComboBox3", "Results");
    bar->addStretch(1);
    QPushButton* exportButton = Button(bar, this, "ExportButton", "&Export...");
    QPushButton* print = Button(bar, this, "PrintButton", "&Print...");
    QPushButton* done = Button(bar, this, "Button1", "Done");
    done->setDefault(true);
    layout->addLayout(bar);

    auto* split = new QSplitter(Qt::Vertical, this);
    grid_ = Grid(split);
    chart_ = new SessionChart(split);
    split->addWidget(grid_);
    split->addWidget(chart_);
    layout->addWidget(split, 1);
    split_ = split;
    saveDialog_ = MakeCsvSaveDialog(this, "Export Session");
    resize(1024, 720);

    connect(buckers_, &QComboBox::activated, this, &TTrackResultsForm::SelectionChanged);
    connect(results_, &QComboBox::activated, this, &TTrackResultsForm::SelectionChanged);
    connect(exportButton, &QPushButton::clicked, this, &TTrackResultsForm::ExportClick);
    connect(print, &QPushButton::clicked, this, &TTrackResultsForm::PrintClick);
    connect(done, &QPushButton::clicked, this, &TTrackResultsForm::Done);
    connect(saveDialog_, &QFileDialog::fileSelected, this, &TTrackResultsForm::FileChosen);
}

void TTrackResultsForm::Present(const TrackingSession& session, const Market& market) {
    session_ = &session;
    market_ = &market;
}

void TTrackResultsForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) { // not when restored from the task bar
        FillLists();
        // The whole grid when the window is high enough, the chart below it; a smaller window
        // shares its height in the same proportion.
        const int gridHeight = grid_->rowCount() * grid_->verticalHeader()->defaultSectionSize() +
                               grid_->horizontalScrollBar()->sizeHint().height();
        split_->setSizes({gridHeight, chart_->minimumHeight()});
    }
}

void TTrackResultsForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        buckers_->clear();
        results_->clear();
        session_ = nullptr;
        market_ = nullptr;
    }
}

void TTrackResultsForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit Done();
}

void TTrackResultsForm::FillLists() {
    if (session_ == nullptr) {
        return;
    }
    {
        const QSignalBlocker blockBuckers(buckers_);
        const QSignalBlocker blockResults(results_);
        buckers_->clear();
        for (int user = 1; user <= session_->UserCount(); ++user) {
            buckers_->addItem(QString::number(user));
        }
        results_->clear();
        results_->addItem("Performance Summary");
        for (int position = 1; position <= session_->TreeCount(); ++position) {
            results_->addItem("Tree" + QString::number(position));
        }
    }
    SelectionChanged();
    findChild<QPushButton*>("Button1")->setFocus();
}

void TTrackResultsForm::SelectionChanged() {
    if (session_ == nullptr || market_ == nullptr) {
        return;
    }
    const int user = buckers_->currentIndex() + 1;
    const int position = results_->currentIndex(); // the first tree entry is position 1
    Guarded(this, [&] {
        if (position <= 0) {
            ShowGrid(SessionSummary(*session_, user));
            chart_->ShowSession(*session_);
        } else {
            ShowGrid(TreeSummary(*session_, user, position, *market_));
            chart_->ShowTrees(*session_, user);
        }
    });
}

void TTrackResultsForm::ShowGrid(const SummaryGrid& grid) {
    grid_->clearContents();
    grid_->setRowCount(grid.Rows());
    grid_->setColumnCount(grid.Columns());
    const QFontMetrics metrics = grid_->fontMetrics();
    for (int column = 0; column < grid.Columns(); ++column) {
        int width = column < static_cast<int>(grid.ColumnWidths.size())
                        ? grid.ColumnWidths[static_cast<std::size_t>(column)]
                        : 0;
        for (int row = 0; row < grid.Rows(); ++row) {
            const QString text = QString::fromStdString(grid.At(column, row));
            if (text.isEmpty()) {
                continue;
            }
            grid_->setItem(row, column, new QTableWidgetItem(text));
            width = std::max(width, metrics.horizontalAdvance(text) + kCellPadding);
        }
        grid_->setColumnWidth(column, width);
    }
}

void TTrackResultsForm::ExportClick() {
    if (session_ == nullptr || market_ == nullptr) {
        return;
    }
    const bool ready = Guarded(this, [&] {
        std::error_code ec;
        std::filesystem::create_directories(data_.Reports(), ec);
        if (ec) {
            throw FileError(data_.Reports(), IoErrorText(ec.value()));
        }
    });
    if (!ready) {
        return;
    }
    saveDialog_->setDirectory(QString::fromStdString(data_.Reports().string()));
    saveDialog_->selectFile(QString::fromStdString(market_->Name) + " Tracking Session.csv");
    saveDialog_->open();
}

// The text is made when the name is chosen, from the session still shown.
void TTrackResultsForm::FileChosen(const QString& file) {
    if (session_ == nullptr || market_ == nullptr) {
        return;
    }
    Guarded(this, [&] {
        const std::string text = SessionCsv(*session_, *market_);
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        WriteFileBytes(std::filesystem::path(file.toStdString()), bytes);
    });
}

void TTrackResultsForm::PrintClick() {
    if (session_ == nullptr || market_ == nullptr) {
        return;
    }
    TextDocument document;
    const bool made = Guarded(this, [&] {
        for (const std::string& line : SessionReportLines(*session_, *market_)) {
            document.Lines << QString::fromStdString(line);
        }
    });
    if (!made) {
        return;
    }
    document.Title = "Tracking Session - " + QString::fromStdString(market_->Name);
    PrintDocument(this, data_, document);
}

} // namespace varnok::app
