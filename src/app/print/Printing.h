#pragma once

#include "support/DataFolder.h"

#include <QString>
#include <QStringList>

#include <filesystem>

class QFileDialog;
class QPagedPaintDevice;
class QWidget;

namespace varnok::app {

// A printout as every report of the program is made: plain text lines without line ends.
struct TextDocument {
    QString Title;     // names the print job, the PDF's title and its file name
    QStringList Lines; // an empty line is a blank line
};

// Paints `document` on a paged device (a printer, a PDF writer) in a fixed-pitch font, as many
// lines to a page as fit, top to bottom. The font is 10 points, smaller when the widest line
// would not fit the page's width otherwise (not below 5 points). Throws VarnokError when the
// painter cannot begin on the device or a new page cannot be started; the device may then hold
// part of the document.
void PaintDocument(QPagedPaintDevice& device, const TextDocument& document);

// Writes `document` as an A4 PDF file at `path`, replacing it. Throws VarnokError or FileError
// naming the file when it cannot be written.
void PrintToPdf(const std::filesystem::path& path, const TextDocument& document);

// A report file of its own in `folder` (created when missing), named from `title`:
// "<title>.pdf", else "<title> (2).pdf", "<title> (3).pdf", ... Characters that cannot stand in
// a file name (path separators, control characters, a leading dot) become "_". The file is
// created empty here, so no other report can take the same name before it is written. Throws
// FileError naming the folder or file when neither can be made.
std::filesystem::path ReserveReportFile(const std::filesystem::path& folder, const QString& title);

// Prints `document`: on the default printer when the system has one (the first printer when
// none is the default), else into a new PDF file in the data folder's "Reports" folder
// (ReserveReportFile), telling the user where the file went in a message box over `parent`
// that does not block. A failure is shown over `parent` in an error box, never as success, and
// a PDF that could not be written is removed. Returns whether the document was printed.
bool PrintDocument(QWidget* parent, const DataFolder& data, const TextDocument& document);

// The dialog in which a comma-separated report file is named (objectName "SaveDialog1"): Qt's
// own dialog on every desktop, saving, ".csv" added to a bare name. Owned by `parent`; the
// caller sets its folder and file, connects it and opens it.
QFileDialog* MakeCsvSaveDialog(QWidget* parent, const QString& title);

} // namespace varnok::app
