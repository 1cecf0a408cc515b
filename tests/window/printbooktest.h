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
    // Prints the book of a mode to a PDF file on a page small enough for three pages; the
    // text of each page.
    QStringList printBook(long showType);
};
