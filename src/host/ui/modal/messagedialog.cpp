#include "host/ui/modal/messagedialog.h"

#include "host/ui/modal/modalservices.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace host::ui {

namespace {

struct ButtonAnswer
{
    QDialogButtonBox::StandardButton button;
    long answer;
};

std::vector<ButtonAnswer> buttonsOf(long style)
{
    using B = QDialogButtonBox;
    switch (style & 0x0F) {
    case Msg::OKCancel:
        return {{B::Ok, Msg::OK}, {B::Cancel, Msg::Cancel}};
    case Msg::AbortRetryIgnore:
        return {{B::Abort, Msg::Abort}, {B::Retry, Msg::Retry}, {B::Ignore, Msg::Ignore}};
    case Msg::YesNoCancel:
        return {{B::Yes, Msg::Yes}, {B::No, Msg::No}, {B::Cancel, Msg::Cancel}};
    case Msg::YesNo:
        return {{B::Yes, Msg::Yes}, {B::No, Msg::No}};
    case Msg::RetryCancel:
        return {{B::Retry, Msg::Retry}, {B::Cancel, Msg::Cancel}};
    default:
        return {{B::Ok, Msg::OK}};
    }
}

// The icon of the style, if it has one.
std::optional<QStyle::StandardPixmap> iconOf(long style)
{
    switch (style & 0x70) {
    case Msg::Critical:
        return QStyle::SP_MessageBoxCritical;
    case Msg::Question:
        return QStyle::SP_MessageBoxQuestion;
    case Msg::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    case Msg::Information:
        return QStyle::SP_MessageBoxInformation;
    default:
        return std::nullopt;
    }
}

// What Escape and the close box answer; 0 for a question without a cancelling answer.
long cancelAnswer(long style)
{
    switch (style & 0x0F) {
    case Msg::OKOnly:
        return Msg::OK;
    case Msg::OKCancel:
    case Msg::YesNoCancel:
    case Msg::RetryCancel:
        return Msg::Cancel;
    default:
        return 0;
    }
}

} // namespace

MessageDialog::MessageDialog(const QString &text, long style, const QString &title, QWidget *owner)
    : QDialog(owner), m_style(style), m_text(new QTextEdit(this))
{
    setWindowTitle(title);
    // A title and, for a box that can be cancelled, the close box; nothing to minimise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   (cancelAnswer(style) ? Qt::WindowCloseButtonHint : Qt::WindowType(0)));

    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    if (const auto icon = iconOf(style)) {
        auto *iconLabel = new QLabel(this);
        const int size = this->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(this->style()->standardIcon(*icon, nullptr, this).pixmap(size));
        layout->addWidget(iconLabel, 0, 0, Qt::AlignTop);
    }
    // Read like a label: on the box's own background, selectable, never in the tab order.
    m_text->setPlainText(text);
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text->document()->setDocumentMargin(0);
    QPalette background = m_text->palette();
    background.setColor(QPalette::Base, background.color(QPalette::Window));
    m_text->setPalette(background);
    layout->addWidget(m_text, 0, 1);

    auto *buttons = new QDialogButtonBox(this);
    for (const ButtonAnswer &b : buttonsOf(style)) {
        QPushButton *button = buttons->addButton(b.button);
        connect(button, &QPushButton::clicked, this, [this, answer = b.answer] {
            m_answer = answer;
            done(static_cast<int>(answer));
        });
    }
    // The first button is the default one, as the platform's box has it.
    QPushButton *first = buttons->button(buttonsOf(style).front().button);
    first->setDefault(true);
    first->setFocus();
    layout->addWidget(buttons, 1, 0, 1, 2);
    fitToScreen(*buttons);
}

void MessageDialog::reject()
{
    const long answer = cancelAnswer(m_style);
    if (!answer)
        return;
    m_answer = answer;
    done(static_cast<int>(answer));
}

void MessageDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier) {
        const QKeySequence letter(QKeyCombination(Qt::AltModifier, Qt::Key(event->key())));
        for (QPushButton *button : findChildren<QPushButton *>()) {
            if (QKeySequence::mnemonic(button->text()) == letter) {
                button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

void MessageDialog::fitToScreen(QWidget &buttons)
{
    const QScreen *screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    setMaximumSize(area.size());

    // The window manager draws the title in bold beside an icon and up to three buttons, each
    // about as wide as the bar is high: a short text must not leave the box too narrow for it.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleRoom = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) +
                          4 * style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    buttons.setMinimumWidth(std::min(titleRoom, area.width() / 2));

    // The text wraps at half the screen's width and scrolls beyond what the screen leaves
    // below the title bar and above the buttons.
    // Measured on a document of its own: the box's lays its text out as wide as the box is.
    QTextDocument measure;
    measure.setDefaultFont(m_text->document()->defaultFont());
    measure.setDefaultTextOption(m_text->document()->defaultTextOption());
    measure.setDocumentMargin(0);
    measure.setPlainText(m_text->toPlainText());
    const int naturalWidth = static_cast<int>(std::ceil(measure.size().width()));
    const int textWidth = std::min(naturalWidth, std::max(area.width() / 2, 240));
    measure.setTextWidth(textWidth);
    const int textHeight = static_cast<int>(std::ceil(measure.size().height()));
    const int chrome = layout()->sizeHint().height() - m_text->sizeHint().height() +
                       style()->pixelMetric(QStyle::PM_TitleBarHeight) * 2;
    const int maxTextHeight = std::max(area.height() - chrome, fontMetrics().height() * 3);
    // Room for the scroll bar whether it shows or not, so that it never narrows the text into
    // more lines than were measured.
    m_text->setFixedSize(textWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                         std::min(textHeight, maxTextHeight));
}

} // namespace host::ui
