#include "base/Texts.h"

#include "base/Cp1250.h"

QByteArray Text(const UserText& text) { return Cp1250::FromUtf8(text.utf8); }

QByteArray PluralForm(qint64 count, const CzechNoun& noun) {
    return Cp1250::FromUtf8(count == 1 ? noun.one : count >= 2 && count <= 4 ? noun.few : noun.many);
}

QByteArray Counted(qint64 count, const CzechNoun& noun) {
    return QByteArray::number(count) + ' ' + PluralForm(count, noun);
}

QByteArray TextWith(const UserText& text, const QByteArray& argument) {
    QByteArray bytes = Text(text);
    qsizetype at = bytes.indexOf("%s");
    if (at < 0) at = bytes.indexOf("%1");
    if (at >= 0) bytes.replace(at, 2, argument);
    return bytes;
}

QByteArray TextFilled(const UserText& pattern, std::initializer_list<QByteArray> arguments) {
    const QByteArray text = Text(pattern);
    QByteArray filled;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < arguments.size()) {
                filled += arguments.begin()[index];
                ++i;
                continue;
            }
        }
        filled += text[i];
    }
    return filled;
}
