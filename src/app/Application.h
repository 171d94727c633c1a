#pragma once

#include <QApplication>

namespace varnok::app {

// Reads the command line (--data DIR, --all-commands), finds the data folder, creates the main
// window and every dialog, and runs the event loop. Returns the exit status.
int Run(QApplication& application);

} // namespace varnok::app
