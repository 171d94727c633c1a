#include "app/Application.h"

#include "app/MainWindow.h"
#include "support/DataFolder.h"

#include <QCommandLineParser>
#include <QMessageBox>

#include <optional>

namespace varnok::app {

int Run(const QStringList& arguments) {
    QApplication::setApplicationName("varnok");
    QApplication::setApplicationDisplayName("Varnok");
    QCommandLineParser parser;
    parser.setApplicationDescription("Varnok: a trainer and optimiser for bucking hardwood stems");
    parser.addHelpOption();
    const QCommandLineOption dataOption("data", "The data folder.", "DIR");
    const QCommandLineOption allCommands(
        "all-commands", "Show the commands hidden in the standard configuration (instructors).");
    parser.addOption(dataOption);
    parser.addOption(allCommands);
    parser.process(arguments);

    std::optional<std::string> dataText;
    if (parser.isSet(dataOption)) {
        dataText = parser.value(dataOption).toStdString();
    }
    std::optional<DataFolder> data;
    try {
        data = ResolveDataFolder(dataText, QApplication::applicationFilePath().toStdString());
        CheckDataFolder(*data);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Varnok", QString::fromUtf8(error.what()));
        return 1;
    }
    TMain window(*data, parser.isSet(allCommands));
    window.showMaximized();
    return QApplication::exec();
}

} // namespace varnok::app
