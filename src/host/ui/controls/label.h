#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QLabel>

namespace host::ui {

// Stand-in of the platform label. With AutoSize the label's width follows its caption.
class Label : public QLabel, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit Label(const QString &caption = {}, QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

private:
    bool m_autoSize = false;
};

} // namespace host::ui
