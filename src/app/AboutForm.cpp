#include "app/AboutForm.h"

namespace varnok::app {

TAboutForm::TAboutForm(QWidget* parent)
    : InfoForm("TAboutForm", "About Varnok", "Varnok vs 3.2.9.bucker", 1, "&Close", parent) {}

} // namespace varnok::app
