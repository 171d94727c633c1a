#include "app/grading/SpecifySawForm.h"

#include "app/RuleFileSave.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

namespace text = sawlog_wizard_text;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QComboBox* MakeList(QWidget* parent, int number, const std::vector<std::string>& choices) {
    auto* list = new QComboBox(parent);
    list->setObjectName("ComboBox" + QString::number(number));
    for (const std::string& choice : choices) {
        list->addItem(QString::fromStdString(choice));
    }
    list->setCurrentIndex(-1);
    return list;
}

// Radio buttons "1" to "3" (or the choices given), ids 0 up, laid out in `box`.
QButtonGroup* AddRadios(QWidget* box, QBoxLayout* layout,
                        std::span<const std::string_view> choices) {
    auto* group = new QButtonGroup(box);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        auto* radio = new QRadioButton(Text(choices[i]), box);
        layout->addWidget(radio);
        group->addButton(radio, static_cast<int>(i));
    }
    return group;
}

void ShowChoice(QButtonGroup* group, int choice) {
    if (group->checkedId() == choice) {
        return;
    }
    const QSignalBlocker blocker(group);
    if (choice == kNoChoice) {
        // An exclusive group never lets its last button go.
        group->setExclusive(false);
        group->checkedButton()->setChecked(false);
        group->setExclusive(true);
        return;
    }
    group->button(choice)->setChecked(true);
}

void ShowPosition(QComboBox* list, int position) {
    if (list->currentIndex() != position) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(position);
    }
}

QLabel* Heading(QWidget* parent, std::string_view caption) {
    auto* label = new QLabel(Text(caption), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TSpecifySawForm::TSpecifySawForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TSpecifySawForm");
    setWindowTitle("Define Sawlog Grading Rules");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QStackedWidget(this);
    gradeCountPage_ = BuildCountPage("RadioGroup1", text::kGradeCountQuestion,
                                     text::kGradeCountChoices, gradeCount_);
    setCountPage_ =
        BuildCountPage("RadioGroup2", text::kSetCountQuestion, text::kCountChoices, setCount_);
    diameterPage_ = BuildDiameterPage();
    lengthPage_ = BuildLengthPage();
    criteriaPage_ = BuildCriteriaPage();
    namePage_ = BuildNamePage();
    for (QWidget* page :
         {gradeCountPage_, setCountPage_, diameterPage_, lengthPage_, criteriaPage_, namePage_}) {
        pages_->addWidget(page);
    }
    layout->addWidget(pages_, 1);

    grade_ = new QLineEdit(this);
    grade_->setObjectName("Edit1");
    grade_->setReadOnly(true);
    grade_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(grade_);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    buttons->addStretch(1);
    back_ = button("Back", "Back>");
    back_->setEnabled(false);
    back_->hide();
    next_ = button("Next", "Next>");
    finished_ = button("Finished", "Finished");
    QPushButton* cancel = button("Cancel", "Cancel");
    cancel->setAutoDefault(false);
    layout->addLayout(buttons);

    // Sized for its largest page with every row shown, so that the dialog keeps one size
    // from page to page.
    pages_->setMinimumSize(pages_->sizeHint());
    connect(next_, &QPushButton::clicked, this, &TSpecifySawForm::NextClick);
    connect(finished_, &QPushButton::clicked, this, &TSpecifySawForm::FinishedClick);
    connect(cancel, &QPushButton::clicked, this, &TSpecifySawForm::reject);
    Paint();
}

QWidget* TSpecifySawForm::BuildCountPage(const char* name, std::string_view question,
                                         std::span<const std::string_view> choices,
                                         QButtonGroup*& group) {
    auto* page = new QGroupBox(Text(question), this);
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    group = AddRadios(page, layout, choices);
    layout->addStretch(1);
    connect(group, &QButtonGroup::idClicked, this, [this, group](int id) {
        if (group == gradeCount_) {
            wizard_.ChooseGradeCount(id);
        } else {
            wizard_.ChooseSetCount(id);
        }
        Paint();
    });
    return page;
}

TSpecifySawForm::BoundRow TSpecifySawForm::MakeBoundRow(QWidget* page, const std::string& label,
                                                        int lowerNumber, int upperNumber,
                                                        const std::vector<std::string>& choices) {
    BoundRow row;
    row.Label = new QLabel(QString::fromStdString(label), page);
    row.Lower = MakeList(page, lowerNumber, choices);
    row.Thru = new QLabel(Text(text::kThru), page);
    row.Upper = MakeList(page, upperNumber, choices);
    return row;
}

QWidget* TSpecifySawForm::BuildDiameterPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("GroupBox3");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Heading(page, text::kDiameterHeading));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Text(text::kButtLogs), page), 0, 4, Qt::AlignCenter);
    grid->addWidget(new QLabel(Text(text::kVariationCount), page), 0, 5, Qt::AlignCenter);
    const std::vector<std::string> choices = SawlogDiameterChoices();
    for (int set = 1; set <= 3; ++set) {
        const auto s = static_cast<std::size_t>(set - 1);
        BoundRow& row = diameters_[s];
        row = MakeBoundRow(page, SawlogDiameterRowLabel(set), set, set + 4, choices);
        butt_[s] = new QCheckBox(page);
        butt_[s]->setObjectName("CheckBox" + QString::number(set));
        auto* box = new QGroupBox(page);
        box->setObjectName("RadioGroup" + QString::number(set + 2));
        auto* radios = new QHBoxLayout(box);
        radios->setContentsMargins(6, 2, 6, 2);
        variations_[s] = AddRadios(box, radios, text::kCountChoices);
        variationBoxes_[s] = box;
        grid->addWidget(row.Label, set, 0);
        grid->addWidget(row.Lower, set, 1);
        grid->addWidget(row.Thru, set, 2);
        grid->addWidget(row.Upper, set, 3);
        grid->addWidget(butt_[s], set, 4, Qt::AlignCenter);
        grid->addWidget(box, set, 5);

        connect(row.Lower, &QComboBox::activated, this, [this, set](int position) {
            wizard_.ChooseDiameter(set, SawlogBound::Lower, position);
            Paint();
        });
        connect(row.Upper, &QComboBox::activated, this, [this, set](int position) {
            wizard_.ChooseDiameter(set, SawlogBound::Upper, position);
            Paint();
        });
        connect(butt_[s], &QCheckBox::clicked, this, [this, set](bool checked) {
            wizard_.SetButtLogsOnly(set, checked);
            Paint();
        });
        connect(variations_[s], &QButtonGroup::idClicked, this, [this, set](int id) {
            wizard_.ChooseVariationCount(set, id);
            Paint();
        });
    }
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TSpecifySawForm::BuildLengthPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("variationspage");
    auto* layout = new QVBoxLayout(page);
    lengthTitle_ = Heading(page, "");
    lengthTitle_->setObjectName("LengthTitle");
    lengthTitle_->setWordWrap(true);
    layout->addWidget(lengthTitle_);
    auto* grid = new QGridLayout;
    const std::vector<std::string> choices = SawlogLengthChoices();
    for (int variation = 1; variation <= 3; ++variation) {
        BoundRow& row = lengths_[static_cast<std::size_t>(variation - 1)];
        row = MakeBoundRow(page, SawlogLengthRowLabel(variation), variation + 9, variation + 13,
                           choices);
        grid->addWidget(row.Label, variation, 0);
        grid->addWidget(row.Lower, variation, 1);
        grid->addWidget(row.Thru, variation, 2);
        grid->addWidget(row.Upper, variation, 3);
        connect(row.Lower, &QComboBox::activated, this, [this, variation](int position) {
            wizard_.ChooseLength(variation, SawlogBound::Lower, position);
            Paint();
        });
        connect(row.Upper, &QComboBox::activated, this, [this, variation](int position) {
            wizard_.ChooseLength(variation, SawlogBound::Upper, position);
            Paint();
        });
    }
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* TSpecifySawForm::BuildCriteriaPage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("GroupBox6");
    auto* layout = new QVBoxLayout(page);
    criteriaTitle_ = Heading(page, "");
    criteriaTitle_->setObjectName("CriteriaTitle");
    criteriaTitle_->setWordWrap(true);
    layout->addWidget(criteriaTitle_);
    struct List {
        SawlogCriterion Criterion;
        int Number;
        std::string_view Caption;
    };
    const std::array<List, kSawlogCriterionCount> lists = {{
        {SawlogCriterion::MinLength, 13, text::kMinLength},
        {SawlogCriterion::MaxNumber, 17, text::kMaxNumber},
        {SawlogCriterion::Yield, 18, text::kYield},
        {SawlogCriterion::SweepUnder25, 19, text::kSweepUnder25},
        {SawlogCriterion::SweepOver25, 20, text::kSweepOver25},
        {SawlogCriterion::Deduction, 21, text::kDeduction},
    }};
    QGroupBox* group = nullptr;
    QGridLayout* grid = nullptr;
    for (const List& list : lists) {
        if (list.Criterion == SawlogCriterion::MinLength ||
            list.Criterion == SawlogCriterion::SweepUnder25) {
            const bool cuttings = list.Criterion == SawlogCriterion::MinLength;
            group = new QGroupBox(Text(cuttings ? text::kClearCuttings : text::kScalingDeductions),
                                  page);
            grid = new QGridLayout(group);
            grid->setColumnStretch(0, 1);
            layout->addWidget(group);
        }
        QComboBox* combo = MakeList(group, list.Number, SawlogCriterionChoices(list.Criterion));
        const int row = grid->rowCount();
        auto* label = new QLabel(Text(list.Caption), group);
        label->setBuddy(combo);
        grid->addWidget(label, row, 0);
        grid->addWidget(combo, row, 1);
        criteria_[static_cast<std::size_t>(list.Criterion)] = combo;
        connect(combo, &QComboBox::activated, this, [this, criterion = list.Criterion](int at) {
            wizard_.ChooseCriterion(criterion, at);
            Paint();
        });
    }
    layout->addStretch(1);
    return page;
}

QWidget* TSpecifySawForm::BuildNamePage() {
    auto* page = new QGroupBox(this);
    page->setObjectName("GroupBox7");
    auto* layout = new QVBoxLayout(page);
    auto* question = new QLabel(Text(text::kNameQuestion), page);
    layout->addWidget(question);
    name_ = new QLineEdit(page);
    name_->setObjectName("Edit5");
    question->setBuddy(name_);
    layout->addWidget(name_);
    layout->addStretch(1);
    return page;
}

void TSpecifySawForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        wizard_.Start();
        name_->clear();
        Paint();
    }
    ClosableDialog::showEvent(event);
}

void TSpecifySawForm::PaintBoundRows(const std::array<BoundRow, 3>& rows,
                                     const SawlogBoundLists& lists) {
    for (int r = 1; r <= 3; ++r) {
        const BoundRow& row = rows[static_cast<std::size_t>(r - 1)];
        const bool shown = r <= lists.Rows();
        for (QWidget* widget :
             std::initializer_list<QWidget*>{row.Label, row.Lower, row.Thru, row.Upper}) {
            widget->setVisible(shown);
        }
        ShowPosition(row.Lower, lists.Position(r, SawlogBound::Lower));
        ShowPosition(row.Upper, lists.Position(r, SawlogBound::Upper));
    }
}

void TSpecifySawForm::Paint() {
    switch (wizard_.Step()) {
    case SawlogWizardStep::GradeCount:
        pages_->setCurrentWidget(gradeCountPage_);
        break;
    case SawlogWizardStep::SetCount:
        pages_->setCurrentWidget(setCountPage_);
        break;
    case SawlogWizardStep::Diameters:
        pages_->setCurrentWidget(diameterPage_);
        break;
    case SawlogWizardStep::Lengths:
        pages_->setCurrentWidget(lengthPage_);
        break;
    case SawlogWizardStep::Criteria:
        pages_->setCurrentWidget(criteriaPage_);
        break;
    case SawlogWizardStep::Name:
        pages_->setCurrentWidget(namePage_);
        break;
    }
    grade_->setText(QString::fromStdString(wizard_.GradeText()));
    ShowChoice(gradeCount_, wizard_.GradeCountChoice());
    ShowChoice(setCount_, wizard_.SetCountChoice());

    PaintBoundRows(diameters_, wizard_.Diameters());
    for (int set = 1; set <= 3; ++set) {
        const auto s = static_cast<std::size_t>(set - 1);
        const bool shown = set <= wizard_.Diameters().Rows();
        butt_[s]->setVisible(shown);
        variationBoxes_[s]->setVisible(shown);
        if (butt_[s]->isChecked() != wizard_.ButtLogsOnly(set)) {
            const QSignalBlocker blocker(butt_[s]);
            butt_[s]->setChecked(wizard_.ButtLogsOnly(set));
        }
        ShowChoice(variations_[s], wizard_.VariationChoice(set));
    }

    lengthTitle_->setText(QString::fromStdString(wizard_.LengthTitle()));
    PaintBoundRows(lengths_, wizard_.Lengths());

    criteriaTitle_->setText(QString::fromStdString(wizard_.CriteriaTitle()));
    for (std::size_t c = 0; c < criteria_.size(); ++c) {
        ShowPosition(criteria_[c], wizard_.Criterion(static_cast<SawlogCriterion>(c)));
    }

    next_->setEnabled(wizard_.NextEnabled());
    finished_->setEnabled(wizard_.FinishedEnabled());
    finished_->setDefault(wizard_.FinishedEnabled());
    next_->setDefault(!wizard_.FinishedEnabled());
}

void TSpecifySawForm::NextClick() {
    if (!wizard_.Next()) {
        return;
    }
    if (wizard_.Step() == SawlogWizardStep::Name) {
        name_->setText(Text(text::kProposedName));
        name_->selectAll();
        name_->setFocus();
    }
    Paint();
}

void TSpecifySawForm::FinishedClick() {
    if (!wizard_.FinishedEnabled()) {
        return;
    }
    SaveRuleFile(this, data_.SawGrades(), name_->text(), "sawlog grading rule set",
                 wizard_.Rules().Encode(), [this] { hide(); });
}

} // namespace varnok::app
