#pragma once

#include "commandwindowtest.h"

#include <QStringList>

// The count-book tests: the operator has a name, and one line is counted with a quantity found
// nowhere else on the pages.
class PrintBookTest : public CommandWindowTest
{
protected:
    void SetUp() override;

    static bool anyPageHas(const QStringList &pages, const QString &text);
    // The text of each page of a PDF file, as poppler's pdftotext lays it out.
    static QStringList pdfPages(const QString &pdf);
    enum class Paper
    {
        // Small enough for three pages, wide enough for every column at the full size.
        ThreePages,
        A4Landscape
    };
    // Prints the book of a mode to a PDF file; the text of each page.
    QStringList printBook(long showType, Paper paper = Paper::ThreePages);
};
