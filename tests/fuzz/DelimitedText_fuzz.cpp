// libFuzzer target: any bytes decode and read as delimited text without
// crashing or hanging, and what the reader gives, written by the CSV writer,
// reads back the same.

#include "components/DelimitedText.h"
#include "components/ListTools.h"
#include "components/TextEncoding.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = DecodeTextBytes(QByteArrayView(data, qsizetype(size)));
    for (const QChar separator : { QChar(u';'), QChar(u',') }) {
        const DelimitedText read = ParseDelimited(text, separator);
        if (separator != u';')
            continue;
        ListTable list;
        for (const QStringList& cells : read.rows)
            list.rows.push_back({ cells, 0 });
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!DelimitedListWriter::Csv().Write(list, buffer))
            __builtin_trap();
        const DelimitedText again = ParseDelimited(DecodeTextBytes(bytes), separator);
        if (again.rows != read.rows || again.unclosedQuoteLine != 0)
            __builtin_trap();
    }
    return 0;
}
