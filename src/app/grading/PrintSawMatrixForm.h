#pragma once

#include "app/ClosableDialog.h"
#include "support/DataFolder.h"

#include <functional>

class QPushButton;

namespace varnok {
class Market;
}

namespace varnok::app {

// "PrintSawMatrixForm": one button, "Print", that prints the full matrix of the sawlog rules of
// the market in force (every grade, diameter set and length variation) and then reads "done".
// It reads "Print" again each time the dialog is shown.
class TPrintSawMatrixForm : public ClosableDialog {
    Q_OBJECT

public:
    // `market` gives the market in force when "Print" is pressed (null when none is loaded);
    // `data` must outlive the dialog.
    TPrintSawMatrixForm(const DataFolder& data, std::function<const Market*()> market,
                        QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PrintClick();

    const DataFolder& data_;
    std::function<const Market*()> market_;
    QPushButton* print_;
};

} // namespace varnok::app
