#pragma once

#include "app/InfoForm.h"

namespace varnok::app {

// "Welcome": what Varnok is for and how a game goes.
class TWelcomeForm : public InfoForm {
    Q_OBJECT

public:
    explicit TWelcomeForm(QWidget* parent);
};

} // namespace varnok::app
