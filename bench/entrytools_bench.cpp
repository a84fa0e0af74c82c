// The generators behind the entry page's buttons and the generator window.
//   entrytools.generate_password.10000   CipherEngine::GeneratePassword(6, 6)
//                                        10,000 times, as the generate button
//                                        draws it (14 characters) (ms, best of 5)
//   entrytools.generate_options.20.10000 the generator window's default draw,
//                                        20 characters of four classes, 10,000
//                                        times (ms, best of 5)
//   entrytools.passphrase.7.10000        seven French words, 10,000 times (ms,
//                                        best of 5)
//   entrytools.strength.1000             the strength of 1,000 generated
//                                        passwords, as the indicator updates at
//                                        each key (ms, best of 5)

#include "BenchSupport.h"

#include "components/CipherEngine.h"
#include "components/PasswordGenerator.h"
#include "services/ui/GeneratorDialog.h"

#include <QCoreApplication>

using namespace keyholm;
using keyholm::bench::BestMs;
using keyholm::bench::Report;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const CipherEngine& engine = CipherEngine::Instance();
    qsizetype sink = 0;

    Report("entrytools.generate_password.10000",
        BestMs(5,
            [&] {
                for (int i = 0; i < 10000; ++i)
                    sink += engine.GeneratePassword(6, 6).size();
            }),
        "ms");

    const GeneratorOptions characters;
    Report("entrytools.generate_options.20.10000",
        BestMs(5,
            [&] {
                for (int i = 0; i < 10000; ++i)
                    sink += PasswordGenerator::Generate(characters, {}).size();
            }),
        "ms");

    GeneratorOptions phrase;
    phrase.passphrase = true;
    const QStringList& words = GeneratorDialog::WordList();
    Report("entrytools.passphrase.7.10000",
        BestMs(5,
            [&] {
                for (int i = 0; i < 10000; ++i)
                    sink += PasswordGenerator::Generate(phrase, words).size();
            }),
        "ms");

    QStringList passwords;
    for (int i = 0; i < 1000; ++i)
        passwords << engine.GeneratePassword(6, 6);
    Report("entrytools.strength.1000",
        BestMs(5,
            [&] {
                for (const QString& password : passwords)
                    sink += PasswordStrength::Of(password).level;
            }),
        "ms");
    return sink > 0 ? 0 : 1;
}
