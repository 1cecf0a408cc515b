#include "host/ui/form/twipsgeometry.h"

#include "host/ui/form/twips.h"

#include <QWidget>

#include <algorithm>

namespace host::ui {

int TwipsGeometry::Left() const
{
    return pixelsToTwipsX(m_self.x());
}

void TwipsGeometry::setLeft(int twips)
{
    m_self.move(twipsToPixelsX(twips), m_self.y());
}

int TwipsGeometry::Top() const
{
    return pixelsToTwipsY(m_self.y());
}

void TwipsGeometry::setTop(int twips)
{
    m_self.move(m_self.x(), twipsToPixelsY(twips));
}

int TwipsGeometry::Width() const
{
    return pixelsToTwipsX(m_self.width());
}

void TwipsGeometry::setWidth(int twips)
{
    m_self.resize(std::max(twipsToPixelsX(twips), 0), m_self.height());
}

int TwipsGeometry::Height() const
{
    return pixelsToTwipsY(m_self.height());
}

void TwipsGeometry::setHeight(int twips)
{
    m_self.resize(m_self.width(), std::max(twipsToPixelsY(twips), 0));
}

void TwipsGeometry::Move(int left, int top, int width, int height)
{
    m_self.setGeometry(twipsToPixelsX(left), twipsToPixelsY(top),
                       std::max(twipsToPixelsX(width), 0), std::max(twipsToPixelsY(height), 0));
}

} // namespace host::ui
