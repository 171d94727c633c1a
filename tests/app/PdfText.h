#pragma once

// Reads a printed PDF back as text, as a user would see it on the page: `pdftotext -layout`
// (poppler-utils), one entry per page, each a list of lines without trailing blanks, the blank
// lines at the end of a page dropped.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include <filesystem>

namespace varnok::test {

inline QList<QStringList> PdfPages(const std::filesystem::path& pdf) {
    QProcess process;
    process.start("pdftotext", {"-layout", QString::fromStdString(pdf.string()), "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("pdftotext failed on %s: %s", pdf.c_str(),
                 process.readAllStandardError().constData());
        return {};
    }
    QList<QStringList> pages;
    QStringList pageTexts = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
    if (!pageTexts.isEmpty() && pageTexts.back().trimmed().isEmpty()) {
        pageTexts.removeLast(); // the form feed after the last page
    }
    for (const QString& text : pageTexts) {
        QStringList lines;
        for (const QString& line : text.split('\n')) {
            QString trimmed = line;
            while (!trimmed.isEmpty() && trimmed.back().isSpace()) {
                trimmed.chop(1);
            }
            lines << trimmed;
        }
        while (!lines.isEmpty() && lines.back().isEmpty()) {
            lines.removeLast();
        }
        pages << lines;
    }
    return pages;
}

// The lines with every run of blanks made one blank. The reader places words by their
// position on the page and now and then puts a blank more between columns of a table, so
// tables are compared word by word (their spacing is pinned where the lines are made).
inline QStringList SqueezeBlanks(const QStringList& lines) {
    QStringList squeezed;
    for (const QString& line : lines) {
        squeezed << line.simplified();
    }
    return squeezed;
}

} // namespace varnok::test
