#include "app/RuleFileSave.h"

#include "app/ErrorBox.h"
#include "support/Files.h"

#include <QLocale>
#include <QMessageBox>

namespace varnok::app {
namespace {

void Write(QWidget* parent, const std::filesystem::path& path,
           const std::vector<std::uint8_t>& bytes, const std::function<void()>& saved) {
    if (Guarded(parent, [&] { WriteFileBytes(path, bytes); }) && saved) {
        saved();
    }
}

} // namespace

void SaveRuleFile(QWidget* parent, const std::filesystem::path& folder, const QString& name,
                  const std::string& what, std::vector<std::uint8_t> bytes,
                  std::function<void()> saved) {
    const std::string typed = name.toStdString();
    if (!Guarded(parent, [&] { CheckPlainName(typed, what); })) {
        return;
    }
    const std::filesystem::path path = FindEntry(folder, typed);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        Write(parent, path, bytes, saved);
        return;
    }
    const QString existing = QString::fromStdString(path.filename().string());
    auto* box = new QMessageBox(QMessageBox::Question, "Varnok",
                                QString("A %1 named \"%2\" exists already. Replace it?")
                                    .arg(QString::fromStdString(what), existing),
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName("ReplaceBox");
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(
        box, &QMessageBox::finished, parent,
        [parent, path, bytes = std::move(bytes), saved = std::move(saved)](int result) {
            if (result == QMessageBox::Yes) {
                Write(parent, path, bytes, saved);
            }
        });
    box->open();
}

bool CommaIsDecimalSeparator() {
    return QLocale().decimalPoint() == QChar(',');
}

} // namespace varnok::app
