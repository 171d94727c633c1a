#pragma once

#include "rules/RuleCells.h"

#include "app/ClosableDialog.h"

#include <filesystem>
#include <functional>
#include <string>

namespace varnok::app {

class RuleFileList;
class RuleGrid;

// What the rule-file viewers share: the files of one rule folder and a read-only table of the
// one chosen. A file the reader refuses (too short, foreign, damaged) is reported and leaves
// the table with its heads only, never with the cells of the file viewed before.
class RuleFileViewer : public ClosableDialog {
    Q_OBJECT

public:
    // Shows the viewer with the file `name` selected and viewed; a name that differs from a
    // file only in letter case is that file. A file that cannot be read shows its error.
    void ShowFile(const std::string& name);

protected:
    // The table of a file; throws when the file cannot be used.
    using Reader = std::function<RuleGridTexts(const std::filesystem::path&)>;

    // `heads` is the table with its cells empty; the subclass lays out List() and Grid().
    RuleFileViewer(const std::filesystem::path& folder, const RuleGridTexts& heads,
                   int fixedColumns, int visibleRows, Reader read, QWidget* parent);

    RuleFileList* List() const { return list_; }
    RuleGrid* Grid() const { return grid_; }
    // The view button and a double click: views the selected file, if one is.
    void ViewSelected();

    // The table is emptied, and scrolled to its first row, each time the viewer is shown.
    void showEvent(QShowEvent* event) override;
    // A file saved while the viewer is open is listed when the viewer is next activated.
    bool event(QEvent* event) override;

private:
    void View(const std::filesystem::path& path);

    RuleGridTexts heads_;
    Reader read_;
    RuleFileList* list_;
    RuleGrid* grid_;
};

} // namespace varnok::app
