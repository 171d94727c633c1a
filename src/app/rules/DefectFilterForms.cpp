#include "app/rules/DefectFilterForms.h"

#include "app/ErrorBox.h"
#include "app/RuleFileList.h"
#include "app/RuleFileSave.h"
#include "app/rules/RuleDialogParts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnok::app {
namespace {

constexpr std::size_t kColumns = 4;

// A box of the viewer: it shows what the file holds, whatever is clicked or pressed on it, and
// still shows its tooltip.
class ShownCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

QCheckBox* MakeBox(const DefectFilterBox& box, DefectFilterBoxPanel::Mode mode, QWidget* parent) {
    const QString caption = QString::fromUtf8(box.Caption);
    QCheckBox* check = nullptr;
    if (mode == DefectFilterBoxPanel::Mode::ReadOnly) {
        check = new ShownCheckBox(caption, parent);
        check->setFocusPolicy(Qt::NoFocus);
    } else {
        check = new QCheckBox(caption, parent);
    }
    check->setObjectName("CheckBox" + QString::number(box.Entry));
    if (const std::optional<std::string> why = FilterBoxNeverActs(box.Entry)) {
        check->setToolTip(QString::fromStdString(*why));
    }
    return check;
}

QGroupBox* MakeGroup(const char* title, QWidget* parent, QVBoxLayout*& layout) {
    auto* group = new QGroupBox(QString::fromUtf8(title), parent);
    layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(2);
    return group;
}

} // namespace

DefectFilterBoxPanel::DefectFilterBoxPanel(Mode mode, QWidget* parent) : QWidget(parent) {
    setObjectName("DefectFilterBoxes");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    const std::vector<DefectFilterSection> sections = DefectFilterSections();
    const auto& boxes = DefectFilterBoxes();
    std::size_t next = 0;
    for (const std::size_t count : DefectFilterColumns(sections, kColumns)) {
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        for (std::size_t s = next; s < next + count; ++s) {
            const DefectFilterSection& section = sections[s];
            if (*section.Group == '\0') {
                const DefectFilterBox& box = boxes[section.Entries.front() - 1];
                boxes_[box.Entry - 1] = MakeBox(box, mode, this);
                column->addWidget(boxes_[box.Entry - 1]);
                continue;
            }
            QVBoxLayout* groupLayout = nullptr;
            QGroupBox* group = MakeGroup(section.Group, this, groupLayout);
            QVBoxLayout* innerLayout = nullptr;
            for (const std::size_t entry : section.Entries) {
                const DefectFilterBox& box = boxes[entry - 1];
                QVBoxLayout* into = groupLayout;
                if (*box.InnerGroup != '\0') {
                    if (innerLayout == nullptr) {
                        groupLayout->addWidget(MakeGroup(box.InnerGroup, group, innerLayout));
                    }
                    into = innerLayout;
                }
                boxes_[entry - 1] = MakeBox(box, mode, group);
                into->addWidget(boxes_[entry - 1]);
            }
            column->addWidget(group);
        }
        column->addStretch(1);
        row->addLayout(column);
        next += count;
    }
    if (mode == Mode::Editable) {
        for (std::size_t n = 1; n <= boxes_.size(); ++n) {
            if (const std::optional<std::size_t> twin = TwinFilterEntry(n)) {
                QCheckBox* other = boxes_[*twin - 1];
                connect(boxes_[n - 1], &QCheckBox::clicked, other,
                        [other](bool checked) { other->setChecked(checked); });
            }
        }
    }
}

DefectFilterFlags DefectFilterBoxPanel::Flags() const {
    DefectFilterFlags flags{};
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        flags[i] = boxes_[i]->isChecked();
    }
    return flags;
}

void DefectFilterBoxPanel::SetFlags(const DefectFilterFlags& flags) {
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setChecked(flags[i]);
    }
}

TFilterGradingDefectsForm::TFilterGradingDefectsForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent), data_(data) {
    setObjectName("TFilterGradingDefectsForm");
    setWindowTitle("Define Defect Filter Set");
    auto* layout = new QVBoxLayout(this);
    AddStep(layout, this, 1, "Check all defects that count as grading defects", "Label1");
    boxes_ = new DefectFilterBoxPanel(DefectFilterBoxPanel::Mode::Editable, this);
    boxes_->SetFlags(DefaultFilterFlags());
    layout->addWidget(boxes_);
    QLabel* nameLabel = AddStep(
        layout, this, 2, "Enter the desired name for the defect inclusion set below", "Label2");
    name_ = new QLineEdit(this);
    name_->setObjectName("Edit1");
    nameLabel->setBuddy(name_);
    layout->addWidget(name_);
    const SaveOrCancel buttons = AddSaveOrCancel(layout, this, 3, "Save", "Cancel");
    buttons.Save->setDefault(true);
    connect(buttons.Save, &QPushButton::clicked, this, &TFilterGradingDefectsForm::SaveClick);
    connect(buttons.Cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void TFilterGradingDefectsForm::showEvent(QShowEvent* event) {
    name_->clear();
    ClosableDialog::showEvent(event);
}

void TFilterGradingDefectsForm::SaveClick() {
    Guarded(this, [&] {
        SaveRuleFile(this, data_.Filters(), name_->text(), "defect filter set",
                     DefectFilterSetFromFlags(boxes_->Flags()).Encode(), [this] { hide(); });
    });
}

TReadDefectsFileForm::TReadDefectsFileForm(const DataFolder& data, QWidget* parent)
    : ClosableDialog(parent) {
    setObjectName("TReadDefectsFileForm");
    setWindowTitle("View Defect Filter Set");
    auto* layout = new QHBoxLayout(this);
    auto* stepsColumn = new QWidget(this);
    stepsColumn->setFixedWidth(260);
    auto* steps = new QVBoxLayout(stepsColumn);
    steps->setContentsMargins(0, 0, 0, 0);
    QLabel* select =
        AddStep(steps, this, 1, "Select the defect inclusion set to be viewed.", "Label1");
    select->setWordWrap(true);
    list_ = new RuleFileList(data.Filters(), this);
    list_->setObjectName("ListBox1");
    select->setBuddy(list_);
    steps->addWidget(list_);
    auto* view = new QPushButton("View Selected Inclusion Set", this);
    view->setObjectName("ReadDefectFile");
    AddStep(steps, this, 2, view);
    auto* exit = new QPushButton("Exit Viewer", this);
    exit->setObjectName("Button1");
    AddStep(steps, this, 3, exit);
    steps->addStretch(1);
    layout->addWidget(stepsColumn);
    boxes_ = new DefectFilterBoxPanel(DefectFilterBoxPanel::Mode::ReadOnly, this);
    layout->addWidget(boxes_, 1);
    connect(view, &QPushButton::clicked, this, &TReadDefectsFileForm::ReadDefectFileClick);
    connect(list_, &QListWidget::itemActivated, this, &TReadDefectsFileForm::ReadDefectFileClick);
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
}

void TReadDefectsFileForm::showEvent(QShowEvent* event) {
    boxes_->SetFlags({});
    list_->setFocus();
    ClosableDialog::showEvent(event);
}

void TReadDefectsFileForm::hideEvent(QHideEvent* event) {
    list_->clear();
    ClosableDialog::hideEvent(event);
}

void TReadDefectsFileForm::ShowFile(const std::string& name) {
    View(ShowWithFile(this, list_, name));
}

void TReadDefectsFileForm::ReadDefectFileClick() {
    if (const std::optional<std::string> name = list_->Selected()) {
        View(list_->Folder() / *name);
    }
}

void TReadDefectsFileForm::View(const std::filesystem::path& path) {
    boxes_->SetFlags({});
    Guarded(this, [&] { boxes_->SetFlags(ViewerFilterFlags(ReadDefectFilterSet(path))); });
}

} // namespace varnok::app
