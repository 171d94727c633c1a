#pragma once

#include <QListWidget>

#include <filesystem>
#include <optional>
#include <string>

namespace varnok::app {

// The files of one rule folder as every rule dialog lists them: regular files only (no
// dot-files), sorted by name ignoring letter case, read afresh each time the list is shown so
// that a rule set saved a moment ago is there (not when the window is only restored from the
// task bar, which keeps the selection). A folder that cannot be read lists nothing.
class RuleFileList : public QListWidget {
    Q_OBJECT

public:
    RuleFileList(std::filesystem::path folder, QWidget* parent);

    const std::filesystem::path& Folder() const { return folder_; }
    // Reads the folder again; the first entry is current when `selectFirst`, else none.
    void Refresh(bool selectFirst = false);
    // The file name of the current entry, if one is selected.
    std::optional<std::string> Selected() const;
    // Makes the entry named `name` current; false when the folder holds no such file.
    bool Select(const std::string& name);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::filesystem::path folder_;
};

} // namespace varnok::app
