#include "app/ReadOutPanel.h"

#include <QFont>
#include <QFontMetrics>

#include <algorithm>

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

QLineEdit* MakeField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setFrame(false);
    return field;
}

constexpr int kCaptionWidth = 70;
constexpr int kCoachGap = 12; // pixels between the two coaching texts

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
    leftGap_ = MakeLabel(this, "Label7", 8, Qt::AlignLeft | Qt::AlignVCenter);
    rightGap_ = MakeLabel(this, "Label8", 8, Qt::AlignRight | Qt::AlignVCenter);
    diameter_ = MakeLabel(this, "Label9", 9, Qt::AlignHCenter | Qt::AlignVCenter);
    cutHere_ = MakeLabel(this, "CoachCutHere", 8, Qt::AlignLeft | Qt::AlignVCenter);
    cutHere_->setStyleSheet("color: rgb(255, 224, 128); background: transparent;");
    bestNow_ = MakeLabel(this, "CoachBestNow", 8, Qt::AlignRight | Qt::AlignVCenter);
    cutHere_->hide();
    bestNow_->hide();

    constexpr std::array<const char*, 5> captionNames = {"Edit1", "Edit8", "Edit11", "Edit12",
                                                         "Edit13"};
    constexpr std::array<const char*, 5> captions = {"Tree Length", "To Butt", "To Top",
                                                     "To Lt. Cut", "To Rt. Cut"};
    constexpr std::array<const char*, 5> valueNames = {"Edit14", "Edit16", "Edit17", "Edit18",
                                                       "Edit19"};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions_[i] = MakeField(this, captionNames[i]);
        captions_[i]->setText(captions[i]);
        values_[i] = MakeField(this, valueNames[i]);
    }
    LayOut();
}

void ReadOutPanel::LayOut() {
    const int w = width_;
    mark_->setGeometry(0, 0, w, 24);
    leftGap_->setGeometry(0, 6, w / 2, 16);
    rightGap_->setGeometry(w / 2 + 1, 6, w - w / 2 - 1, 16);
    diameter_->setGeometry(0, 30, w, 20);
    const int coachTop = 30 + 20;
    cutHere_->setGeometry(2, coachTop, w / 2, kCoachRowHeight);
    bestNow_->setGeometry(w / 2, coachTop, w - w / 2 - 2, kCoachRowHeight);
    const int tableTop = kTableTop + (coaching_ ? kCoachRowHeight : 0);
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const int y = tableTop + static_cast<int>(i) * kRowHeight;
        captions_[i]->setGeometry(0, y, kCaptionWidth, kRowHeight - 1);
        values_[i]->setGeometry(kCaptionWidth + 1, y, w - kCaptionWidth - 1, kRowHeight - 1);
    }
}

int ReadOutPanel::PanelHeight(int readOutHeight) const {
    return readOutHeight + (coaching_ ? kCoachRowHeight : 0);
}

void ReadOutPanel::ShowCoaching(const CoachReadOut& coaching) {
    cutHere_->setText(QString::fromStdString(coaching.CutHere));
    bestNow_->setText(QString::fromStdString(coaching.BestNow));
    // Each text keeps its half, so the mark stays over the snapped position.
    const QFontMetrics metrics(cutHere_->font());
    const int half = std::max(metrics.horizontalAdvance(cutHere_->text()),
                              metrics.horizontalAdvance(bestNow_->text())) +
                     kCoachGap / 2 + 2;
    const int wanted = std::max(kWidth, 2 * half);
    // Only ever wider while coaching, so the panel does not jitter as the dollars change.
    const bool changed = !coaching_ || wanted > width_;
    coaching_ = true;
    cutHere_->show();
    bestNow_->show();
    if (changed) {
        width_ = std::max(width_, wanted);
        LayOut();
    }
}

void ReadOutPanel::HideCoaching() {
    if (!coaching_) {
        return;
    }
    coaching_ = false;
    width_ = kWidth;
    cutHere_->hide();
    bestNow_->hide();
    LayOut();
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
