#include "widgets/sgx_text.h"

#include <QStringDecoder>

namespace parvex {

namespace {

bool is_utf8(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

bool fits_latin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

} // namespace

QString Bytes_To_Text(const std::string& bytes) {
    if (bytes.empty())
        return {};
    const auto size = static_cast<qsizetype>(bytes.size());
    if (is_utf8(bytes))
        return QString::fromUtf8(bytes.data(), size);
    return QString::fromLatin1(bytes.data(), size);
}

std::string Text_To_Bytes(const QString& text, const std::string& original) {
    if (text == Bytes_To_Text(original))
        return original;
    QByteArray out;
    if (!original.empty() && !is_utf8(original) && fits_latin1(text))
        out = text.toLatin1();
    else
        out = text.toUtf8();
    return std::string(out.constData(), static_cast<std::size_t>(out.size()));
}

bool Is_Cell_Text(const QString& text) {
    for (QChar c : text)
        if (c == QLatin1Char('|') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    return true;
}

} // namespace parvex
