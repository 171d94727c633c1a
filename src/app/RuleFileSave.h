#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace varnok::app {

// Saves a rule file as every editor does, once the editor has turned all its cells into the
// record `bytes` (so a bad cell never touches a file): the name must be a plain file name
// (CheckPlainName; `what` names the kind in messages: "log rule", "price set"); a file of the
// same name, ignoring letter case, is the same file and is replaced only when the user says Yes
// to "replace?" (a message box named "ReplaceBox", not blocking); the bytes are written through
// WriteFileBytes, so a failed write leaves the old file. `saved` runs once the file is written;
// any failure is shown over `parent` and `saved` does not run, so the editor stays open.
void SaveRuleFile(QWidget* parent, const std::filesystem::path& folder, const QString& name,
                  const std::string& what, std::vector<std::uint8_t> bytes,
                  std::function<void()> saved);

// Whether numbers typed by this user may use a comma as decimal separator (their locale
// writes decimals so); a point is always accepted (ParseCellDecimal).
bool CommaIsDecimalSeparator();

} // namespace varnok::app
