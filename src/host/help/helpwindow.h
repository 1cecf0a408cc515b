#pragma once

#include "host/help/helptool.h"
#include "host/ui/form/form.h"

class QTextBrowser;

namespace host {

// The help window: the page data/help/<topic>.html, or a line naming the topic asked for when
// there is no such page.
class HelpWindow : public ui::Form
{
    Q_OBJECT

public:
    HelpWindow(const QString &topic, const QString &subSystem);

    QString shownText() const;
    bool foundPage() const { return m_found; }

private:
    QTextBrowser *m_browser;
    bool m_found = false;
};

// The host help tool: each call opens the topic's help window modally.
class ChmHelp : public HelpTool
{
public:
    void ShowHELP(long &arg1, int arg2, std::string &topic, long &arg4, std::string &subSystem,
                  long &arg6) override;
};

} // namespace host
