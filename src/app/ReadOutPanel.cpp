#include "app/ReadOutPanel.h"

#include <QFont>

namespace varnok::app {
namespace {

constexpr int kRowHeight = 20;
constexpr int kTableTop = 57;

QLabel* MakeLabel(QWidget* parent, const char* name, int pointSize, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(pointSize);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setStyleSheet("color: rgb(192, 192, 192); background: transparent;");
    return label;
}

QLineEdit* MakeField(QWidget* parent, const char* name, int x, int y, int width) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setFrame(false);
    field->setGeometry(x, y, width, kRowHeight - 1);
    return field;
}

} // namespace

ReadOutPanel::ReadOutPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel2");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    resize(kWidth, kTableTop);

    mark_ = MakeLabel(this, "Label4", 14, Qt::AlignHCenter | Qt::AlignTop);
    mark_->setText("|");
    mark_->setGeometry(0, 0, kWidth, 24);
    leftGap_ = MakeLabel(this, "Label7", 8, Qt::AlignLeft | Qt::AlignVCenter);
    leftGap_->setGeometry(0, 6, kWidth / 2, 16);
    rightGap_ = MakeLabel(this, "Label8", 8, Qt::AlignRight | Qt::AlignVCenter);
    rightGap_->setGeometry(kWidth / 2 + 1, 6, kWidth / 2, 16);
    diameter_ = MakeLabel(this, "Label9", 9, Qt::AlignHCenter | Qt::AlignVCenter);
    diameter_->setGeometry(0, 30, kWidth, 20);

    constexpr std::array<const char*, 5> captionNames = {"Edit1", "Edit8", "Edit11", "Edit12",
                                                         "Edit13"};
    constexpr std::array<const char*, 5> captions = {"Tree Length", "To Butt", "To Top",
                                                     "To Lt. Cut", "To Rt. Cut"};
    constexpr std::array<const char*, 5> valueNames = {"Edit14", "Edit16", "Edit17", "Edit18",
                                                       "Edit19"};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int y = kTableTop + static_cast<int>(i) * kRowHeight;
        MakeField(this, captionNames[i], 0, y, 70)->setText(captions[i]);
        values_[i] = MakeField(this, valueNames[i], 71, y, kWidth - 71);
    }
}

void ReadOutPanel::ShowReadOut(const ReadOut& readOut) {
    leftGap_->setText(QString::fromStdString(readOut.LeftGap));
    rightGap_->setText(QString::fromStdString(readOut.RightGap));
    diameter_->setText(QString::fromStdString(readOut.Diameter));
    const std::array<const std::string*, 5> texts = {
        &readOut.TreeLength, &readOut.ToButt, &readOut.ToTop, &readOut.LeftGap, &readOut.RightGap};
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i]->setText(QString::fromStdString(*texts[i]));
    }
}

} // namespace varnok::app
