#include "host/ui/ledger/uihelper.h"

#include "host/ui/ledger/ledgergrid.h"

#include <QStringList>
#include <QToolBar>

namespace host::ui {

QString UIHelper::titleRow(LedgerGrid &ledger, int row, const QString &captions)
{
    QStringList parts = captions.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QString upperRow;
    bool twoRows = false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString caption = parts.at(i);
        if (caption.endsWith(QLatin1Char('$')))
            caption.chop(1);
        const qsizetype split = caption.indexOf(QLatin1Char('$'));
        const QString upper = split < 0 ? caption : caption.left(split);
        const QString lower = split < 0 ? QString() : caption.mid(split + 1);
        twoRows = twoRows || !lower.isEmpty();
        ledger.Cell(row + 1, static_cast<int>(i) + 1).setText(lower);
        upperRow += upper + QLatin1Char('|');
    }
    if (twoRows)
        ledger.Face().setFixedRows(2);
    return upperRow;
}

void UIHelper::showToolCaptions(QToolBar &bar, bool show)
{
    bar.setToolButtonStyle(show ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

} // namespace host::ui
