// The printing layer: plain text lines printed to PDF and read back as a user reads the page.

#include "AppTestSupport.h"
#include "PdfText.h"
#include "TestSupport.h"

#include "app/print/Printing.h"

#include <QMessageBox>
#include <QPrinterInfo>
#include <QTest>

#include <clocale>

namespace varnok {
namespace {

app::TextDocument Numbered(int count) {
    app::TextDocument document{"Numbered Lines", {}};
    for (int n = 1; n <= count; ++n) {
        // A blank line now and then must keep its place.
        document.Lines << (n % 10 == 0 ? QString() : QString("Line %1 of the document").arg(n));
    }
    return document;
}

std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

std::string FileName(const std::filesystem::path& path) {
    return path.filename().string();
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    void ALongDocumentRunsOntoASecondPage() {
        const test::TempFolder folder;
        const app::TextDocument document = Numbered(100);
        app::PrintToPdf(folder.Path() / "long.pdf", document);
        const QList<QStringList> pages = test::PdfPages(folder.Path() / "long.pdf");
        QCOMPARE(pages.size(), 2);
        QVERIFY2(pages[0].size() > 50, qPrintable(QString::number(pages[0].size())));
        QCOMPARE(pages[0].front(), QString("Line 1 of the document"));
        QCOMPARE(pages[0] + pages[1], document.Lines.mid(0, 99)); // line 100 is blank
    }

    // A line wider than the page at the usual size is printed smaller, never cut at the margin.
    void AWideLineIsPrintedWhole() {
        const test::TempFolder folder;
        const QString wide = "Wide " + QString(130, 'x') + " end";
        app::PrintToPdf(folder.Path() / "wide.pdf", {"Wide", {"Short", wide}});
        const QList<QStringList> pages = test::PdfPages(folder.Path() / "wide.pdf");
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0], (QStringList{"Short", wide}));
    }

    void ReportFilesAreNamedFromTheirTitleAndNeverReplaced() {
        const test::TempFolder temp;
        const std::filesystem::path folder = temp.Path() / "Data" / "Reports"; // made here
        struct Case {
            QString title;
            std::string first;
            std::string second;
        };
        const Case cases[] = {
            {"Saw Grading Rules Full Matrix - A", "Saw Grading Rules Full Matrix - A.pdf",
             "Saw Grading Rules Full Matrix - A (2).pdf"},
            {"a/b\\c", "a_b_c.pdf", "a_b_c (2).pdf"},
            {".hidden", "_hidden.pdf", "_hidden (2).pdf"},
            {"tab\tand\nline", "tab_and_line.pdf", "tab_and_line (2).pdf"},
            {"  ", "Report.pdf", "Report (2).pdf"},
            {QString(300, 'x'), std::string(200, 'x') + ".pdf", std::string(200, 'x') + " (2).pdf"},
            // Cut at 200 bytes of UTF-8, never inside a character.
            {QString(150, QChar(0xE9)), Repeat("\xC3\xA9", 100) + ".pdf",
             Repeat("\xC3\xA9", 100) + " (2).pdf"},
        };
        for (const Case& c : cases) {
            const std::filesystem::path first = app::ReserveReportFile(folder, c.title);
            test::WriteText(first, "an earlier report");
            const std::filesystem::path second = app::ReserveReportFile(folder, c.title);
            QCOMPARE(first.parent_path(), folder);
            QCOMPARE(FileName(first), c.first);
            QCOMPARE(FileName(second), c.second);
            QCOMPARE(test::ReadBytes(first).size(), std::size_t{17});
            QVERIFY(std::filesystem::is_regular_file(second));
        }
        // Where the folder cannot be made, the error names it.
        test::WriteText(temp.Path() / "File", "in the way");
        try {
            (void)app::ReserveReportFile(temp.Path() / "File" / "Reports", "T");
            QFAIL("no error for a folder that cannot be made");
        } catch (const FileError& error) {
            QCOMPARE(error.Path(), temp.Path() / "File" / "Reports");
        }
    }

    // Without a printer the document lands in the data folder's "Reports" and the user is told
    // where; a failure is shown as one.
    void WithoutAPrinterTheReportGoesToTheDataFolder() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
            QSKIP("this machine has a printer; the PDF fallback is not taken");
        }
        const test::TempFolder folder;
        const DataFolder data(folder.Path());
        QWidget parent;
        parent.show();
        QVERIFY(app::PrintDocument(&parent, data, Numbered(5)));
        const std::filesystem::path pdf = data.Reports() / "Numbered Lines.pdf";
        auto* told = parent.findChild<QMessageBox*>("MessageBox");
        QVERIFY(told != nullptr);
        QVERIFY2(told->text().contains(QString::fromStdString(pdf.string())),
                 qPrintable(told->text()));
        QCOMPARE(test::PdfPages(pdf), (QList<QStringList>{Numbered(5).Lines}));
        test::Click(told->button(QMessageBox::Ok));
        QTRY_VERIFY(parent.findChild<QMessageBox*>("MessageBox") == nullptr);

        std::filesystem::remove_all(data.Reports());
        test::WriteText(data.Reports(), "a file where the folder should be");
        QVERIFY(!app::PrintDocument(&parent, data, Numbered(5)));
        auto* error = parent.findChild<QMessageBox*>("ErrorBox");
        QVERIFY(error != nullptr);
        QVERIFY2(error->text().contains("Reports"), qPrintable(error->text()));
        QVERIFY(parent.findChild<QMessageBox*>("MessageBox") == nullptr);
    }
};

} // namespace varnok

QTEST_MAIN(varnok::PrintingTest)
#include "PrintingTest.moc"
