// Printing: the pagination on a page of known size, and whole jobs printed
// to PDF and read back with pdftotext and pdftoppm.
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <string>

#include "TempDir.h"
#include "TextViewFixture.h"

namespace {

class PrintTest : public TextViewTest
{
protected:
    // A page of 2000 x 2800 units at 100 units per centimetre.
    void PaginateOnImage(QImage& page, QPainter& dc, CPrintInfo& info)
    {
        page = QImage(2000, 2800, QImage::Format_RGB32);
        page.setDotsPerMeterX(10000);
        page.setDotsPerMeterY(10000);
        dc.begin(&page);
        info.m_rectDraw = QRect(0, 0, 2000, 2800);
        view->OnBeginPrinting(dc, &info);
        view->PaginateDocument(dc, &info);
    }
    // Prints the whole text to a PDF of A4 pages without printer margins.
    std::string PrintToPdf(const std::string& name)
    {
        const std::string path = dir.File(name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        CPrintInfo info;
        info.m_bDirect = true;
        EXPECT_TRUE(view->PrintJob(printer, info));
        EXPECT_EQ(view->GetPageCount(), 0);  // released after the job
        return path;
    }
    static QString Run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static bool HavePoppler() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }
    TempDir dir;
};

// count lines "N<i> G01 X10 Y20" joined by CR LF.
std::string Lines(int count)
{
    std::string all;
    for (int i = 0; i < count; ++i) {
        if (i)
            all += "\r\n";
        all += 'N';
        all += std::to_string(i);
        all += " G01 X10 Y20";
    }
    return all;
}

}  // namespace

TEST_F(PrintTest, TheTextAreaLiesInsideTheMarginsAboveTheFooterBand)
{
    Load(Lines(300));
    QImage page;
    QPainter dc;
    CPrintInfo info;
    PaginateOnImage(page, dc, info);
    const int h = view->GetPrintRowHeight();
    ASSERT_GT(h, 0);
    const QRect text = view->GetPrintTextRect();
    EXPECT_EQ(text.left(), 100);
    EXPECT_EQ(text.width(), 1800);
    EXPECT_EQ(text.top(), 100);
    EXPECT_EQ(text.bottom() + 1, 2800 - 100 - (h + h / 2));
    // Every page but the last is full: one more row would not fit.
    const int rowsPerPage = text.height() / h;
    EXPECT_EQ(view->GetPageCount(), (300 + rowsPerPage - 1) / rowsPerPage);
    EXPECT_EQ(view->GetPageFirstLine(2), rowsPerPage);
    // The printer font is half the screen font on paper: its pixels at 254
    // per inch against the screen's at its own.
    const double screenInches = double(QFontInfo(view->GetViewFont(false, false)).pixelSize()) / view->logicalDpiY();
    EXPECT_NEAR(QFontInfo(dc.font()).pixelSize() / 254.0, screenInches / 2, 1.0 / 254);
    view->OnEndPrinting(dc, &info);
}

TEST_F(PrintTest, ALongLineWrapsAndPushesTheLinesAfterItDown)
{
    std::string longLine;
    for (int i = 0; i < 200; ++i) {
        longLine += 'X';
        longLine += std::to_string(i);
        longLine += i % 2 ? '\t' : ' ';
    }
    Load(Lines(40) + "\r\n" + longLine + "\r\n" + Lines(200));
    QImage page;
    QPainter dc;
    CPrintInfo info;
    PaginateOnImage(page, dc, info);
    const int h = view->GetPrintRowHeight();
    const int wrapped = view->MeasurePrintLine(dc, 40);
    EXPECT_GT(wrapped, 3 * h);
    const int rowsPerPage = view->GetPrintTextRect().height() / h;
    // The wrapped rows take the room of as many short lines.
    EXPECT_NEAR(view->GetPageFirstLine(2), rowsPerPage - wrapped / h + 1, 1);
    EXPECT_EQ(view->MeasurePrintLine(dc, 39), h);
    view->OnEndPrinting(dc, &info);
}

TEST_F(PrintTest, APrintedProgramHasItsPagesFootersWrapAndMargins)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdftotext is not installed";
    std::string longLine = "(";
    for (int i = 0; i < 60; ++i)
        longLine += "word" + std::to_string(i) + " ";
    longLine += "end)";
    Load(Lines(500) + "\r\n" + longLine + "\r\nM30");
    const std::string pdf = PrintToPdf("program.pdf");
    const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    const int count = int(pages.size());
    for (int page = 1; page <= count; ++page)
        EXPECT_TRUE(pages[page - 1].contains(QStringLiteral("Page %1/%2").arg(page).arg(count))) << page;
    EXPECT_TRUE(pages[0].contains(QStringLiteral("N0 G01 X10 Y20")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("M30")));
    // The long comment is printed whole, over several printed lines.
    int first = -1, last = -1;
    const QStringList rows = pages.last().split(QLatin1Char('\n'));
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].contains(QStringLiteral("(word0 ")))
            first = i;
        if (rows[i].contains(QStringLiteral("end)")))
            last = i;
    }
    ASSERT_GE(first, 0);
    EXPECT_GT(last, first);

    // The ink of the first page starts 10 mm from the left and top edges of
    // the paper (40 pixels at 100 dpi are 10.2 mm).
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-f"),
                                     QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                     QStringLiteral("-png"), QString::fromStdString(pdf),
                                     QString::fromStdString(dir.File("page"))});
    QImage image(QString::fromStdString(dir.File("page-1.png")));
    if (image.isNull())
        image.load(QString::fromStdString(dir.File("page-01.png")));
    ASSERT_FALSE(image.isNull());
    int left = image.width(), top = image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
    EXPECT_NEAR(left, 39, 3);
    EXPECT_NEAR(top, 39, 4);
}

// An example program as it comes, GBK comment and all: every line reaches
// the paper, the comment as its characters, on one page with its footer.
TEST_F(PrintTest, AnExampleProgramPrintsEveryLineAndItsChineseComment)
{
    if (!HavePoppler())
        GTEST_SKIP() << "pdftotext is not installed";
    const std::string bytes = ReadBytes(TORNEL_EXAMPLES_DIR "/pocket.nc");
    ASSERT_FALSE(bytes.empty());
    Load(bytes);
    const std::string pdf = PrintToPdf("pocket.pdf");
    const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    // (The PDF's font may name a character by its radical's code, which
    // compatibility normalisation folds back.)
    EXPECT_TRUE(text.normalized(QString::NormalizationForm_KC).contains(QStringLiteral("(矩形型腔粗加工)")))
        << text.left(200).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1/1")));
    // Each line of the program, in order.
    qsizetype at = 0;
    for (const QString& line : QString::fromLatin1(bytes).split(QStringLiteral("\r\n"))) {
        const QString ascii = line.trimmed();
        if (ascii.isEmpty() || ascii.contains(QLatin1Char('(')))
            continue;
        const qsizetype found = text.indexOf(ascii, at);
        ASSERT_GE(found, 0) << ascii.toStdString();
        at = found + ascii.size();
    }
}

TEST_F(PrintTest, APrintJobAfterAnEditPaginatesAnew)
{
    Load(Lines(5));
    PrintToPdf("one.pdf");
    int endLine = 0, endChar = 0;
    buffer->InsertText(nullptr, 4, buffer->LineLength(4), "\r\n" + Lines(400), endLine, endChar, ACTION_TYPING);
    QImage page;
    QPainter dc;
    CPrintInfo info;
    PaginateOnImage(page, dc, info);
    EXPECT_GT(view->GetPageCount(), 1);
    view->OnEndPrinting(dc, &info);
    if (!HavePoppler())
        return;
    const QString text = Run(QStringLiteral("pdftotext"), {QString::fromStdString(PrintToPdf("two.pdf")), QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2/")));
}

TEST_F(PrintTest, AnEmptyTextPrintsOnePageWithItsFooter)
{
    Load("");
    if (!HavePoppler())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = Run(QStringLiteral("pdftotext"), {QString::fromStdString(PrintToPdf("empty.pdf")), QStringLiteral("-")});
    EXPECT_EQ(text.trimmed(), QStringLiteral("Page 1/1"));
}
