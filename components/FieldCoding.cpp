#include "components/FieldCoding.h"

#include "components/CipherEngine.h"

#include <exception>

namespace keyholm {

// Built from numbers at run time rather than written out, so that the text
// does not stand whole in the program file. Changing it makes every existing
// file and coded field unreadable.
const QString& NumericParameterText()
{
    static const QString text = [] {
        QString digits;
        for (int part : {1618, 339, 887, 4989})
            digits += QString::number(part);
        return digits;
    }();
    return text;
}

QString CodeField(const QString& plainText, const QString& keyText)
{
    try {
        return CipherEngine::Instance().CodeText(plainText, keyText, NumericParameterText());
    } catch (const std::exception&) {
        return {};
    }
}

QString DecodeField(const QString& codedText, const QString& keyText)
{
    try {
        return CipherEngine::Instance().DecodeText(codedText, keyText, NumericParameterText());
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace keyholm
