#include "app/WebResourcesForm.h"

namespace varnok::app {

TWebResourcesForm::TWebResourcesForm(QWidget* parent)
    : InfoForm("TWebResourcesForm", "Web Resources",
               "Guides, sample markets and news: see the Varnok web site, "
               "https://www.varnok.example",
               1, "&Close", parent) {}

} // namespace varnok::app
