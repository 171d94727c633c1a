#include "app/market/MarketDialogParts.h"

#include "app/rules/RuleDialogParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace varnok::app {

EitherButtons AddEitherButtons(QBoxLayout* layout, QWidget* parent, int step, const char* firstName,
                               const char* firstCaption, const char* secondName,
                               const char* secondCaption) {
    auto* buttons = new QWidget(parent);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    auto* first = new QPushButton(firstCaption, buttons);
    first->setObjectName(firstName);
    auto* second = new QPushButton(secondCaption, buttons);
    second->setObjectName(secondName);
    row->addWidget(first);
    row->addWidget(new QLabel("or", buttons));
    row->addWidget(second);
    AddStep(layout, parent, step, buttons);
    return {first, second, row};
}

} // namespace varnok::app
