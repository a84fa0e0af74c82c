#pragma once
// Coding of the secret fields of the tree (logins and passwords) with the
// program's own key text, over CipherEngine. Every folder that reads or
// writes an entry needs it, so it sits with the tree's schema.

#include <QString>

namespace keyholm {

// The key text every caller passes, for fields and files alike.
inline const QString FixedKeyText = QStringLiteral("OrvaLineQuest");

// The second key text of every coding, built at run time.
const QString& NumericParameterText();

// The coded field; empty when the coding fails (and for an empty text).
[[nodiscard]] QString CodeField(const QString& plainText, const QString& keyText = FixedKeyText);
// The plain field; empty when the coded text is damaged or not coded with this key.
[[nodiscard]] QString DecodeField(const QString& codedText, const QString& keyText = FixedKeyText);

} // namespace keyholm
