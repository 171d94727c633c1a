#include "app/grading/PrintSawMatrixForm.h"

#include "app/ErrorBox.h"
#include "app/print/Printing.h"
#include "grading/SawlogRulesView.h"
#include "market/Market.h"
#include "support/Errors.h"

#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace varnok::app {

TPrintSawMatrixForm::TPrintSawMatrixForm(const DataFolder& data,
                                         std::function<const Market*()> market, QWidget* parent)
    : ClosableDialog(parent), data_(data), market_(std::move(market)) {
    setObjectName("TPrintSawMatrixForm");
    setWindowTitle("PrintSawMatrixForm");
    auto* layout = new QVBoxLayout(this);
    print_ = new QPushButton("Print", this);
    print_->setObjectName("Button1");
    print_->setMinimumWidth(print_->sizeHint().width() * 2);
    layout->addWidget(print_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(print_, &QPushButton::clicked, this, &TPrintSawMatrixForm::PrintClick);
}

void TPrintSawMatrixForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) { // not when restored from the task bar
        print_->setText("Print");
    }
    ClosableDialog::showEvent(event);
}

void TPrintSawMatrixForm::PrintClick() {
    const Market* market = market_();
    if (market == nullptr) {
        ShowError(this, VarnokError("No market is loaded: choose one with \"Buck With "
                                    "Optimal\" first."));
        return;
    }
    TextDocument document;
    document.Title = "Saw Grading Rules Full Matrix - " + QString::fromStdString(market->Name);
    for (const std::string& line :
         SawlogFullMatrixLines(market->SawlogRules, market->Name, market->Specs().SawlogRuleName)) {
        document.Lines << QString::fromStdString(line);
    }
    if (PrintDocument(this, data_, document)) {
        print_->setText("done");
    }
}

} // namespace varnok::app
