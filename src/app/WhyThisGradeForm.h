#pragma once

#include "coach/ComparisonCoaching.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace varnok::app {

// "Why This Grade": for the log the bucker clicked on a comparison picture, every grade better
// than the one it reached and that one, each with the rule that decided it and the log's
// numbers against the limit, and what the log fetches sold each way. Shown without blocking;
// Esc or "&Close" hides it.
class TWhyThisGradeForm : public QDialog {
    Q_OBJECT

public:
    explicit TWhyThisGradeForm(QWidget* parent);

    // Shows `text` in place of what was shown, and brings the dialog to the front.
    void Present(const GradeExplanationText& text);

private:
    QLabel* heading_;
    QListWidget* reasons_;
};

} // namespace varnok::app
