#include "app/grading/SpecifyVeneerForm.h"

#include "app/ErrorBox.h"
#include "app/RuleFileSave.h"
#include "support/Files.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

constexpr const char* kWhat = "veneer grading rule set";
constexpr int kNameLength = 255; // characters a grade name keeps
constexpr int kListWidth = 72;   // pixels

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Numbered(const char* stem, int number) {
    return QString(stem) + QString::number(number);
}

// Shows `position` as the group's choice, or none for -1 (an exclusive group keeps a checked
// button checked unless it is told otherwise).
void ShowChoice(QButtonGroup* group, int position) {
    if (group->checkedId() == position) {
        return;
    }
    const QSignalBlocker blocker(group);
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == position);
    }
    group->setExclusive(true);
}

} // namespace

TSpecifyForm::TSpecifyForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TSpecifyForm");
    setWindowTitle("Define Veneer Grading Rules");
    auto* layout = new QVBoxLayout(this);
    auto* area = new QWidget(this);
    area->setObjectName("Pages");
    // A stack, so that the area keeps the size of its largest page from page to page.
    stack_ = new QStackedLayout(area);
    layout->addWidget(area, 1);
    BuildPages();
    auto* reserved = new QGroupBox(kVeneerReservedCaption, this);
    reserved->setObjectName("GroupBox12");
    reserved->hide();

    gradeName_ = new QLineEdit(this);
    gradeName_->setObjectName("Edit1");
    gradeName_->setReadOnly(true);
    layout->addWidget(gradeName_);
    auto* row = new QHBoxLayout;
    auto button = [this, row](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        row->addWidget(b);
        return b;
    };
    back_ = button("Button3", "< Back ");
    next_ = button("Button2", "Next >");
    finish_ = button("Button4", "Finished");
    row->addStretch(1);
    QPushButton* cancel = button("Button1", "Cancel");
    layout->addLayout(row);
    // Return goes forward; it never cancels a definition or goes back, wherever the focus is.
    next_->setDefault(true);
    back_->setAutoDefault(false);
    cancel->setAutoDefault(false);

    saveDialog_ = new QFileDialog(this, "Save Veneer Grading Rules");
    saveDialog_->setObjectName("SaveDialog1");
    saveDialog_->setOption(QFileDialog::DontUseNativeDialog); // the same dialog on every desktop
    // The replace question is asked by the save itself, with letter case ignored.
    saveDialog_->setOption(QFileDialog::DontConfirmOverwrite);
    saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
    saveDialog_->setFileMode(QFileDialog::AnyFile);

    connect(next_, &QPushButton::clicked, this, &TSpecifyForm::Button2Click);
    connect(back_, &QPushButton::clicked, this, &TSpecifyForm::Button3Click);
    connect(finish_, &QPushButton::clicked, this, &TSpecifyForm::Button4Click);
    connect(cancel, &QPushButton::clicked, this, &TSpecifyForm::reject);
    connect(saveDialog_, &QFileDialog::fileSelected, this, &TSpecifyForm::FileChosen);
    Paint();
}

QGroupBox* TSpecifyForm::AddPage(const char* name, int page) {
    auto* box = new QGroupBox(Text(VeneerPageTitle(page)));
    box->setObjectName(name);
    stack_->addWidget(box);
    pages_[static_cast<std::size_t>(page - 1)] = box;
    return box;
}

QComboBox* TSpecifyForm::AddList(QWidget* parent, int number, VeneerChoiceList texts, int* choice,
                                 ListKind kind, std::size_t list) {
    auto* box = new QComboBox(parent);
    box->setObjectName(Numbered("ComboBox", number));
    box->setMinimumWidth(kListWidth); // an empty list as wide as a chosen one
    for (const std::string& text : VeneerChoiceTexts(texts)) {
        box->addItem(Text(text));
    }
    lists_.push_back({box, choice, kind, list});
    connect(box, &QComboBox::activated, this, [this, choice](int position) {
        *choice = position;
        Paint();
    });
    return box;
}

void TSpecifyForm::AddDiameterLists(QWidget* parent, QGridLayout* grid, int firstNumber,
                                    VeneerChoiceList texts, VeneerDiameterChoices& choices) {
    for (std::size_t list = 0; list < kVeneerDiameterLists; ++list) {
        const int column = static_cast<int>(list);
        grid->addWidget(new QLabel(Text(VeneerDiameterLabel(list)), parent), 0, column);
        grid->addWidget(AddList(parent, firstNumber + column, texts, &choices[list],
                                ListKind::ByDiameter, list),
                        1, column);
    }
}

void TSpecifyForm::AddLengthLists(QWidget* parent, QGridLayout* grid, int firstNumber,
                                  VeneerChoiceList texts, VeneerLengthChoices& choices) {
    for (std::size_t list = 0; list < kVeneerLengthLists; ++list) {
        const int column = static_cast<int>(list);
        grid->addWidget(new QLabel(Text(VeneerLengthLabel(list)), parent), 0, column);
        grid->addWidget(
            AddList(parent, firstNumber + column, texts, &choices[list], ListKind::ByLength, list),
            1, column);
    }
}

QButtonGroup* TSpecifyForm::AddRadioGroup(QGroupBox* box, VeneerChoiceList texts, int columns) {
    auto* grid = new QGridLayout(box);
    auto* group = new QButtonGroup(box);
    const std::vector<std::string> captions = VeneerChoiceTexts(texts);
    const int rows = (static_cast<int>(captions.size()) + columns - 1) / columns;
    for (int i = 0; i < static_cast<int>(captions.size()); ++i) {
        auto* radio = new QRadioButton(Text(captions[static_cast<std::size_t>(i)]), box);
        group->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    return group;
}

void TSpecifyForm::BuildPages() {
    VeneerWizardChoices& c = wizard_.Choices();
    // Toggled rather than clicked, so that a choice made with the arrow keys counts too; the
    // painting blocks the groups' signals.
    auto onChoice = [this](QButtonGroup* group, int* choice) {
        connect(group, &QButtonGroup::idToggled, this, [this, choice](int id, bool checked) {
            if (checked) {
                *choice = id;
                Paint();
            }
        });
    };

    gradeCount_ = AddRadioGroup(AddPage("RadioGroup1", 1), VeneerChoiceList::GradeCount, 1);
    onChoice(gradeCount_, &c.GradeCount);

    auto* namesGrid = new QGridLayout(AddPage("Page2", 2));
    for (std::size_t row = 0; row < names_.size(); ++row) {
        nameLabels_[row] = new QLabel(Text(VeneerNameLabel(row)), pages_[1]);
        names_[row] = new QLineEdit(pages_[1]);
        names_[row]->setObjectName(Numbered("name", static_cast<int>(row) + 1) + "box");
        names_[row]->setMaxLength(kNameLength);
        nameLabels_[row]->setBuddy(names_[row]);
        namesGrid->addWidget(nameLabels_[row], static_cast<int>(row), 0);
        namesGrid->addWidget(names_[row], static_cast<int>(row), 1);
        connect(names_[row], &QLineEdit::textEdited, this, [this, row](const QString& text) {
            wizard_.Choices().Names[row] = text.toStdString();
            Paint();
        });
    }
    namesGrid->setRowStretch(static_cast<int>(names_.size()), 1);

    minDiameter_ = AddRadioGroup(AddPage("RadioGroup2", 3), VeneerChoiceList::MinDiameter, 3);
    onChoice(minDiameter_, &c.MinDiameter);

    auto* lengthRow = new QHBoxLayout(AddPage("GroupBox3", 4));
    lengthRow->setAlignment(Qt::AlignTop);
    for (std::size_t list = 0; list < lengths_.size(); ++list) {
        lengths_[list] = new QCheckBox(Text(VeneerLengthLabel(list)), pages_[3]);
        lengths_[list]->setObjectName(Numbered("CheckBox", static_cast<int>(list) + 1));
        lengthRow->addWidget(lengths_[list]);
        connect(lengths_[list], &QCheckBox::clicked, this, [this, list](bool ticked) {
            wizard_.Choices().Lengths[list] = ticked;
            Paint();
        });
    }

    // Lists in a row under their labels, the rest of the page left empty below them.
    auto listPage = [](QGroupBox* page) {
        auto* grid = new QGridLayout(page);
        grid->setRowStretch(3, 1);
        return grid;
    };
    QGroupBox* sweepPage = AddPage("GroupBox2", 5);
    AddDiameterLists(sweepPage, listPage(sweepPage), 1, VeneerChoiceList::Sweep, c.Sweep);

    QGroupBox* defectsPage = AddPage("GroupBox1", 6);
    auto* defects = new QVBoxLayout(defectsPage);
    basisBox_ = new QGroupBox(defectsPage);
    basisBox_->setObjectName("RadioGroup3");
    basis_ = AddRadioGroup(basisBox_, VeneerChoiceList::DefectBasis, 3);
    connect(basis_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            RadioGroup3Click(id);
        }
    });
    defects->addWidget(basisBox_);
    byDiameter_ = new QGroupBox(defectsPage);
    byDiameter_->setObjectName("GroupBox4");
    AddDiameterLists(byDiameter_, new QGridLayout(byDiameter_), 9, VeneerChoiceList::DefectCount,
                     c.DefectsByDiameter);
    byLength_ = new QGroupBox(defectsPage);
    byLength_->setObjectName("GroupBox5");
    AddLengthLists(byLength_, new QGridLayout(byLength_), 16, VeneerChoiceList::DefectCount,
                   c.DefectsByLength);
    single_ = AddList(defectsPage, 8, VeneerChoiceList::DefectCount, &c.Defects);
    defects->addWidget(byDiameter_);
    defects->addWidget(byLength_);
    defects->addWidget(single_, 0, Qt::AlignLeft);
    defects->addStretch(1);

    auto single = [this](const char* name, int page, int number, VeneerChoiceList texts,
                         int* choice) {
        auto* row = new QHBoxLayout(AddPage(name, page));
        row->addWidget(AddList(pages_[static_cast<std::size_t>(page - 1)], number, texts, choice),
                       0, Qt::AlignTop);
        row->addStretch(1);
    };
    single("GroupBox6", 7, 21, VeneerChoiceList::KnotSize, &c.KnotSize);
    single("GroupBox7", 8, 22, VeneerChoiceList::SeamLength, &c.SeamLength);

    QGroupBox* inLinePage = AddPage("GroupBox8", 9);
    QGridLayout* inLine = listPage(inLinePage);
    AddLengthLists(inLinePage, inLine, 23, VeneerChoiceList::YesNo, c.InLine);
    auto* angleLabel = new QLabel(kVeneerInLineAngleCaption, inLinePage);
    QComboBox* angle = AddList(inLinePage, 28, VeneerChoiceList::InLineAngle, &c.InLineAngle);
    angleLabel->setBuddy(angle);
    inLine->addWidget(angleLabel, 2, 0, 1, 2);
    inLine->addWidget(angle, 2, 2, 1, 2);

    QGroupBox* holePage = AddPage("GroupBox9", 10);
    AddDiameterLists(holePage, listPage(holePage), 29, VeneerChoiceList::Sweep, c.Hole);

    single("GroupBox10", 11, 36, VeneerChoiceList::HeartPercent, &c.HeartPercent);

    QGroupBox* halvesPage = AddPage("GroupBox11", 12);
    AddLengthLists(halvesPage, listPage(halvesPage), 37, VeneerChoiceList::YesNo, c.Halves);
}

void TSpecifyForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) { // not when restored from the task bar
        wizard_.Start();
        Paint();
    }
    ClosableDialog::showEvent(event);
}

void TSpecifyForm::Button2Click() {
    wizard_.Next();
    Paint();
}

void TSpecifyForm::Button3Click() {
    wizard_.Back();
    Paint();
}

void TSpecifyForm::Button4Click() {
    const VeneerWizard::FinishOutcome outcome = wizard_.Finish();
    Paint();
    if (outcome != VeneerWizard::FinishOutcome::Save) {
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(data_.Veneer(), ec); // else the dialog starts elsewhere
    saveDialog_->setDirectory(Text(data_.Veneer().string()));
    saveDialog_->selectFile(QString());
    saveDialog_->open();
}

void TSpecifyForm::RadioGroup3Click(int position) {
    wizard_.ChooseDefectBasis(static_cast<VeneerDefectBasis>(position));
    Paint();
}

void TSpecifyForm::FileChosen(const QString& path) {
    const std::filesystem::path chosen(path.toStdString());
    const std::string name = chosen.filename().string();
    std::vector<std::uint8_t> bytes;
    if (!Guarded(this, [&] {
            CheckPlainName(name, kWhat);
            bytes = wizard_.Record().Encode();
        })) {
        return;
    }
    const std::filesystem::path folder = chosen.parent_path();
    std::error_code ec;
    if (std::filesystem::equivalent(folder, data_.Veneer(), ec)) {
        Save(folder, name, std::move(bytes));
        return;
    }
    auto* box = new QMessageBox(
        QMessageBox::Warning, "Varnok",
        QString("\"%1\" is not the veneer folder of the data (%2): the veneer grading rule viewer "
                "and \"Define Market\" offer only the rule sets saved there. Save \"%3\" in "
                "\"%1\" all the same?")
            .arg(Text(folder.string()), Text(data_.Veneer().string()), Text(name)),
        QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName("ElsewhereBox");
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this,
            [this, folder, name, bytes = std::move(bytes)](int result) mutable {
                if (result == QMessageBox::Yes) {
                    Save(folder, name, std::move(bytes));
                }
            });
    box->open();
}

void TSpecifyForm::Save(const std::filesystem::path& folder, const std::string& name,
                        std::vector<std::uint8_t> bytes) {
    SaveRuleFile(this, folder, Text(name), kWhat, std::move(bytes), [this] { hide(); });
}

void TSpecifyForm::Paint() {
    const VeneerWizardChoices& c = wizard_.Choices();
    stack_->setCurrentWidget(pages_[static_cast<std::size_t>(wizard_.Page() - 1)]);
    ShowChoice(gradeCount_, c.GradeCount);
    for (std::size_t row = 0; row < names_.size(); ++row) {
        const bool shown = static_cast<int>(row) < wizard_.GradeCount();
        nameLabels_[row]->setVisible(shown);
        names_[row]->setVisible(shown);
        const QString name = Text(c.Names[row]);
        if (names_[row]->text() != name) { // not while typing: the cursor would jump
            names_[row]->setText(name);
        }
    }
    ShowChoice(minDiameter_, c.MinDiameter);
    for (std::size_t list = 0; list < lengths_.size(); ++list) {
        lengths_[list]->setChecked(c.Lengths[list]);
    }
    const VeneerDefectBasis basis = wizard_.DefectBasis();
    ShowChoice(basis_, static_cast<int>(basis));
    basisBox_->setEnabled(!wizard_.DefectBasisLocked());
    byDiameter_->setVisible(basis == VeneerDefectBasis::Diameter);
    byLength_->setVisible(basis == VeneerDefectBasis::Length);
    single_->setVisible(basis == VeneerDefectBasis::Neither);
    for (const ListBinding& binding : lists_) {
        const QSignalBlocker blocker(binding.Box);
        binding.Box->setCurrentIndex(*binding.Choice);
        switch (binding.Kind) {
        case ListKind::Always:
            binding.Box->setEnabled(true);
            break;
        case ListKind::ByDiameter:
            binding.Box->setEnabled(wizard_.DiameterListEnabled(binding.List));
            break;
        case ListKind::ByLength:
            binding.Box->setEnabled(wizard_.LengthListEnabled(binding.List));
            break;
        }
    }
    gradeName_->setText(Text(wizard_.NameShown()));
    back_->setEnabled(wizard_.BackEnabled());
    next_->setEnabled(wizard_.NextEnabled());
    finish_->setEnabled(wizard_.FinishEnabled());
    finish_->setText(Text(wizard_.FinishCaption()));
}

} // namespace varnok::app
