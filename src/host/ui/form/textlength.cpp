#include "host/ui/form/textlength.h"

namespace host::ui {

namespace {

int bytesOf(uint c)
{
    return c < 0x80 ? 1 : 2;
}

} // namespace

int codePageBytes(const QString &text)
{
    int bytes = 0;
    for (const uint c : text.toUcs4())
        bytes += bytesOf(c);
    return bytes;
}

QString withinLength(QString text, int maxChars, int maxBytes, int *cut)
{
    const QList<uint> characters = text.toUcs4();
    auto chars = static_cast<int>(characters.size());
    int bytes = 0;
    for (const uint c : characters)
        bytes += bytesOf(c);
    auto over = [&] {
        return (maxChars >= 0 && chars > maxChars) || (maxBytes >= 0 && bytes > maxBytes);
    };
    int at = cut ? *cut : static_cast<int>(text.size());
    while (at > 0 && over()) {
        // The character before at, a surrogate pair whole.
        const bool pair =
            at >= 2 && text.at(at - 1).isLowSurrogate() && text.at(at - 2).isHighSurrogate();
        const int from = pair ? at - 2 : at - 1;
        bytes -= pair ? 2 : bytesOf(text.at(from).unicode());
        --chars;
        text.remove(from, at - from);
        at = from;
    }
    if (cut)
        *cut = at;
    return text;
}

LengthValidator::LengthValidator(int maxChars, int maxBytes, QObject *parent)
    : QValidator(parent), m_maxChars(maxChars), m_maxBytes(maxBytes)
{}

QValidator::State LengthValidator::validate(QString &input, int &pos) const
{
    input = withinLength(input, m_maxChars, m_maxBytes, &pos);
    return Acceptable;
}

} // namespace host::ui
