// Coding throughput of the database container and of node fields, the time
// of one master-password key derivation, and of one whole atomic save.

#include "BenchSupport.h"

#include "components/CipherEngine.h"
#include "services/FileCoding.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <random>

using namespace keyholm;
using keyholm::bench::BestMs;
using keyholm::bench::Report;

namespace {
QByteArray Data(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    std::mt19937 random(1);
    for (char& c : data)
        c = char(random());
    return data;
}

double MiBPerSecond(qsizetype bytes, double ms)
{
    return (double(bytes) / (1 << 20)) / (ms / 1000.0);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    auto& engine = CipherEngine::Instance();
    const QString keyText = FixedKeyText;
    const QString numeric = QStringLiteral("16183398874989");

    // The key of a file with a master password, at the parameters the program uses.
    std::optional<FileKey> key;
    const double kdfMs = BestMs(
        3, [&] { key = engine.MakeFileKey(keyText, numeric, QStringLiteral("pw"), FileKey::Params::Moderate()); });
    Report("cipher.kdf.argon2id.moderate", kdfMs, "ms");
    if (!key)
        return 1;

    for (const int mib : { 1, 16 }) {
        const QByteArray plain = Data(mib << 20);
        QByteArray container;
        const double codeMs = BestMs(5, [&] { container = engine.CodeFile(plain, *key); });
        Report("cipher.file.code." + std::to_string(mib) + "MiB", MiBPerSecond(plain.size(), codeMs), "MiB/s");
        bool decoded = true;
        const double decodeMs = BestMs(
            5, [&] { decoded = engine.DecodeFile(container, *key).status == CipherEngine::FileStatus::Ok && decoded; });
        if (!decoded)
            return 1;
        Report("cipher.file.decode." + std::to_string(mib) + "MiB", MiBPerSecond(plain.size(), decodeMs), "MiB/s");
    }

    // Opening a protected file: the derivation from the header, then the decoding.
    {
        const QByteArray container = engine.CodeFile(Data(1 << 20), *key);
        bool opened = true;
        const double openMs = BestMs(3, [&] {
            opened = engine.DecodeFile(container, keyText, numeric, QStringLiteral("pw")).status
                    == CipherEngine::FileStatus::Ok
                && opened;
        });
        if (!opened)
            return 1;
        Report("cipher.file.open.protected.1MiB", openMs, "ms");
    }

    // Fields: a login or password of 16 characters, as the tree holds thousands.
    {
        constexpr int Fields = 20000;
        const QString field = QStringLiteral("p4ssw0rd-example");
        QString coded;
        const double codeMs = BestMs(3, [&] {
            for (int i = 0; i < Fields; ++i)
                coded = engine.CodeText(field, keyText, numeric);
        });
        Report("cipher.field.code", codeMs * 1000.0 / Fields, "us");
        const double decodeMs = BestMs(3, [&] {
            for (int i = 0; i < Fields; ++i)
                (void)engine.DecodeText(coded, keyText, numeric);
        });
        Report("cipher.field.decode", decodeMs * 1000.0 / Fields, "us");
    }

    // A whole save of a 1 MiB tree: coding, the scratch file flushed to the
    // disk, the rename and the folder flush.
    {
        QTemporaryDir folder;
        const QString path = folder.path() + "/Keyholm.khm";
        const QByteArray tree = Data(1 << 20);
        bool saved = true;
        const double saveMs = BestMs(5, [&] { saved = CodeFile(tree, path, *key) && saved; });
        if (!saved)
            return 1;
        Report("database.save.atomic.1MiB", saveMs, "ms");
    }

    Report("cipher.password.length", CipherEngine::MinimumPasswordLength(), "chars");
    return 0;
}
