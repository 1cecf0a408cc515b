#pragma once

class QWidget;

namespace host::ui {

// Position and size of a control in twips, as the windows lay themselves out.
class TwipsGeometry
{
public:
    explicit TwipsGeometry(QWidget &self) : m_self(self) {}

    int Left() const;
    void setLeft(int twips);
    int Top() const;
    void setTop(int twips);
    int Width() const;
    void setWidth(int twips);
    int Height() const;
    void setHeight(int twips);
    void Move(int left, int top, int width, int height);

private:
    QWidget &m_self;
};

} // namespace host::ui
