#include "app/StatusPanel.h"

#include <QGridLayout>
#include <QLabel>

namespace varnok::app {
namespace {

constexpr std::array<const char*, kStatusFieldCount> kCaptions = {
    "Market Name",  "Grading Rule Veneer", "Grading Rule Saw", "Roundwood",
    "Scaling Rule", "Price Set",           "Defect Filter",    "Trim Allowance"};

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

StatusPanel::StatusPanel(const std::array<const char*, kStatusFieldCount>& names, QWidget* parent)
    : QFrame(parent) {
    setObjectName("StatusPanel");
    setFixedHeight(60);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 3, 6, 3);
    grid->setVerticalSpacing(2);
    for (std::size_t i = 0; i < kStatusFieldCount; ++i) {
        const int row = static_cast<int>(i / 4);
        const int column = static_cast<int>(i % 4) * 2;
        auto* caption = new QLabel(kCaptions[i], this);
        auto* field = new QLineEdit(this);
        field->setObjectName(names[i]);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        caption->setBuddy(field);
        grid->addWidget(caption, row, column, Qt::AlignRight);
        grid->addWidget(field, row, column + 1);
        grid->setColumnStretch(column + 1, 1);
        fields_[i] = field;
    }
}

void StatusPanel::ShowMarket(const Market& market) {
    const MarketSpecs& specs = market.Specs();
    const std::array<QString, kStatusFieldCount> texts = {
        FromUtf8(market.Name),          FromUtf8(specs.VeneerRuleName),
        FromUtf8(specs.SawlogRuleName), FromUtf8(specs.RoundwoodName),
        FromUtf8(specs.LogRuleName),    FromUtf8(specs.PriceSetName),
        FromUtf8(specs.FilterSetName),  QString::number(market.TrimAllowance())};
    for (std::size_t i = 0; i < kStatusFieldCount; ++i) {
        fields_[i]->setText(texts[i]);
        fields_[i]->setCursorPosition(0);
    }
}

void StatusPanel::CopyFrom(const StatusPanel& other) {
    for (std::size_t i = 0; i < kStatusFieldCount; ++i) {
        fields_[i]->setText(other.fields_[i]->text());
        fields_[i]->setCursorPosition(0);
    }
}

QString StatusPanel::Text(StatusField field) const {
    return fields_[static_cast<std::size_t>(field)]->text();
}

} // namespace varnok::app
