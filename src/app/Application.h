#pragma once

#include <QApplication>
#include <QStringList>

namespace varnok::app {

// Within the running QApplication: reads the command line `arguments` (the program first;
// --data DIR, --all-commands), finds the data folder, creates the main window and every dialog,
// and runs the event loop. A folder that is not a data folder (missing, or without "Markets" or
// "Shapes") is reported in a message box and the program ends with status 1, instead of
// starting with an empty market list. Returns the exit status.
int Run(const QStringList& arguments);

} // namespace varnok::app
