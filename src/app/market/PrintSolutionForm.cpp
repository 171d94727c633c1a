#include "app/market/PrintSolutionForm.h"

#include "app/ErrorBox.h"
#include "app/print/Printing.h"
#include "app/rules/RuleDialogParts.h"
#include "market/Market.h"
#include "market/OptimalCuts.h"
#include "services/MarketStats.h"
#include "support/Errors.h"
#include "support/Files.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace varnok::app {
namespace {

// The kinds of result, by their button ids in RadioGroup1.
enum Kind { kCutLocations = 1, kProducts = 2, kBoth = 3 };

const std::array<std::pair<Kind, const char*>, 3> kKindCaptions = {{
    {kCutLocations, "Cut Locations"},
    {kProducts, "Products Produced"},
    {kBoth, "Cut Locations and Produced Products"},
}};

QComboBox* TreeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (int n = 1; n <= kTreeCount; ++n) {
        list->addItem(QString::number(n));
    }
    list->setMaxVisibleItems(25);
    return list;
}

QPushButton* Button(QHBoxLayout* row, QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

// A row of widgets below a step's text, in line with it.
QHBoxLayout* StepContent(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(24, 0, 0, 0);
    layout->addLayout(row);
    return row;
}

void AddNote(QVBoxLayout* layout, QWidget* parent) {
    auto* row = new QHBoxLayout;
    auto* word = new QLabel("Note:", parent);
    QFont bold = word->font();
    bold.setBold(true);
    word->setFont(bold);
    row->addWidget(word, 0, Qt::AlignTop);
    row->addWidget(new QLabel("\"Create File\" will only create a file containing the "
                              "\"Products Produced\" results.",
                              parent),
                   1);
    layout->addLayout(row);
}

void Append(QStringList& document, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        document << QString::fromStdString(line);
    }
}

} // namespace

PleaseWaitWindow::PleaseWaitWindow(QWidget* parent)
    : QLabel("Please Wait...", parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("PleaseWait");
    setWindowTitle("Please Wait...");
    setAlignment(Qt::AlignCenter);
    // A thin frame in the text's colour sets the window off from the black stem picture.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    QFont large = font();
    large.setPointSize(large.pointSize() * 3 / 2);
    large.setBold(true);
    setFont(large);
    setFixedSize(std::max(320, sizeHint().width() * 2), std::max(120, sizeHint().height() * 3));
}

void PleaseWaitWindow::ShowNow() {
    if (parentWidget() != nullptr) {
        move(parentWidget()->window()->frameGeometry().center() - rect().center());
    }
    show();
    raise();
    // The window system maps the window and then asks for its paint: both are handled before
    // the work blocks the event loop.
    for (int i = 0; i < 2; ++i) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
}

TPrintSolutionForm::TPrintSolutionForm(const DataFolder& data,
                                       std::function<const Market*()> market, QWidget* parent)
    : ClosableDialog(parent), data_(data), market_(std::move(market)) {
    setObjectName("TPrintSolutionForm");
    setWindowTitle("Print Optimal Bucking Solutions");
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    AddStep(layout, this, 1, "Select the desired trees.", "Label1");
    QHBoxLayout* trees = StepContent(layout);
    first_ = TreeList(this, "ComboBox1");
    last_ = TreeList(this, "ComboBox2");
    trees->addWidget(first_);
    trees->addWidget(new QLabel("to", this));
    trees->addWidget(last_);
    trees->addStretch(1);

    AddStep(layout, this, 2, "Choose the desired results.", "Label2");
    auto* group = new QGroupBox(this);
    group->setObjectName("RadioGroup1");
    auto* choices = new QVBoxLayout(group);
    kinds_ = new QButtonGroup(this);
    for (const auto& [kind, caption] : kKindCaptions) {
        auto* choice = new QRadioButton(caption, group);
        choices->addWidget(choice);
        kinds_->addButton(choice, kind);
    }
    StepContent(layout)->addWidget(group);

    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    print_ = Button(row, buttons, "Button1", "Print Solutions");
    row->addWidget(new QLabel("or", buttons));
    QPushButton* createFile = Button(row, buttons, "Button3", "Create File");
    row->addWidget(new QLabel("or", buttons));
    QPushButton* cancel = Button(row, buttons, "Button2", "Cancel");
    row->addStretch(1);
    AddStep(layout, this, 3, buttons);

    AddNote(layout, this);
    saveDialog_ = MakeCsvSaveDialog(parent, "Create File");
    wait_ = new PleaseWaitWindow(parent);

    connect(first_, &QComboBox::activated, this, &TPrintSolutionForm::ListChanged);
    connect(last_, &QComboBox::activated, this, &TPrintSolutionForm::ListChanged);
    // Toggled rather than clicked, so that a choice made with the arrow keys counts too.
    connect(kinds_, &QButtonGroup::idToggled, this,
            [this] { print_->setEnabled(kinds_->checkedId() != -1); });
    connect(print_, &QPushButton::clicked, this, &TPrintSolutionForm::Button1Click);
    connect(createFile, &QPushButton::clicked, this, &TPrintSolutionForm::Button3Click);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(saveDialog_, &QFileDialog::fileSelected, this, &TPrintSolutionForm::FileChosen);
    connect(saveDialog_, &QFileDialog::rejected, this, [this] { fileLines_.clear(); });
}

void TPrintSolutionForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) { // not when restored from the task bar
        first_->setCurrentIndex(0);
        last_->setCurrentIndex(0);
        // An exclusive group keeps its checked button checked.
        kinds_->setExclusive(false);
        for (QAbstractButton* button : kinds_->buttons()) {
            button->setChecked(false);
        }
        kinds_->setExclusive(true);
        print_->setEnabled(false);
    }
    ClosableDialog::showEvent(event);
}

int TPrintSolutionForm::FirstTree() const {
    return first_->currentIndex() + 1;
}

int TPrintSolutionForm::LastTree() const {
    return last_->currentIndex() + 1;
}

void TPrintSolutionForm::ListChanged() {
    if (last_->currentIndex() < first_->currentIndex()) {
        last_->setCurrentIndex(first_->currentIndex());
    }
}

const Market& TPrintSolutionForm::MarketInForce() const {
    const Market* market = market_();
    if (market == nullptr) {
        throw VarnokError("No market is loaded: choose one with \"Buck With Optimal\" first.");
    }
    return *market;
}

QString TPrintSolutionForm::MissingTreesNote(const Market& market,
                                             const QString& whatItDoes) const {
    std::vector<int> missing = MissingTrees(ReadOptimalCuts(market.OptmcutsPath));
    std::erase_if(missing, [this](int tree) { return tree < FirstTree() || tree > LastTree(); });
    if (missing.empty()) {
        return {};
    }
    return "Market \"" + QString::fromStdString(market.Name) + "\" stores no optimal pattern for " +
           QString::fromStdString(TreeNumbersText(missing)) + ": " + whatItDoes + ".";
}

ResearchResults TPrintSolutionForm::Research(const Market& market) const {
    wait_->ShowNow();
    const auto hideWait = qScopeGuard([this] { wait_->hide(); });
    return ResearchOptimalPatterns(data_, market, FirstTree(), LastTree());
}

void TPrintSolutionForm::Button1Click() {
    const int kind = kinds_->checkedId();
    if (kind == -1) {
        return;
    }
    TextDocument document;
    QString note;
    const bool made = Guarded(this, [&] {
        const Market& market = MarketInForce();
        if (kind != kProducts) {
            Append(document.Lines,
                   CutLocationLines(ReadOptimalCuts(market.OptmcutsPath), FirstTree(), LastTree()));
        }
        if (kind != kCutLocations) {
            Append(document.Lines, ProductsReportLines(Research(market), FirstTree(), LastTree()));
        }
        note = MissingTreesNote(market, "the report shows them without segments");
        document.Title = kinds_->checkedButton()->text() + " - " +
                         QString::fromStdString(market.Name) + " - Trees " +
                         QString::number(FirstTree()) + " To " + QString::number(LastTree());
    });
    if (!made) {
        return;
    }
    hide();
    if (PrintDocument(parentWidget(), data_, document) && !note.isEmpty()) {
        ShowMessage(parentWidget(), windowTitle(), note);
    }
}

void TPrintSolutionForm::Button3Click() {
    QString name;
    const bool made = Guarded(this, [&] {
        const Market& market = MarketInForce();
        fileLines_ = ProductsFileLines(Research(market), FirstTree(), LastTree());
        missingNote_ = MissingTreesNote(market, "the file leaves them out");
        std::error_code ec;
        std::filesystem::create_directories(data_.Reports(), ec);
        if (ec) {
            throw FileError(data_.Reports(), IoErrorText(ec.value()));
        }
        name = QString::fromStdString(market.Name) + " Optimal Products " +
               QString::number(FirstTree()) + " To " + QString::number(LastTree()) + ".csv";
    });
    if (!made) {
        return;
    }
    hide();
    saveDialog_->setDirectory(QString::fromStdString(data_.Reports().string()));
    saveDialog_->selectFile(name);
    saveDialog_->open();
}

void TPrintSolutionForm::FileChosen(const QString& file) {
    const bool written = Guarded(parentWidget(), [&] {
        WriteCrLfFile(std::filesystem::path(file.toStdString()), fileLines_);
    });
    fileLines_.clear();
    if (written && !missingNote_.isEmpty()) {
        ShowMessage(parentWidget(), windowTitle(), missingNote_);
    }
}

} // namespace varnok::app
