#pragma once
// Plain text out of an RTF document: its text, paragraphs and line breaks
// (as "\n"), tabs, "\'xx" bytes in the document's code page and "\u"
// characters. Font, colour and style tables, pictures, objects, document
// information and every "\*" group are left out.

#include <QByteArray>
#include <QString>

namespace keyholm {

// The answers of RtfToTxt. 1 to 7 are faults of the document.
enum RtfAnswer : int {
    RtfConverted = 0,
    RtfNotRtf = 1, // it does not begin with "{\rtf"
    RtfTooDeep = 2, // groups nested beyond any real document
    RtfTooLarge = 3, // far bigger than a text box can show
    RtfCannotRead = -10,
    RtfCannotWrite = -20,
};

// Converts the RTF file `sourcePath` into the UTF-8 text file `targetPath`.
int RtfToTxt(const QString& sourcePath, const QString& targetPath);

struct RtfText {
    int answer = RtfConverted;
    QString text;
};
// The conversion itself, on the document's bytes.
RtfText ConvertRtf(const QByteArray& rtf);

} // namespace keyholm
