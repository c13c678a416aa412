#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/testenvironment.h"

#include "output/csvexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>
#include <QtTest>

// The inward history and despatch exports (tst_reports) show the file, the
// dialog and the refusals; these are the exporter's other rules.

namespace {

CsvExportProfile inwardLikeProfile()
{
    CsvExportProfile p;
    p.header = "Inward No,Customer Name,Qty";
    p.totalLines = {",Total,12.500"};
    return p;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void fieldRule_data();
    void fieldRule();
    void alwaysQuotedFieldsDoubleTheirQuotes();
    void awkwardFieldsReadBackInTheirColumns();
    void composesTitleHeaderRowsAndTotal();
    void noCellRunsAsAFormula();
    void tableRowsTakeDisplayTextsOfTheColumnRange();
    void messagesAfterTheDialog();
    void failedWriteKeepsWhatTheNameHeld();
};

void TestCsvExport::fieldRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "ACME LTD" << "ACME LTD";
    QTest::newRow("comma") << "SHAH, SONS" << "\"SHAH, SONS\"";
    QTest::newRow("comma and quote") << "A \"B\" C, LTD" << "\"A \"\"B\"\" C, LTD\"";
    QTest::newRow("quote only") << "5\" PIPE" << "\"5\"\" PIPE\"";
    QTest::newRow("line break") << "LINE1\nLINE2" << "\"LINE1\nLINE2\"";
}

void TestCsvExport::fieldRule()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(csvField(text), field);
}

void TestCsvExport::alwaysQuotedFieldsDoubleTheirQuotes()
{
    CsvExportProfile p;
    p.header = "SI No,Heading,Amount";
    p.alwaysQuoted = {1};
    QCOMPARE(composeCsv(p, {{"1", "Tea", "20.00"}, {"2", "12\" bolts", "5.00"}}),
             QString("SI No,Heading,Amount\n1,\"Tea\",20.00\n2,\"12\"\" bolts\",5.00\n"));
}

void TestCsvExport::awkwardFieldsReadBackInTheirColumns()
{
    const QList<QStringList> rows = {{"1", "A \"B\" C, LTD", "12.500"}, {"2", "TWO\nLINES", "2.000"},
                                     {"3", "\"QUOTED\"", ""}};
    CsvExportProfile p = inwardLikeProfile();
    p.alwaysQuoted = {2};
    const QList<QStringList> back = readCsv(composeCsv(p, rows));
    QCOMPARE(back.mid(1, rows.size()), rows);
    QCOMPARE(back.last(), QStringList({"", "Total", "12.500"}));
}

// The stock report writes a cell's lines as one field joined by "+".
void TestCsvExport::composesTitleHeaderRowsAndTotal()
{
    CsvExportProfile p;
    p.titleLines = {"Stock Report", "From:,2026-04-01", ""};
    p.header = "Sl,Qty";
    p.lineBreaksAsPlus = true;
    p.totalLines = {"", ",Total:,3"};
    QCOMPARE(composeCsv(p, {{"1", "5\n-2"}, {"2", "A\r\nB, C"}}),
             QString("Stock Report\nFrom:,2026-04-01\n\nSl,Qty\n1,5+-2\n2,\"A+B, C\"\n\n,Total:,3\n"));
}

// A formula anywhere is written as text behind a "'"; figures stay numbers;
// control characters but line breaks and tabs go, before the first is looked at.
void TestCsvExport::noCellRunsAsAFormula()
{
    CsvExportProfile p;
    p.titleLines = {csvField("=EVIL, CO"), "From:,-1,To:,@SUM(1)"};
    p.header = "SI No,Heading,Details,Amount";
    p.alwaysQuoted = {1, 2};
    p.totalLines = {",,Total:,-150.00"};
    QCOMPARE(composeCsv(p, {{"1", "=HYPERLINK(\"http://example.invalid/\",\"click\")", "", "-150.00"},
                            {"2", "+91 98765 43210", "", "+5"}, {"3", "-2+3", "", "-0.50"},
                            {"4", "@SUM(A1)", "", "1e3"}, {"5", "\tTAB", "", " -1"}, {"6", "\rCR", "", "-1 "},
                            {"-7", QString("\x1b[31mRED\x07") + QChar(0) + QChar(0x85), "\x01=1+1", "-"}}),
             QString("\"'=EVIL, CO\"\nFrom:,-1,To:,'@SUM(1)\nSI No,Heading,Details,Amount\n"
                     "1,\"'=HYPERLINK(\"\"http://example.invalid/\"\",\"\"click\"\")\",\"\",-150.00\n"
                     "2,\"'+91 98765 43210\",\"\",+5\n3,\"'-2+3\",\"\",-0.50\n4,\"'@SUM(A1)\",\"\",1e3\n"
                     "5,\"'\tTAB\",\"\", -1\n6,\"'\rCR\",\"\",'-1 \n-7,\"[31mRED\",\"'=1+1\",'-\n"
                     ",,Total:,-150.00\n"));
}

void TestCsvExport::tableRowsTakeDisplayTextsOfTheColumnRange()
{
    QTableWidget table(2, 4);
    table.setItem(0, 0, new QTableWidgetItem("hidden"));
    table.setItem(0, 1, new QTableWidgetItem("a"));
    table.setItem(0, 3, new QTableWidgetItem("c"));
    table.setItem(1, 1, new QTableWidgetItem("d"));
    QCOMPARE(tableRows(&table, 1), QList<QStringList>({{"a", "", "c"}, {"d", "", ""}}));
}

// The expenses export finds out it is empty only after the dialog, and names
// the written file in its success message.
void TestCsvExport::messagesAfterTheDialog()
{
    TestEnvironment env;
    CsvExportProfile p = inwardLikeProfile();
    p.emptyCheckAfterDialog = true;
    p.emptyMessage = CsvMessage{QMessageBox::Information, "No Data", "No expenses found", false};
    p.successMessage = CsvMessage{QMessageBox::Information, "Success", "Report exported successfully!\n", true};
    const QString path = env.folder() + "/out.csv";
    env.desktop.saveFileAnswers << path << path;

    QCOMPARE(exportTableCsv(nullptr, p, {}), CsvExportResult::Empty);
    QCOMPARE(env.desktop.lastShown(), QString("No Data|No expenses found"));
    QVERIFY(!QFile::exists(path));

    QCOMPARE(exportTableCsv(nullptr, p, {{"1", "ÇELIK", "0.000"}}), CsvExportResult::Written);
    QCOMPARE(env.desktop.lastShown(), "Success|Report exported successfully!\n" + path);
    QCOMPARE(QString::fromUtf8(fileBytes(path)), QString("Inward No,Customer Name,Qty\n1,ÇELIK,0.000\n,Total,12.500\n"));
    QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});
}

// A file is written whole or not at all: a disk that fills up part-way (a
// file-size limit, which the program outlives), a device that takes nothing
// and a missing folder leave the chosen name as it was, show the failure box
// with the reason after its text, no success box, and leave no stray file.
void TestCsvExport::failedWriteKeepsWhatTheNameHeld()
{
    TestEnvironment env;
    CsvExportProfile p = inwardLikeProfile();
    p.failureMessage = CsvMessage{QMessageBox::Critical, "File Error", "Could not create file:\n", true};
    p.successMessage = CsvMessage{QMessageBox::Information, "Success", "Saved to:\n", true};
    QList<QStringList> rows;
    for (int i = 1; i <= 2000; ++i)
        rows << QStringList{QString::number(i), "SHAH, SONS & CO", "12.500"};
    const QString existing = env.folder() + "/existing.csv";
    QVERIFY(writeFile(existing, "Inward No,Customer Name,Qty\n1,EARLIER,1.000\n"));
    const QString fresh = env.folder() + "/fresh.csv";

    auto failsSaying = [&](const QString &path, const QString &reason) {
        env.desktop.clear();
        env.desktop.saveFileAnswers << path;
        QCOMPARE(exportTableCsv(nullptr, p, rows), CsvExportResult::Failed);
        QCOMPARE(env.desktop.messages.size(), 1);
        QCOMPARE(env.desktop.lastShown(), "File Error|Could not create file:\n" + path + "\n" + reason);
        QVERIFY(env.desktop.openedUrls.isEmpty());
    };
    {
        FileSizeLimit fullDisk(4096); // the file needs about 50 KB
        failsSaying(existing, "File too large");
        failsSaying(fresh, "File too large");
    }
    QCOMPARE(fileBytes(existing), QByteArray("Inward No,Customer Name,Qty\n1,EARLIER,1.000\n"));
    QVERIFY(!QFile::exists(fresh));

    failsSaying("/dev/full", "/dev/full is not a regular file");
    QVERIFY(!QFileInfo("/dev/full").isFile() && QFileInfo::exists("/dev/full"));
    failsSaying(env.folder() + "/missing folder/out.csv", "No such file or directory");
    QCOMPARE(QDir(env.folder()).entryList(QDir::Files), QStringList{"existing.csv"});

    // With room on the disk the same export replaces the file.
    env.desktop.clear();
    env.desktop.saveFileAnswers << existing;
    QCOMPARE(exportTableCsv(nullptr, p, rows), CsvExportResult::Written);
    QCOMPARE(env.desktop.lastShown(), "Success|Saved to:\n" + existing);
    QCOMPARE(readCsv(QString::fromUtf8(fileBytes(existing))).size(), 2002);
    QCOMPARE(QDir(env.folder()).entryList(QDir::Files), QStringList{"existing.csv"});
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
