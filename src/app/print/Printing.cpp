#include "app/print/Printing.h"

#include "app/ErrorBox.h"
#include "support/Errors.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace varnok::app {
namespace {

constexpr double kPointSize = 10.0;
constexpr double kSmallestPointSize = 5.0;
constexpr int kMaxFileNameBytes = 200; // leaves room for " (NNNN).pdf" within 255 bytes
constexpr int kMaxReportsOfOneTitle = 9999;

std::string Text(const QString& text) {
    return text.toStdString();
}

double WidestLine(const QFont& font, QPaintDevice& device, const QStringList& lines) {
    const QFontMetricsF metrics(font, &device);
    double widest = 0.0;
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// A fixed-pitch font at 10 points, or as much smaller as the widest line needs to fit the page:
// a wide table is better printed small than cut at the margin.
QFont FittedFont(QPaintDevice& device, const QStringList& lines) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    double size = kPointSize;
    font.setPointSizeF(size);
    // Hinting makes widths not quite proportional to the size, so step down until it fits.
    while (size > kSmallestPointSize && WidestLine(font, device, lines) > device.width()) {
        size = std::max(kSmallestPointSize, size - 0.25);
        font.setPointSizeF(size);
    }
    return font;
}

QString FileNameBase(const QString& title) {
    QString base = title.trimmed();
    for (QChar& c : base) {
        if (c == '/' || c == '\\' || c.category() == QChar::Other_Control) {
            c = '_';
        }
    }
    if (base.startsWith('.')) {
        base[0] = '_';
    }
    while (base.toUtf8().size() > kMaxFileNameBytes) {
        base.chop(base.size() > 1 && base.back().isLowSurrogate() ? 2 : 1);
    }
    return base.isEmpty() ? QString("Report") : base;
}

void PrintOnPrinter(const QStringList& printers, const TextDocument& document) {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        info = QPrinterInfo::printerInfo(printers.front());
    }
    QPrinter printer(info);
    printer.setDocName(document.Title);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    PaintDocument(printer, document);
}

} // namespace

void PaintDocument(QPagedPaintDevice& device, const TextDocument& document) {
    const std::string what = "The printout \"" + Text(document.Title) + "\"";
    QPainter painter;
    if (!painter.begin(&device)) {
        throw VarnokError(what + " could not be started: the printer or the file refused it.");
    }
    const QFont font = FittedFont(device, document.Lines);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    const double spacing = metrics.lineSpacing();
    const int linesPerPage = std::max(1, static_cast<int>(device.height() / spacing));
    int line = 0;
    int page = 1;
    for (const QString& text : document.Lines) {
        if (line == linesPerPage) {
            ++page;
            if (!device.newPage()) {
                throw VarnokError(what + " stopped: page " + std::to_string(page) +
                                  " could not be started.");
            }
            line = 0;
        }
        painter.drawText(QPointF(0.0, line * spacing + metrics.ascent()), text);
        ++line;
    }
    if (!painter.end()) {
        throw VarnokError(what + " could not be finished.");
    }
}

void PrintToPdf(const std::filesystem::path& path, const TextDocument& document) {
    {
        QPdfWriter writer(QString::fromStdString(path.string()));
        writer.setTitle(document.Title);
        writer.setCreator("Varnok");
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        try {
            PaintDocument(writer, document);
        } catch (const VarnokError& error) {
            throw FileError(path, error.what());
        }
    }
    // The writer reports no failure of the writes it makes when it closes the file.
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) == 0 || ec) {
        throw FileError(path, "the PDF file could not be written");
    }
}

std::filesystem::path ReserveReportFile(const std::filesystem::path& folder, const QString& title) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        throw FileError(folder, IoErrorText(ec.value()));
    }
    const QString base = FileNameBase(title);
    for (int n = 1; n <= kMaxReportsOfOneTitle; ++n) {
        const QString name = n == 1 ? base + ".pdf" : base + " (" + QString::number(n) + ").pdf";
        const std::filesystem::path path = folder / Text(name);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            throw FileError(path, IoErrorText(errno));
        }
    }
    throw FileError(folder / Text(base + ".pdf"),
                    "there are " + std::to_string(kMaxReportsOfOneTitle) +
                        " reports of this name already; remove some of them");
}

bool PrintDocument(QWidget* parent, const DataFolder& data, const TextDocument& document) {
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (!printers.isEmpty()) {
        return Guarded(parent, [&] { PrintOnPrinter(printers, document); });
    }
    std::filesystem::path path;
    const bool written = Guarded(parent, [&] {
        path = ReserveReportFile(data.Reports(), document.Title);
        try {
            PrintToPdf(path, document);
        } catch (...) {
            std::error_code ec;
            std::filesystem::remove(path, ec);
            throw;
        }
    });
    if (written) {
        ShowMessage(parent, document.Title,
                    "No printer is set up, so the printout was written as a PDF file; the file "
                    "went to:\n" +
                        QString::fromStdString(path.string()));
    }
    return written;
}

QFileDialog* MakeCsvSaveDialog(QWidget* parent, const QString& title) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName("SaveDialog1");
    dialog->setOption(QFileDialog::DontUseNativeDialog); // the same dialog on every desktop
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({"Comma-separated files (*.csv)", "All files (*)"});
    dialog->setDefaultSuffix("csv");
    return dialog;
}

} // namespace varnok::app
