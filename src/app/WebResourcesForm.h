#pragma once

#include "app/InfoForm.h"

namespace varnok::app {

// "Web Resources": where to find more about Varnok.
class TWebResourcesForm : public InfoForm {
    Q_OBJECT

public:
    explicit TWebResourcesForm(QWidget* parent);
};

} // namespace varnok::app
