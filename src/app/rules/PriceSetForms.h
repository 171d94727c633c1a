#pragma once

#include "rules/PriceSetCells.h"
#include "support/DataFolder.h"

#include "app/ClosableDialog.h"
#include "app/rules/RuleFileViewer.h"

class QLineEdit;

namespace varnok::app {

class RuleFileList;
class RuleGrid;

// "View Price Set": the files of the price folder and the rows of the one chosen, read
// through the price-set reader, whose checks refuse foreign and damaged files.
class TReadPrice : public RuleFileViewer {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TReadPrice(const DataFolder& data, QWidget* parent);
};

// "Define Price Set": prices of the six veneer and sawlog rows and of the roundwood and cull
// rows of a roundwood product set the user selects, stored under a name of the user's. Every
// cell is checked before any file is touched; the dialog stays open on any failure and hides
// once the set is saved.
class TDefineNewLogPrices : public ClosableDialog {
    Q_OBJECT

public:
    // `data` must outlive the dialog.
    TDefineNewLogPrices(const DataFolder& data, QWidget* parent);

protected:
    // The name and every cell are emptied, the heads and the six fixed rows written again.
    void showEvent(QShowEvent* event) override;

private:
    void Button1Click();
    void Button2Click();
    void SavePriceFileClick();
    void Save(const QString& name, const PriceSet& set);
    // Shows `heads_` beside the prices the user typed; a cull row without prices shows zeros
    // and takes no typing.
    void PaintRowHeads();

    const DataFolder& data_;
    RuleFileList* list_;
    RuleGrid* grid_;
    QLineEdit* name_;
    PriceRowHeads heads_ = PriceRowHeadsWithoutRoundwood();
};

} // namespace varnok::app
