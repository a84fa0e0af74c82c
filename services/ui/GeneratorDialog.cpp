#include "services/ui/GeneratorDialog.h"

#include "components/CipherEngine.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"

#include <QCheckBox>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

static void InitWordResources()
{
    // The resource lives in a static library: it must be asked for.
    Q_INIT_RESOURCE(words);
}

namespace keyholm {

namespace {

const QString Section = QStringLiteral("_Password Generator");

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    return spin;
}

} // namespace

GeneratorDialog::GeneratorDialog(QWidget* parent)
    : AnswerDialog(parent, QStringLiteral("Lib_Generator"), QStringLiteral("Générateur de mot de passe"))
{
    TraceLog(QStringLiteral("Password generator"), QStringLiteral("..."));
    OptionPassword = new QRadioButton(QStringLiteral("Mot de passe"), this);
    OptionPassword->setObjectName(QStringLiteral("OptionPassword"));
    OptionPassphrase = new QRadioButton(QStringLiteral("Phrase de passe (mots français)"), this);
    OptionPassphrase->setObjectName(QStringLiteral("OptionPassphrase"));

    auto* characters = new QGroupBox(this);
    auto* charGrid = new QGridLayout(characters);
    SpinLength = Spin(characters, "SpinLength", GeneratorOptions::ShortestLength, GeneratorOptions::LongestLength);
    auto* lengthLabel = new QLabel(QStringLiteral("Longueur :"), characters);
    lengthLabel->setBuddy(SpinLength);
    CheckCapitals = Check(characters, "CheckCapitals", QStringLiteral("Majuscules (A-Z)"));
    CheckSmalls = Check(characters, "CheckSmalls", QStringLiteral("Minuscules (a-z)"));
    CheckDigits = Check(characters, "CheckDigits", QStringLiteral("Chiffres (0-9)"));
    CheckSigns = Check(characters, "CheckSigns", QStringLiteral("Signes (!#$%&*+-.=?@_~)"));
    CheckLookAlike
        = Check(characters, "CheckLookAlike", QStringLiteral("Exclure les caractères semblables (I, O, l, 0, 1)"));
    charGrid->addWidget(lengthLabel, 0, 0);
    charGrid->addWidget(SpinLength, 0, 1);
    charGrid->addWidget(CheckCapitals, 1, 0);
    charGrid->addWidget(CheckSmalls, 1, 1);
    charGrid->addWidget(CheckDigits, 2, 0);
    charGrid->addWidget(CheckSigns, 2, 1);
    charGrid->addWidget(CheckLookAlike, 3, 0, 1, 2);

    auto* words = new QGroupBox(this);
    auto* wordGrid = new QGridLayout(words);
    SpinWords = Spin(words, "SpinWords", GeneratorOptions::FewestWords, GeneratorOptions::MostWords);
    auto* wordsLabel = new QLabel(QStringLiteral("Nombre de mots :"), words);
    wordsLabel->setBuddy(SpinWords);
    TextSeparator = new QLineEdit(words);
    TextSeparator->setObjectName(QStringLiteral("TextSeparator"));
    TextSeparator->setMaxLength(3);
    auto* separatorLabel = new QLabel(QStringLiteral("Séparateur :"), words);
    separatorLabel->setBuddy(TextSeparator);
    wordGrid->addWidget(wordsLabel, 0, 0);
    wordGrid->addWidget(SpinWords, 0, 1);
    wordGrid->addWidget(separatorLabel, 1, 0);
    wordGrid->addWidget(TextSeparator, 1, 1);

    TextResult = new QLineEdit(this);
    TextResult->setObjectName(QStringLiteral("TextResult"));
    TextResult->setReadOnly(true);
    TextResult->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LabelEntropy = new QLabel(this);
    LabelEntropy->setObjectName(QStringLiteral("LabelEntropy"));
    auto* regenerate = new QPushButton(QStringLiteral("&Générer"), this);
    regenerate->setObjectName(QStringLiteral("CommandRegenerate"));
    regenerate->setAutoDefault(false);
    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(TextResult, 1);
    resultRow->addWidget(regenerate);

    MakeAnswerButtons({ QStringLiteral("CommandOK"), QStringLiteral("&OK") },
        { QStringLiteral("CommandCancel"), QStringLiteral("&Annuler") }, OutcomeHolder::ConfirmButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(OptionPassword);
    layout->addWidget(characters);
    layout->addWidget(OptionPassphrase);
    layout->addWidget(words);
    layout->addLayout(resultRow);
    layout->addWidget(LabelEntropy);
    layout->addLayout(AnswerRow());
    setMinimumWidth(460);

    SetOptions(LoadOptions());
    for (QCheckBox* box : { CheckCapitals, CheckSmalls, CheckDigits, CheckSigns, CheckLookAlike })
        connect(box, &QCheckBox::toggled, this, &GeneratorDialog::Regenerate);
    for (QSpinBox* spin : { SpinLength, SpinWords })
        connect(spin, &QSpinBox::valueChanged, this, &GeneratorDialog::Regenerate);
    connect(OptionPassword, &QRadioButton::toggled, this, &GeneratorDialog::Regenerate);
    connect(TextSeparator, &QLineEdit::textChanged, this, &GeneratorDialog::Regenerate);
    connect(regenerate, &QPushButton::clicked, this, &GeneratorDialog::Regenerate);
}

GeneratorDialog::~GeneratorDialog()
{
    TextResult->clear();
}

bool GeneratorDialog::Ask()
{
    exec();
    const bool confirmed = AnswerTag().toInt() == 1 && !Result().isEmpty();
    if (confirmed)
        SaveOptions(Options());
    return confirmed;
}

QString GeneratorDialog::Result() const
{
    return TextResult->text();
}

GeneratorOptions GeneratorDialog::Options() const
{
    GeneratorOptions options;
    options.passphrase = OptionPassphrase->isChecked();
    options.length = SpinLength->value();
    options.capitals = CheckCapitals->isChecked();
    options.smalls = CheckSmalls->isChecked();
    options.digits = CheckDigits->isChecked();
    options.signs = CheckSigns->isChecked();
    options.excludeLookAlikes = CheckLookAlike->isChecked();
    options.words = SpinWords->value();
    options.separator = TextSeparator->text();
    return options;
}

void GeneratorDialog::SetOptions(const GeneratorOptions& options)
{
    // One draw for the whole setting, not one a control.
    const QSignalBlocker blocks[] = { QSignalBlocker(OptionPassword), QSignalBlocker(OptionPassphrase),
        QSignalBlocker(SpinLength), QSignalBlocker(CheckCapitals), QSignalBlocker(CheckSmalls),
        QSignalBlocker(CheckDigits), QSignalBlocker(CheckSigns), QSignalBlocker(CheckLookAlike),
        QSignalBlocker(SpinWords), QSignalBlocker(TextSeparator) };
    (options.passphrase ? OptionPassphrase : OptionPassword)->setChecked(true);
    SpinLength->setValue(options.length);
    CheckCapitals->setChecked(options.capitals);
    CheckSmalls->setChecked(options.smalls);
    CheckDigits->setChecked(options.digits);
    CheckSigns->setChecked(options.signs);
    CheckLookAlike->setChecked(options.excludeLookAlikes);
    SpinWords->setValue(options.words);
    TextSeparator->setText(options.separator);
    Regenerate();
}

void GeneratorDialog::EnableControls()
{
    const bool phrase = OptionPassphrase->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*> {
             SpinLength, CheckCapitals, CheckSmalls, CheckDigits, CheckSigns, CheckLookAlike })
        control->setEnabled(!phrase);
    SpinWords->setEnabled(phrase);
    TextSeparator->setEnabled(phrase);
}

void GeneratorDialog::Regenerate()
{
    EnableControls();
    const GeneratorOptions options = Options();
    QString drawn = PasswordGenerator::Generate(options, WordList());
    TextResult->setText(drawn);
    CipherEngine::Wipe(drawn);
    confirm_->setEnabled(!Result().isEmpty());
    if (Result().isEmpty()) {
        LabelEntropy->setText(QStringLiteral("Choisissez au moins un type de caractères."));
        TextResult->setToolTip(QString());
        return;
    }
    const qsizetype count = WordList().size();
    const double bits = PasswordGenerator::EntropyBits(options, count);
    LabelEntropy->setText(QStringLiteral("Entropie : %1 bits").arg(int(std::floor(bits))));
    // The sum behind the figure.
    if (options.passphrase) {
        const double perWord = std::log2(double(count));
        TextResult->setToolTip(QStringLiteral("%1 mots tirés parmi %2 : %3 × %4 bits par mot = %5 bits")
                                   .arg(options.words)
                                   .arg(count)
                                   .arg(options.words)
                                   .arg(perWord, 0, 'f', 2)
                                   .arg(int(std::floor(bits))));
    } else {
        const qsizetype alphabet = PasswordGenerator::Alphabet(options).size();
        TextResult->setToolTip(
            QStringLiteral("%1 caractères tirés parmi %2 (%3 bits par caractère), au moins un de chaque type : %4 bits")
                .arg(options.length)
                .arg(alphabet)
                .arg(std::log2(double(alphabet)), 0, 'f', 2)
                .arg(int(std::floor(bits))));
    }
}

GeneratorOptions GeneratorDialog::LoadOptions()
{
    GeneratorOptions options;
    const auto check = [](const char* key, bool fallback) {
        return GetValueOption(Section, QLatin1String(key), fallback ? 1 : 0) != 0;
    };
    options.passphrase = check("Passphrase", options.passphrase);
    options.length = std::clamp(GetValueOption(Section, QStringLiteral("Length"), options.length),
        GeneratorOptions::ShortestLength, GeneratorOptions::LongestLength);
    options.capitals = check("Capitals", options.capitals);
    options.smalls = check("Smalls", options.smalls);
    options.digits = check("Digits", options.digits);
    options.signs = check("Signs", options.signs);
    options.excludeLookAlikes = check("LookAlike", options.excludeLookAlikes);
    options.words = std::clamp(GetValueOption(Section, QStringLiteral("Words"), options.words),
        GeneratorOptions::FewestWords, GeneratorOptions::MostWords);
    options.separator = GetTextOption(Section, QStringLiteral("Separator"), options.separator);
    return options;
}

bool GeneratorDialog::SaveOptions(const GeneratorOptions& options)
{
    bool saved = true;
    const auto value
        = [&saved](const char* key, int v) { saved = SetValueOption(Section, QLatin1String(key), v) && saved; };
    value("Passphrase", options.passphrase);
    value("Length", options.length);
    value("Capitals", options.capitals);
    value("Smalls", options.smalls);
    value("Digits", options.digits);
    value("Signs", options.signs);
    value("LookAlike", options.excludeLookAlikes);
    value("Words", options.words);
    saved = SetTextOption(Section, QStringLiteral("Separator"), options.separator) && saved;
    return saved;
}

const QStringList& GeneratorDialog::WordList()
{
    static const QStringList words = [] {
        InitWordResources();
        QFile file(QStringLiteral(":/french-words.txt"));
        return file.open(QIODevice::ReadOnly) ? PasswordGenerator::ReadWordList(file.readAll()) : QStringList();
    }();
    return words;
}

} // namespace keyholm
