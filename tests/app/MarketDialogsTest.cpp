// The market dialogs and the market computation on the main window, driven as a user drives
// them: menu items, clicks on list entries and buttons, typed names, the question and error
// boxes. What the program computes is compared byte for byte with what varnok-cli writes, and a
// printed definition is read back from its PDF.

#include "AppTestSupport.h"
#include "PdfText.h"
#include "TestSupport.h"

#include "app/market/MarketComputationPanel.h"
#include "app/market/PrintMarketForm.h"
#include "market/OptimalCuts.h"
#include "services/MarketStats.h"

#include <QLineEdit>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <clocale>
#include <filesystem>

namespace varnok {
namespace {

namespace fs = std::filesystem;
using test::Activate;
using test::Answer;
using test::BundledCopy;
using test::ClickButton;
using test::ClickEntry;
using test::Find;
using test::Items;
using test::Open;
using test::WaitForBox;

constexpr int kLongWait = 60000; // milliseconds a computation may take on a busy machine

// The entries chosen in "Define Market", step by step: the six rule sets, then the trim. An
// empty entry is left unchosen.
using Choices = std::array<QString, 7>;
const Choices kAppalachian = {"Doyle",
                              "Hardwood Veneer",
                              "Factory Grades",
                              "Appalachian Doyle",
                              "Default Filter",
                              "Appalachian Roundwood",
                              "8"};

// The selected entry's text; empty when none is.
QString Selected(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item != nullptr && item->isSelected() ? item->text() : QString();
}

QListWidget* List(const QWidget* dialog, int number) {
    return Find<QListWidget>(dialog, "ListBox" + QString::number(number));
}

// Chooses the entries in the seven lists of "Define Market" and types the market's name.
void Fill(QWidget* dialog, const Choices& choices, const QString& name) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (!choices[i].isEmpty()) {
            ClickEntry(List(dialog, static_cast<int>(i) + 1), choices[i]);
        }
    }
    auto* edit = Find<QLineEdit>(dialog, "Edit1");
    edit->setFocus();
    QTest::keyClicks(edit, name);
}

Choices ChoicesShown(const QWidget* dialog) {
    Choices shown;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        shown[i] = Selected(List(dialog, static_cast<int>(i) + 1));
    }
    return shown;
}

app::MarketComputationPanel* Computation(const app::TMain& window) {
    return Find<app::MarketComputationPanel>(&window, "ProgressPanel");
}

// Computes market `name` from `choices` with varnok-cli in `data`, as a user of the command
// line would.
bool ComputeWithCli(const DataFolder& data, const QString& name, const Choices& choices) {
    QProcess cli;
    cli.start(VARNOK_CLI_PATH,
              {"--data", QString::fromStdString(data.Root().string()), "compute-market", "--name",
               name, "--log-rule", choices[0], "--veneer", choices[1], "--sawlog", choices[2],
               "--prices", choices[3], "--filter", choices[4], "--roundwood", choices[5], "--trim",
               choices[6]});
    return cli.waitForFinished(kLongWait) && cli.exitStatus() == QProcess::NormalExit &&
           cli.exitCode() == 0;
}

// Holds a computation at one tree: the tree's shape file becomes a FIFO that this end keeps
// open, so the worker that reads it waits for its content until Release gives it.
class HeldTree {
public:
    HeldTree(const DataFolder& data, int tree)
        : path_(data.ShapeFile(tree)), bytes_(test::ReadBytes(path_)) {
        fs::remove(path_);
        if (::mkfifo(path_.c_str(), 0600) != 0) {
            qFatal("no FIFO %s", path_.c_str());
        }
        fd_ = ::open(path_.c_str(), O_RDWR); // never blocks, and keeps the reader waiting
        path_ = fs::canonical(path_);
    }
    ~HeldTree() { Release(); }
    HeldTree(const HeldTree&) = delete;
    HeldTree& operator=(const HeldTree&) = delete;

    // Whether a worker has the file open and waits for its content.
    bool Waiting() const {
        int open = 0;
        for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            open += fs::read_symlink(entry.path(), ec) == path_ ? 1 : 0;
        }
        return open > 1; // this end is one
    }

    void Release() {
        if (fd_ < 0) {
            return;
        }
        const bool whole =
            ::write(fd_, bytes_.data(), bytes_.size()) == static_cast<ssize_t>(bytes_.size());
        ::close(fd_);
        fd_ = -1;
        if (!whole) {
            qFatal("the held tree could not be released");
        }
    }

private:
    fs::path path_;
    std::vector<std::uint8_t> bytes_;
    int fd_ = -1;
};

// Starts the computation of market `name` from "Define Market" and waits until it is held at
// tree 76 with trees 1 to 75 stored.
void ComputeUntilHeld(app::TMain& window, const HeldTree& held, const QString& name) {
    QWidget* define = Open(window, "DefineMarkeg1", "TCreateMarketForm");
    Fill(define, kAppalachian, name);
    ClickButton(define, "Button1");
    QVERIFY(!define->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(held.Waiting(), kLongWait);
    auto* line = Find<QLineEdit>(&window, "ProgressLine");
    QTRY_COMPARE_WITH_TIMEOUT(line->text(), QString("Working on Tree Number 76 of 150"), kLongWait);
    QVERIFY(line->isReadOnly());
    QVERIFY(line->isVisible());
    QCOMPARE(Find<QProgressBar>(&window, "ProgressBar")->value(), 75);
    QVERIFY(Computation(window)->Busy());
}

int TreesStored(const DataFolder& data, const std::string& market) {
    const std::vector<int> missing = MissingTrees(ReadOptimalCuts(data.OptimalCutsFile(market)));
    return kTreeCount - static_cast<int>(missing.size());
}

} // namespace

class MarketDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { std::setlocale(LC_ALL, "C"); }

    // A market defined in the dialog is computed in the background into the same files as
    // the command line's, and is in force at once. A rule name of 255 characters fills its
    // field of "Specs".
    void DefineMarketComputesWhatTheCommandLineComputes() {
        BundledCopy copy;
        const DataFolder& data = copy.Data;
        const std::string longName(255, 'D');
        fs::copy_file(data.LogRules() / "Doyle", data.LogRules() / longName);
        app::TMain window(data, true);
        window.show();
        // A tree in play under a market of 4 inches trim, which the new market replaces.
        test::StartTree(window, "Buck1", "Northern International", 5);
        QTRY_VERIFY(window.View() != nullptr);
        QVERIFY(window.Action("N4inches1")->isChecked());
        QWidget* define = Open(window, "DefineMarkeg1", "TCreateMarketForm");
        QCOMPARE(define->windowTitle(), QString("Define Market"));
        const QStringList steps = {
            "Select a log scaling rule.",    "Select a veneer grading rule.",
            "Select a sawlog grading rule.", "Select a price set.",
            "Select a defect filter set.",   "Select roundwood products.",
            "Select a trim allowance.",      "What would you like to name this market?"};
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(Find<QLabel>(define, "Label" + QString::number(step))->text(),
                     steps[step - 1]);
        }
        QCOMPARE(Items(List(define, 1)), (QStringList{QString::fromStdString(longName), "Doyle",
                                                      "International Quarter Inch", "Scribner"}));
        QCOMPARE(Items(List(define, 6)),
                 (QStringList{"Appalachian Roundwood", "Northern Roundwood"}));
        QCOMPARE(Items(List(define, 7)), (QStringList{"4", "8"}));
        auto* create = Find<QPushButton>(define, "Button1");
        QCOMPARE(create->text(), QString("Create Market"));
        QVERIFY(!create->isEnabled());
        QCOMPARE(Find<QLabel>(define, "Label9")->text(),
                 QString("Step 1 is still open: select a log scaling rule."));

        Choices choices = kAppalachian;
        choices[0] = QString::fromStdString(longName);
        Fill(define, choices, "Appalachian Copy");
        QVERIFY(create->isEnabled());
        QCOMPARE(Find<QLabel>(define, "Label9")->text(), QString());
        // Tab goes through the steps in order. The keys go to the active window, which the
        // veneer viewer shown at start-up may have become.
        QVERIFY(Activate(define));
        List(define, 1)->setFocus();
        for (const char* next : {"ListBox2", "ListBox3", "ListBox4", "ListBox5", "ListBox6",
                                 "ListBox7", "Edit1", "Button1", "Button2"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(next));
        }

        test::Click(create);
        QVERIFY(!define->isVisible());
        QVERIFY(!window.Action("DefineMarkeg1")->isEnabled()); // one computation at a time
        QTRY_VERIFY_WITH_TIMEOUT(!Computation(window)->Busy(), kLongWait);
        QVERIFY(!Computation(window)->isVisible());
        QVERIFY(window.Action("DefineMarkeg1")->isEnabled());
        QVERIFY(test::TopLevel("ErrorBox") == nullptr);
        QCOMPARE(window.CurrentMarket()->Name, std::string("Appalachian Copy"));
        QCOMPARE(Find<QLineEdit>(&window, "Edit3")->text(), QString("Appalachian Copy"));
        QCOMPARE(Find<QLineEdit>(&window, "Edit7")->text(), QString::fromStdString(longName));
        QCOMPARE(Find<QLineEdit>(&window, "Edit5")->text(), QString("8"));
        QVERIFY(window.Action("N8inches1")->isChecked());
        QVERIFY(!window.Action("N4inches1")->isChecked());
        QVERIFY(window.View() == nullptr); // the tree bucked under the old market is put away
        QVERIFY(!test::Canvas(&window)->HasStem());
        QVERIFY(!Find<QPushButton>(&window, "Button5")->isEnabled());

        QVERIFY(ComputeWithCli(data, "Reference", choices));
        const std::vector<std::uint8_t> specs =
            test::ReadBytes(data.MarketSpecsFile("Appalachian Copy"));
        QCOMPARE(specs.size(), std::size_t{4756});
        QCOMPARE(int(specs[0]), 8);
        QCOMPARE(int(specs[257]), 255); // the log rule's name fills its field
        QCOMPARE(std::string(specs.begin() + 258, specs.begin() + 513), longName);
        QVERIFY(specs == test::ReadBytes(data.MarketSpecsFile("Reference")));
        const std::vector<std::uint8_t> cuts =
            test::ReadBytes(data.OptimalCutsFile("Appalachian Copy"));
        QCOMPARE(cuts.size(), std::size_t{16200});
        QVERIFY(cuts == test::ReadBytes(data.OptimalCutsFile("Reference")));
        // The same rules as the bundled market: the same patterns.
        QVERIFY(cuts == test::ReadBytes(data.OptimalCutsFile("Appalachian Doyle")));
    }

    // A refused definition keeps the dialog open with every choice; nothing is written.
    void RefusalsKeepTheDialogAndItsChoices() {
        BundledCopy copy;
        const DataFolder& data = copy.Data;
        const std::vector<std::uint8_t> existing =
            test::ReadBytes(data.MarketSpecsFile("Appalachian Doyle"));
        app::TMain window(data, true);
        window.show();
        Choices noTrim = kAppalachian;
        noTrim[6].clear();
        Choices otherRoundwood = kAppalachian;
        otherRoundwood[5] = "Northern Roundwood";
        struct Case {
            const char* what;
            Choices choices;
            QString name;
            QString missing;   // what the dialog says is open; empty: "Create Market" works
            const char* box;   // the box "Create Market" brings up
            QStringList words; // in the box
        };
        const Case cases[] = {
            {"no trim",
             noTrim,
             "New",
             "Step 7 is still open: select a trim allowance.",
             nullptr,
             {}},
            {"a path",
             kAppalachian,
             "a/b",
             "The market name \"a/b\" holds a path separator; use a plain file name.",
             nullptr,
             {}},
            {"an existing market",
             kAppalachian,
             "Appalachian Doyle",
             "",
             "ErrorBox",
             {QString::fromStdString(data.MarketFolder("Appalachian Doyle").string()),
              "I/O error 183: a market named \"Appalachian Doyle\" exists already"}},
            {"the roundwood set of another price set",
             otherRoundwood,
             "New",
             "",
             "WarningBox",
             {"The roundwood rows of the price set \"Appalachian Doyle\" do not match the "
              "roundwood product set \"Northern Roundwood\": product 1 is \"Pulpwood\" in "
              "\"Tons\" in the price set but \"Pulpwood\" in \"Cords\" in the roundwood set; "
              "product 2 is \"Tie Logs\" in \"MBF\"",
              "Compute the market anyway?"}},
        };
        for (const Case& c : cases) {
            QWidget* define = Open(window, "DefineMarkeg1", "TCreateMarketForm");
            Fill(define, c.choices, c.name);
            auto* create = Find<QPushButton>(define, "Button1");
            QCOMPARE(Find<QLabel>(define, "Label9")->text(), c.missing);
            QCOMPARE(create->isEnabled(), c.missing.isEmpty());
            test::Click(create);
            if (c.box != nullptr) {
                QMessageBox* box = WaitForBox(c.box);
                for (const QString& word : c.words) {
                    QVERIFY2(box->text().contains(word), qPrintable(box->text()));
                }
                Answer(box, c.box == QString("WarningBox") ? QMessageBox::No : QMessageBox::Ok);
            }
            QVERIFY2(define->isVisible(), c.what);
            QCOMPARE(ChoicesShown(define), c.choices);
            QCOMPARE(Find<QLineEdit>(define, "Edit1")->text(), c.name);
            QVERIFY(!Computation(window)->Busy());
            QVERIFY(test::ReadBytes(data.MarketSpecsFile("Appalachian Doyle")) == existing);
            // Shown again: the rule sets still chosen, the trim and the name cleared.
            QTest::keyClick(Find<QWidget>(&window, "TCreateMarketForm"), Qt::Key_Escape);
            QVERIFY(!define->isVisible());
            define = Open(window, "DefineMarkeg1", "TCreateMarketForm");
            Choices kept = c.choices;
            kept[6].clear();
            QCOMPARE(ChoicesShown(define), kept);
            QCOMPARE(Find<QLineEdit>(define, "Edit1")->text(), QString());
            ClickButton(define, "Button2"); // Cancel
            QVERIFY(!define->isVisible());
        }
        QVERIFY(!fs::exists(data.MarketFolder("New")));
    }

    // Half-way through, the market is marked and cannot be chosen; cancelled, it keeps its
    // trees and every list marks it incomplete. The window answers all the while.
    void ACancelledComputationIsMarkedIncomplete() {
        BundledCopy copy;
        const DataFolder& data = copy.Data;
        app::TMain window(data, true);
        window.show();
        HeldTree held(data, 76); // released before the window goes
        ComputeUntilHeld(window, held, "Halfway");
        QVERIFY(!window.Action("DefineMarkeg1")->isEnabled());
        // The trees computed reach the file within moments of the computation's waiting.
        QTRY_COMPARE(TreesStored(data, "Halfway"), 75);

        QWidget* markets = Open(window, "Buck1", "TSelectMarketForm");
        auto* marketList = Find<QListWidget>(markets, "ListBox1");
        QCOMPARE(Items(marketList),
                 (QStringList{"Appalachian Doyle",
                              "Halfway (being computed: trees 1 to 75 of 150 stored)",
                              "Lake States Scribner", "Northern International"}));
        ClickEntry(marketList, "Halfway (being computed: trees 1 to 75 of 150 stored)", true);
        QMessageBox* refusal = WaitForBox("ErrorBox");
        QCOMPARE(refusal->text(), QString("The market \"Halfway\" is being computed now. It can "
                                          "be chosen once its computation is done."));
        Answer(refusal);
        QVERIFY(markets->isVisible());
        QVERIFY(window.CurrentMarket() == nullptr);
        markets->hide();

        ClickButton(&window, "CancelComputation");
        QVERIFY(!Find<QPushButton>(&window, "CancelComputation")->isEnabled());
        held.Release();
        QTRY_VERIFY_WITH_TIMEOUT(!Computation(window)->Busy(), kLongWait);
        QMessageBox* error = WaitForBox("ErrorBox");
        QCOMPARE(error->text(), QString("The computation of market \"Halfway\" was cancelled "
                                        "after 75 of 150 trees; the optimal patterns of trees 1 "
                                        "to 75 are stored."));
        Answer(error);
        QVERIFY(window.CurrentMarket() == nullptr);
        QVERIFY(window.Action("DefineMarkeg1")->isEnabled());
        QCOMPARE(TreesStored(data, "Halfway"), 75);

        const QString incomplete = "Halfway (incomplete: trees 1 to 75 of 150 stored)";
        markets = Open(window, "Buck1", "TSelectMarketForm");
        QCOMPARE(Items(Find<QListWidget>(markets, "ListBox1"))[1], incomplete);
        markets->hide();
        QWidget* view = Open(window, "ViewMarketDefinition1", "TViewMarketDefinitionForm");
        QCOMPARE(Items(Find<QListWidget>(view, "ListBox6"))[1], incomplete);
        view->hide();

        // A computation that fails at a tree says which, and keeps the trees before it.
        fs::remove(data.DefectFile(5));
        QWidget* define = Open(window, "DefineMarkeg1", "TCreateMarketForm");
        Fill(define, kAppalachian, "Failing");
        ClickButton(define, "Button1");
        QTRY_VERIFY_WITH_TIMEOUT(!Computation(window)->Busy(), kLongWait);
        error = WaitForBox("ErrorBox");
        QVERIFY2(error->text().contains("Tree5.DEF: File not found"), qPrintable(error->text()));
        Answer(error);
        QVERIFY(window.CurrentMarket() == nullptr);
        markets = Open(window, "Buck1", "TSelectMarketForm");
        QCOMPARE(Items(Find<QListWidget>(markets, "ListBox1"))[1],
                 QString("Failing (incomplete: trees 1 to 4 of 150 stored)"));
    }

    // Closing the program while a market is computed asks first; on Yes the computation is
    // stopped and the window waits for it before it closes.
    void ClosingWhileComputingStopsAndWaits() {
        BundledCopy copy;
        const DataFolder& data = copy.Data;
        app::TMain window(data, true);
        window.show();
        HeldTree held(data, 76);
        ComputeUntilHeld(window, held, "Closing");

        window.close();
        Answer(WaitForBox("WarningBox"), QMessageBox::No);
        QVERIFY(window.isVisible());
        QVERIFY(Computation(window)->Busy());

        window.close();
        QMessageBox* question = WaitForBox("WarningBox");
        QVERIFY2(question->text().contains("\"Closing\" is being computed. Stop the computation "
                                           "and quit?"),
                 qPrintable(question->text()));
        Answer(question, QMessageBox::Yes);
        QTest::qWait(50);
        QVERIFY(window.isVisible()); // the tree under way is not done yet
        QVERIFY(Computation(window)->Busy());
        held.Release();
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), kLongWait);
        QVERIFY(!Computation(window)->Busy());
        QVERIFY(test::TopLevel("ErrorBox") == nullptr);
        QCOMPARE(TreesStored(data, "Closing"), 75);
    }

    // "View Market" shows a market's definition and opens the viewers on its own files; a
    // "Specs" that cannot be read is reported and shows nothing.
    void ViewMarketShowsTheDefinitionAndItsRuleFiles() {
        BundledCopy copy;
        const DataFolder& data = copy.Data;
        fs::create_directories(data.MarketFolder("Broken"));
        test::WriteText(data.MarketSpecsFile("Broken"), "short");
        app::TMain window(data, false);
        window.show();
        QWidget* view = Open(window, "ViewMarketDefinition1", "TViewMarketDefinitionForm");
        QCOMPARE(view->windowTitle(), QString("View Market Definition"));
        QCOMPARE(Find<QLabel>(view, "Label1")->text(), QString("Select market to be viewed"));
        auto* list = Find<QListWidget>(view, "ListBox6");
        QCOMPARE(Items(list),
                 (QStringList{"Appalachian Doyle", "Broken (optimal patterns unreadable)",
                              "Lake States Scribner", "Northern International"}));
        QCOMPARE(Selected(list), QString());
        QCOMPARE(Find<QPushButton>(view, "Button7")->text(), QString("View Market Definition"));
        QCOMPARE(Find<QPushButton>(view, "Button10")->text(), QString("Print Market Definition"));
        QVERIFY(!Find<QPushButton>(view, "Button7")->isEnabled());
        QVERIFY(!Find<QPushButton>(view, "Button10")->isEnabled());
        QVERIFY(!Find<QPushButton>(view, "Button2")->isEnabled());

        const QStringList labels = {"Veneer Grading Rule Used",
                                    "Price Set Used",
                                    "Sawlog Grading Rule",
                                    "Defect Filter Set Used",
                                    "Roundwood Products Used",
                                    "Trim Allowance Used",
                                    "Log Rule Used"};
        const QStringList northern = {"Hardwood Veneer",
                                      "Northern International",
                                      "Factory Grades",
                                      "Default Filter",
                                      "Northern Roundwood",
                                      "4",
                                      "International Quarter Inch"};
        ClickEntry(list, "Northern International");
        ClickButton(view, "Button7");
        for (int f = 1; f <= 7; ++f) {
            auto* field = Find<QLineEdit>(view, "Edit" + QString::number(f));
            QCOMPARE(field->text(), northern[f - 1]);
            QVERIFY(field->isReadOnly());
            QString label;
            for (const QLabel* shown : view->findChildren<QLabel*>()) {
                label = shown->buddy() == field ? shown->text() : label;
            }
            QCOMPARE(label, labels[f - 1]);
        }

        // Each "View" opens its viewer on the market's file.
        struct Viewer {
            const char* button;
            const char* dialog;
            QString file;
        };
        const Viewer viewers[] = {
            {"Button2", "TReadPrice", "Northern International"},
            {"Button4", "TReadSawSpecForm", "Factory Grades"},
            {"Button5", "TReadDefectsFileForm", "Default Filter"},
            {"Button6", "TReadRoundwood", "Northern Roundwood"},
            {"Button9", "TReadLogScaleForm", "International Quarter Inch"},
        };
        ClickButton(view, "Button1"); // Exit
        for (const Viewer& v : viewers) {
            view = Open(window, "ViewMarketDefinition1", "TViewMarketDefinitionForm");
            QCOMPARE(Find<QLineEdit>(view, "Edit1")->text(), QString()); // emptied on show
            ClickEntry(Find<QListWidget>(view, "ListBox6"), "Northern International", true);
            QCOMPARE(Find<QPushButton>(view, v.button)->text(), QString("View"));
            ClickButton(view, v.button);
            QVERIFY(!view->isVisible());
            QWidget* viewer = Find<QWidget>(&window, v.dialog);
            QTRY_VERIFY(viewer->isVisible());
            QCOMPARE(Selected(Find<QListWidget>(viewer, "ListBox1")), v.file);
            QVERIFY(test::TopLevel("ErrorBox") == nullptr);
            viewer->hide();
        }

        // A market shown, then one whose Specs is short: the error and empty fields.
        view = Open(window, "ViewMarketDefinition1", "TViewMarketDefinitionForm");
        list = Find<QListWidget>(view, "ListBox6");
        ClickEntry(list, "Appalachian Doyle", true);
        QCOMPARE(Find<QLineEdit>(view, "Edit6")->text(), QString("8"));
        ClickEntry(list, "Broken (optimal patterns unreadable)", true);
        QMessageBox* error = WaitForBox("ErrorBox");
        QVERIFY2(error->text().contains("Broken/Specs"), qPrintable(error->text()));
        QVERIFY2(error->text().contains("Read beyond end of file"), qPrintable(error->text()));
        Answer(error);
        for (int f = 1; f <= 7; ++f) {
            QCOMPARE(Find<QLineEdit>(view, "Edit" + QString::number(f))->text(), QString());
        }
        QVERIFY(!Find<QPushButton>(view, "Button9")->isEnabled());
        QVERIFY(view->isVisible());
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!view->isVisible());
    }

    // "Print Market Definintion" and "View Market" print a definition through the printing
    // layer; without a printer it lands in a PDF of "Reports", read back as a user reads it.
    void PrintingAMarketDefinitionWritesItsLines() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
            QSKIP("this machine has a printer; the PDF fallback is not taken");
        }
        BundledCopy copy;
        const DataFolder& data = copy.Data;
        fs::create_directories(data.MarketFolder("Broken"));
        app::TMain window(data, true);
        window.show();
        // The reader drops the two blank lines the printout begins with.
        QCOMPARE(app::MarketDefinitionDocument(data, "Appalachian Doyle").Lines.mid(0, 3),
                 (QStringList{"", "", "Appalachian Doyle Market Definition"}));
        const QStringList appalachian = {"Appalachian Doyle Market Definition",
                                         "",
                                         "Veneer Grading Rule : Hardwood Veneer",
                                         "Sawlog Grading Rule : Factory Grades",
                                         "Roundwood Products : Appalachian Roundwood",
                                         "Log Rule : Doyle",
                                         "Price Set : Appalachian Doyle",
                                         "Defect Filter Set : Default Filter",
                                         "Trim Allowance : 8 inches"};
        struct Case {
            const char* action;
            const char* dialog;
            const char* list;
            const char* print;
            QString pdf;
        };
        const Case cases[] = {
            {"Market1", "TPrintMarketForm", "ListBox1", "Button1",
             "Appalachian Doyle Market Definition.pdf"},
            {"PrintMarket1", "TPrintMarketForm", "ListBox1", nullptr,
             "Appalachian Doyle Market Definition (2).pdf"},
            {"ViewMarketDefinition1", "TViewMarketDefinitionForm", "ListBox6", "Button10",
             "Appalachian Doyle Market Definition (3).pdf"},
        };
        for (const Case& c : cases) {
            QWidget* dialog = Open(window, c.action, c.dialog);
            auto* list = Find<QListWidget>(dialog, c.list);
            if (c.print != nullptr) {
                QVERIFY(!Find<QPushButton>(dialog, c.print)->isEnabled());
                ClickEntry(list, "Appalachian Doyle");
                ClickButton(dialog, c.print);
            } else {
                ClickEntry(list, "Appalachian Doyle", true); // a double click prints
            }
            QMessageBox* told = WaitForBox("MessageBox");
            const fs::path pdf = data.Reports() / c.pdf.toStdString();
            QVERIFY2(told->text().contains(QString::fromStdString(pdf.string())),
                     qPrintable(told->text()));
            Answer(told);
            QVERIFY(!dialog->isVisible());
            QCOMPARE(test::PdfPages(pdf), (QList<QStringList>{appalachian}));
        }

        QWidget* print = Open(window, "Market1", "TPrintMarketForm");
        QCOMPARE(print->windowTitle(), QString("Print Market Definintion"));
        QCOMPARE(Find<QLabel>(print, "Label1")->text(), QString("Select the market to be printed"));
        ClickEntry(Find<QListWidget>(print, "ListBox1"), "Broken (optimal patterns unreadable)");
        ClickButton(print, "Button1");
        QMessageBox* error = WaitForBox("ErrorBox");
        QVERIFY2(error->text().contains("File not found"), qPrintable(error->text()));
        Answer(error);
        QVERIFY(print->isVisible());
        QCOMPARE(static_cast<int>(std::distance(fs::directory_iterator(data.Reports()),
                                                fs::directory_iterator())),
                 3);
        ClickButton(print, "Button2"); // Cancel
        QVERIFY(!print->isVisible());
    }
};

} // namespace varnok

QTEST_MAIN(varnok::MarketDialogsTest)
#include "MarketDialogsTest.moc"
