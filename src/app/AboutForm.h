#pragma once

#include "app/InfoForm.h"

namespace varnok::app {

// "About Varnok": the version.
class TAboutForm : public InfoForm {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent);
};

} // namespace varnok::app
