#include "app/rules/RoundwoodForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleDialogParts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varnok::app {
namespace {

constexpr int kNameRow = 1;
constexpr int kUnitsRow = 2;

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

// The name cells take no more characters than the file stores, so what is shown is saved.
class NameCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(static_cast<int>(kRoundwoodTextCapacity));
        }
        return editor;
    }
};

QLabel* SoundnessNote(QWidget* parent) {
    auto* note = new QLabel(Text(RoundwoodSoundnessNote()), parent);
    note->setObjectName("SoundnessNote");
    note->setWordWrap(true);
    return note;
}

// A vertical group of radio buttons, ids 0 up in the order of `choices`.
template <std::size_t N, typename Choice>
QButtonGroup* AddChoices(QGroupBox* box, const std::array<Choice, N>& choices) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* group = new QButtonGroup(box);
    for (std::size_t i = 0; i < N; ++i) {
        auto* button = new QRadioButton(Text(choices[i].Caption), box);
        layout->addWidget(button);
        group->addButton(button, static_cast<int>(i));
    }
    return group;
}

} // namespace

// The table's columns line up with the unit choices and the lists under them: the first as wide
// as the longest row label, each product's as a name of 20 capitals.
TDefineRoundwoodProductstab::ColumnWidths
TDefineRoundwoodProductstab::ColumnWidthsFor(const QFontMetrics& metrics) {
    constexpr int kPadding = 16;
    int label = metrics.horizontalAdvance("Product Name");
    for (std::size_t l = 0; l < kRoundwoodLimitCount; ++l) {
        label = std::max(label, metrics.horizontalAdvance(
                                    Text(RoundwoodLimitLabel(static_cast<RoundwoodLimit>(l)))));
    }
    const QString name(static_cast<int>(kRoundwoodTextCapacity), 'N');
    return {label + kPadding, std::max(150, metrics.horizontalAdvance(name) + kPadding)};
}

TReadRoundwood::TReadRoundwood(const DataFolder& data, QWidget* parent) : ClosableDialog(parent) {
    setObjectName("TReadRoundwood");
    setWindowTitle("Read Roundwood Products");
    auto* layout = new QVBoxLayout(this);
    QLabel* select = AddStep(layout, this, 1,
                             "Select the roundwood product definition set to be viewed.", "Label1");
    list_ = new RuleFileList(data.Roundwood(), this);
    list_->setObjectName("ListBox1");
    list_->setFixedHeight(110);
    select->setBuddy(list_);
    layout->addWidget(list_);
    auto* view = new QPushButton("View Selected Roundwood Product Definintion Set", this);
    view->setObjectName("ReadFile");
    AddStep(layout, this, 2, view);
    grid_ = MakeRuleGrid(this, "StringGrid1", kRoundwoodViewerColumns, kRoundwoodViewerRows);
    grid_->setToolTip(Text(RoundwoodSoundnessNote()));
    PaintGrid(grid_, RoundwoodViewerHeaders());
    grid_->resizeColumnsToContents();
    FitGridToCells(grid_);
    layout->addWidget(grid_);
    layout->addWidget(SoundnessNote(this));
    auto* exit = new QPushButton("Exit Viewer", this);
    exit->setObjectName("Return");
    AddStep(layout, this, 3, exit);
    connect(view, &QPushButton::clicked, this, &TReadRoundwood::ReadFileClick);
    connect(list_, &QListWidget::itemActivated, this, &TReadRoundwood::ReadFileClick);
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
}

void TReadRoundwood::showEvent(QShowEvent* event) {
    PaintGrid(grid_, RoundwoodViewerTable{});
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

void TReadRoundwood::ShowFile(const std::string& name) {
    View(ShowWithFile(this, list_, name));
}

void TReadRoundwood::ReadFileClick() {
    if (const std::optional<std::string> name = list_->Selected()) {
        View(list_->Folder() / *name);
    }
}

// The table is cleared before the read, so a file that fails shows nothing of the one before.
void TReadRoundwood::View(const std::filesystem::path& path) {
    PaintGrid(grid_, RoundwoodViewerHeaders());
    Guarded(this, [&] { PaintGrid(grid_, RoundwoodViewerCells(ReadRoundwoodProducts(path))); });
    grid_->resizeColumnsToContents();
    FitGridToCells(grid_);
}

TDefineRoundwoodProductstab::TDefineRoundwoodProductstab(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TDefineRoundwoodProductstab");
    setWindowTitle("Define Roundwood Products");
    auto* layout = new QVBoxLayout(this);
    AddStep(layout, this, 1, "Name each product and choose the units below.", "Label1");

    const ColumnWidths widths = ColumnWidthsFor(fontMetrics());
    BuildTable(layout, widths);
    BuildUnitsAndLimits(layout, widths);
    layout->addWidget(SoundnessNote(this));

    AddStep(layout, this, 2, "Choose a method for handling cull material.", "Label2");
    auto* cullBox = new QGroupBox(this);
    cullBox->setObjectName("RadioGroup4");
    cull_ = AddChoices(cullBox, CullChoices());
    // "No Cull Penalty" until another is chosen, so a set never stores an empty cull pair.
    cull_->button(0)->setChecked(true);
    layout->addWidget(cullBox);

    QLabel* nameLabel = AddStep(
        layout, this, 3, "Enter the name of this roundwood product definintion below.", "Label3");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    nameLabel->setBuddy(name_);
    layout->addWidget(name_);
    const SaveOrCancel buttons =
        AddSaveOrCancel(layout, this, 4, "SaveProductDefinition", "Button2");
    buttons.Save->setDefault(true);
    connect(buttons.Save, &QPushButton::clicked, this,
            &TDefineRoundwoodProductstab::SaveProductDefinitionClick);
    connect(buttons.Cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void TDefineRoundwoodProductstab::BuildTable(QBoxLayout* layout, ColumnWidths widths) {
    grid_ = MakeRuleGrid(this, "StringGrid1", kRoundwoodEditorColumns, kRoundwoodEditorRows);
    grid_->setItemDelegate(new NameCellDelegate(grid_));
    grid_->setColumnWidth(0, widths.Label);
    for (int c = 1; c < static_cast<int>(kRoundwoodEditorColumns); ++c) {
        grid_->setColumnWidth(c, widths.Product);
    }
    FitGridToCells(grid_);
    layout->addWidget(grid_);
}

void TDefineRoundwoodProductstab::BuildUnitsAndLimits(QBoxLayout* layout, ColumnWidths widths) {
    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(0);
    choices->setContentsMargins(grid_->frameWidth(), 0, 0, 0);
    choices->setColumnMinimumWidth(0, widths.Label);
    for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
        const int column = static_cast<int>(p) + 1;
        choices->setColumnMinimumWidth(column, widths.Product);
        auto* box = new QGroupBox(this);
        box->setObjectName("RadioGroup" + QString::number(column));
        box->setFixedWidth(widths.Product);
        units_[p] = AddChoices(box, RoundwoodUnitChoices());
        choices->addWidget(box, 0, column);
        connect(units_[p], &QButtonGroup::idClicked, this, [this, p] { RadioGroupClick(p); });
    }
    for (std::size_t l = 0; l < kRoundwoodLimitCount; ++l) {
        const auto limit = static_cast<RoundwoodLimit>(l);
        const int row = static_cast<int>(l) + 1;
        auto* label = new QLabel(Text(RoundwoodLimitLabel(limit)), this);
        choices->addWidget(label, row, 0);
        for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
            auto* combo = new QComboBox(this);
            combo->setObjectName("ComboBox" + QString::number(p * kRoundwoodLimitCount + l + 1));
            for (const int value : RoundwoodLimitChoices(limit)) {
                combo->addItem(QString::number(value), value);
            }
            combo->setFixedWidth(widths.Product - 12);
            choices->addWidget(combo, row, static_cast<int>(p) + 1, Qt::AlignLeft);
            limits_[p][l] = combo;
        }
        if (limit == RoundwoodLimit::Soundness) {
            label->setToolTip(Text(RoundwoodSoundnessNote()));
            for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
                limits_[p][l]->setToolTip(label->toolTip());
            }
        }
        label->setBuddy(limits_[0][l]);
    }
    auto* row = new QHBoxLayout;
    row->addLayout(choices);
    row->addStretch(1);
    layout->addLayout(row);
}

void TDefineRoundwoodProductstab::showEvent(QShowEvent* event) {
    PaintGrid(grid_, RoundwoodEditorHeaders());
    for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
        SetGridCell(grid_, p + 1, kNameRow, "", true);
        RadioGroupClick(p);
        for (QComboBox* combo : limits_[p]) {
            combo->setCurrentIndex(0);
        }
    }
    name_->clear();
    grid_->setFocus();
    grid_->setCurrentCell(kNameRow, 1);
    ClosableDialog::showEvent(event);
}

void TDefineRoundwoodProductstab::RadioGroupClick(std::size_t product) {
    const int unit = units_[product]->checkedId();
    const char* text = unit < 0 ? "" : RoundwoodUnitChoices()[static_cast<std::size_t>(unit)].Units;
    SetGridCell(grid_, product + 1, kUnitsRow, text);
}

RoundwoodChoices TDefineRoundwoodProductstab::Choices() const {
    RoundwoodChoices choices;
    for (std::size_t p = 0; p < kRoundwoodProductCount; ++p) {
        RoundwoodProductChoices& product = choices.Products[p];
        product.Name = grid_->item(kNameRow, static_cast<int>(p) + 1)->text().toStdString();
        if (const int unit = units_[p]->checkedId(); unit >= 0) {
            product.Unit = static_cast<std::size_t>(unit);
        }
        for (std::size_t l = 0; l < kRoundwoodLimitCount; ++l) {
            product.Limits[l] = limits_[p][l]->currentData().toInt();
        }
    }
    choices.Cull = static_cast<std::size_t>(std::max(cull_->checkedId(), 0));
    return choices;
}

void TDefineRoundwoodProductstab::SaveProductDefinitionClick() {
    // A name still being typed into a cell counts: taking the focus away commits it.
    if (QWidget* focused = focusWidget(); focused != nullptr && grid_->isAncestorOf(focused)) {
        focused->clearFocus();
    }
    Guarded(this, [&] {
        const std::vector<std::uint8_t> bytes = RoundwoodSetFromChoices(Choices()).Encode();
        SaveRuleFile(this, data_.Roundwood(), name_->text(), "roundwood product set", bytes,
                     [this] { hide(); });
    });
}

} // namespace varnok::app
