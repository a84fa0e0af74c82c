#include "services/ui/OptionsForm.h"

#include "components/FileTools.h"
#include "components/ListTools.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/ui/ColorValue.h"
#include "services/Environment.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/ui/ControlTag.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace keyholm {

namespace {

struct ColorRow {
    const char* label;
    int frame; // 0 "Couleur", 1 "Tableau"
};

constexpr ColorRow ColorRows[WebStyleOptions::ColorCount] = {
    { "Couleur fond de page :", 0 },
    { "Couleur du texte :", 0 },
    { "Première couleur de fond :", 0 },
    { "Seconde couleur de fond :", 0 },
    { "Couleur première ligne :", 1 },
    { "Couleur seconde ligne :", 1 },
    { "Couleur entête :", 1 },
};

const char* const FontLabels[WebStyleOptions::FontCount] = { "Texte titre :", "Texte contenu :" };

template <class T> T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QString Indexed(const char* name, int index)
{
    return QLatin1String(name) + QLatin1Char('_') + QString::number(index);
}

// The default colour as the buttons keep it in their tag: "&H00C0C0C0&".
QString ColorLiteral(int value)
{
    return QStringLiteral("&H%1&").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

int ColorOfLiteral(const QString& literal, int fallback)
{
    QString digits = literal.trimmed();
    if (digits.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    if (digits.endsWith(QLatin1Char('&')))
        digits.chop(1);
    bool ok = false;
    const int value = digits.toInt(&ok, 16);
    return ok ? value & 0xFFFFFF : fallback;
}

} // namespace

OptionsForm::OptionsForm(QWidget* parent)
    : AnswerDialog(parent, QStringLiteral("OptionsForm"), QStringLiteral("Options"))
{
    tbsOptions = Named(new QTabWidget(this), QStringLiteral("tbsOptions"));
    for (int i = 0; i < 2; ++i)
        picOptions[i] = Named(new QWidget(tbsOptions), Indexed("picOptions", i));
    tbsOptions->addTab(picOptions[0], QStringLiteral("HTML"));
    tbsOptions->addTab(picOptions[1], QStringLiteral("Autre"));

    // ---- HTML ----
    QWidget* html = picOptions[0];
    QGroupBox* frames[2]
        = { new QGroupBox(QStringLiteral("Couleur"), html), new QGroupBox(QStringLiteral("Tableau"), html) };
    QGridLayout* frameGrids[2] = { new QGridLayout(frames[0]), new QGridLayout(frames[1]) };
    for (int i = 0; i < WebStyleOptions::ColorCount; ++i) {
        QGroupBox* frame = frames[ColorRows[i].frame];
        QGridLayout* grid = frameGrids[ColorRows[i].frame];
        CommandColor[i] = Named(new QPushButton(frame), Indexed("CommandColor", i));
        CommandColor[i]->setFixedWidth(48);
        CommandColor[i]->setAutoDefault(false);
        SetControlTag(CommandColor[i], ColorLiteral(WebStyleOptions::DefaultColors[i]));
        // The stored value is the colour; the text only shows it.
        TextColor[i] = Named(new QLineEdit(frame), Indexed("TextColor", i));
        TextColor[i]->setReadOnly(true);
        TextColor[i]->setFixedWidth(90);
        auto* label = new QLabel(QString::fromUtf8(ColorRows[i].label), frame);
        label->setBuddy(CommandColor[i]);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(CommandColor[i], row, 1);
        grid->addWidget(TextColor[i], row, 2);
        connect(CommandColor[i], &QPushButton::clicked, this, [this, i] { CommandColor_Click(i); });
    }
    SliderTabBorder = Named(new QSlider(Qt::Horizontal, frames[1]), QStringLiteral("SliderTabBorder"));
    SliderTabBorder->setRange(0, WebStyleOptions::LargestBorder);
    SliderTabBorder->setPageStep(1);
    SliderTabBorder->setTickPosition(QSlider::TicksBelow);
    auto* borderValue = new QLabel(frames[1]);
    connect(
        SliderTabBorder, &QSlider::valueChanged, borderValue, [borderValue](int value) { borderValue->setNum(value); });
    borderValue->setNum(0);
    const int borderRow = frameGrids[1]->rowCount();
    frameGrids[1]->addWidget(new QLabel(QStringLiteral("Taille de la bordure :"), frames[1]), borderRow, 0);
    frameGrids[1]->addWidget(SliderTabBorder, borderRow, 1, 1, 2);
    frameGrids[1]->addWidget(borderValue, borderRow, 3);

    auto* fontFrame = new QGroupBox(QStringLiteral("Police"), html);
    auto* fontGrid = new QGridLayout(fontFrame);
    for (int i = 0; i < WebStyleOptions::FontCount; ++i) {
        LabelResult[i] = Named(new QLabel(WebStyleOptions::DefaultFont, fontFrame), Indexed("LabelResult", i));
        LabelResult[i]->setMinimumWidth(140);
        SetControlTag(LabelResult[i], WebStyleOptions::DefaultFont);
        CommSetFont[i] = Named(new QPushButton(QStringLiteral("..."), fontFrame), Indexed("CommSetFont", i));
        CommSetFont[i]->setAutoDefault(false);
        CommSetFont[i]->setFixedWidth(36);
        fontGrid->addWidget(new QLabel(QString::fromUtf8(FontLabels[i]), fontFrame), i, 0);
        fontGrid->addWidget(LabelResult[i], i, 1);
        fontGrid->addWidget(CommSetFont[i], i, 2);
        connect(CommSetFont[i], &QPushButton::clicked, this, [this, i] { CommSetFont_Click(i); });
    }

    CheckBgImage = Named(
        new QCheckBox(QStringLiteral("Afficher l'image de fond de page :"), html), QStringLiteral("CheckBgImage"));
    TextBackPicture = Named(new QLineEdit(html), QStringLiteral("TextBackPicture"));
    SelectBackPicture = Named(new QPushButton(QStringLiteral("..."), html), QStringLiteral("SelectBackPicture"));
    SelectBackPicture->setAutoDefault(false);
    SelectBackPicture->setFixedWidth(36);
    auto* backRow = new QHBoxLayout;
    backRow->addWidget(CheckBgImage);
    backRow->addWidget(TextBackPicture, 1);
    backRow->addWidget(SelectBackPicture);

    HtmlSample = Named(new QTextBrowser(html), QStringLiteral("HtmlSample"));
    HtmlSample->setMinimumHeight(150);
    HtmlSample->setToolTip(QStringLiteral("Aperçu d'une page exportée"));

    auto* htmlGrid = new QGridLayout(html);
    htmlGrid->addWidget(frames[0], 0, 0);
    htmlGrid->addWidget(frames[1], 0, 1);
    htmlGrid->addWidget(fontFrame, 1, 0);
    htmlGrid->addLayout(backRow, 1, 1);
    htmlGrid->addWidget(HtmlSample, 2, 0, 1, 2);
    htmlGrid->setRowStretch(2, 1);

    // ---- Autre ----
    QWidget* other = picOptions[1];
    CheckLogo = Named(new QCheckBox(QStringLiteral("Image/Logo :"), other), QStringLiteral("CheckLogo"));
    TextImageFond = Named(new QLineEdit(other), QStringLiteral("TextImageFond"));
    SelectImageFond = Named(new QPushButton(QStringLiteral("..."), other), QStringLiteral("SelectImageFond"));
    SelectImageFond->setToolTip(QStringLiteral("Sélection d'une fichier contenant une image à afficher"));
    SelectImageFond->setAutoDefault(false);
    SelectImageFond->setFixedWidth(36);
    CheckLog = Named(new QCheckBox(QStringLiteral("Enregistrer les traces d'exécution dans un fichier log"), other),
        QStringLiteral("CheckLog"));
    CheckWebVersion = Named(new QCheckBox(QStringLiteral("Vérifier au lancement du logiciel  si une nouvelle version "
                                                         "logicielle est disponible en téléchargement"),
                                other),
        QStringLiteral("CheckWebVersion"));
    CheckWebVersion->setToolTip(QStringLiteral(
        "Seul le numéro de la dernière version est lu sur le site Web de Keyholm ; rien n'est envoyé ni téléchargé."));
    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(CheckLogo);
    logoRow->addWidget(TextImageFond, 1);
    logoRow->addWidget(SelectImageFond);
    auto* otherLayout = new QVBoxLayout(other);
    otherLayout->addLayout(logoRow);
    otherLayout->addWidget(CheckLog);
    otherLayout->addWidget(CheckWebVersion);
    otherLayout->addStretch(1);

    // ---- Buttons ----
    MakeAnswerButtons({ QStringLiteral("cmdOK"), QStringLiteral("OK") },
        { QStringLiteral("cmdCancel"), QStringLiteral("Annuler") }, OutcomeHolder::ConfirmButton);
    disconnect(confirm_, nullptr, this, nullptr);
    connect(confirm_, &QPushButton::clicked, this, &OptionsForm::cmdOK_Click);
    ComDefaultPrintOption
        = Named(new QPushButton(QStringLiteral("Défaut"), this), QStringLiteral("ComDefaultPrintOption"));
    ComDefaultPrintOption->setToolTip(QStringLiteral("Appliquer les valeurs par défaut"));
    ComDefaultPrintOption->setAutoDefault(false);
    auto* buttons = AnswerRow();
    buttons->insertWidget(0, ComDefaultPrintOption);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions, 1);
    layout->addLayout(buttons);
    setMinimumWidth(720);

    connect(ComDefaultPrintOption, &QPushButton::clicked, this, &OptionsForm::ComDefaultPrintOption_Click);
    connect(SelectImageFond, &QPushButton::clicked, this, &OptionsForm::SelectImageFond_Click);
    connect(SelectBackPicture, &QPushButton::clicked, this, &OptionsForm::SelectBackPicture_Click);
    connect(TextImageFond, &QLineEdit::textChanged, this, &OptionsForm::SetLogoPath);
    connect(SliderTabBorder, &QSlider::valueChanged, this, &OptionsForm::ShowSample);
    connect(CheckBgImage, &QCheckBox::toggled, this, &OptionsForm::ShowSample);
    connect(TextBackPicture, &QLineEdit::textChanged, this, &OptionsForm::ShowSample);
    // Ctrl+Tab goes round the tabs wherever the focus is.
    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextTab, &QShortcut::activated, this, &OptionsForm::NextTab);

    LoadPreference();
}

bool OptionsForm::ShowOptions()
{
    LoadPreference();
    exec();
    return AnswerTag() == QLatin1String("1");
}

void OptionsForm::LoadPreference()
{
    const ApplicationOptionValues values = ApplicationOptionsStored();
    const WebStyleOptions& style = values.webStyle;
    for (int i = 0; i < WebStyleOptions::ColorCount; ++i)
        Click_CommandColor(i, style.colors[i]);
    for (int i = 0; i < WebStyleOptions::FontCount; ++i)
        SetFontLabel(i, style.fonts[i]);
    SliderTabBorder->setValue(style.border);
    CheckBgImage->setChecked(style.showBackgroundPicture);
    TextBackPicture->setText(style.backgroundPicture);
    CheckLogo->setChecked(values.logo);
    TextImageFond->setText(values.logoPath);
    SetLogoPath(values.logoPath);
    CheckLog->setChecked(values.log);
    CheckLog->setToolTip(TraceLogFolder());
    CheckWebVersion->setChecked(values.webVersion);
    ShowSample();
}

ApplicationOptionValues OptionsForm::Values() const
{
    ApplicationOptionValues values;
    WebStyleOptions& style = values.webStyle;
    for (int i = 0; i < WebStyleOptions::ColorCount; ++i)
        style.colors[i] = CommandColor[i]->property("color").toInt();
    for (int i = 0; i < WebStyleOptions::FontCount; ++i)
        style.fonts[i] = LabelResult[i]->text();
    style.border = SliderTabBorder->value();
    style.showBackgroundPicture = CheckBgImage->isChecked();
    style.backgroundPicture = TextBackPicture->text();
    values.log = CheckLog->isChecked();
    values.webVersion = CheckWebVersion->isChecked();
    values.logo = CheckLogo->isChecked();
    values.logoPath = TextImageFond->text();
    return values;
}

void OptionsForm::SavePreference()
{
    TraceLog(QStringLiteral("Start Preferences saving"), QStringLiteral("..."));
    const ApplicationOptionValues values = Values();
    if (!SaveApplicationOptions(values))
        TraceLog(QStringLiteral("Preferences not saved"), PreferencesPath());
    Q_EMIT LogoChanged(values.logo, values.logoPath);
    TraceLog(QStringLiteral("End Preferences saving"), QStringLiteral("..."));
}

void OptionsForm::cmdOK_Click()
{
    ShowBusy(QString(), true, false, false);
    SavePreference();
    StartTraceLog(CheckLog->isChecked(), DataFolder(), QString(), QString(), false);
    Confirm();
    EndBusy();
}

void OptionsForm::Click_CommandColor(int index, int color)
{
    if (index < 0 || index >= WebStyleOptions::ColorCount)
        return;
    color &= 0xFFFFFF;
    QPushButton* button = CommandColor[index];
    button->setProperty("color", color);
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(ColorToHtml(color)));
    TextColor[index]->setText(ColorToHtml(color));
    ShowSample();
}

void OptionsForm::CommandColor_Click(int index)
{
    // A cancelled chooser answers the colour it was given.
    const int chosen = ChooseColor(CommandColor[index]->property("color").toInt(), QString());
    if (chosen >= 0)
        Click_CommandColor(index, chosen);
}

void OptionsForm::CommSetFont_Click(int index)
{
    // A cancelled chooser answers no name: the font stays as it was.
    const QString chosen = ChooseFont(QString(), LabelResult[index]->text(), QStringLiteral("8"));
    if (!chosen.trimmed().isEmpty())
        SetFontLabel(index, chosen);
}

void OptionsForm::SetFontLabel(int index, const QString& name)
{
    QLabel* label = LabelResult[index];
    label->setText(name);
    QFont font = label->font();
    font.setFamily(name);
    label->setFont(font);
    ShowSample();
}

void OptionsForm::ComDefaultPrintOption_Click()
{
    for (int i = 0; i < WebStyleOptions::ColorCount; ++i)
        Click_CommandColor(i, ColorOfLiteral(ControlTag(CommandColor[i]), WebStyleOptions::DefaultColors[i]));
    for (int i = 0; i < WebStyleOptions::FontCount; ++i)
        SetFontLabel(i, ControlTag(LabelResult[i]));
}

void OptionsForm::SelectImageFond_Click()
{
    const FileTools& files = FileTools::Instance();
    const QString current = TextImageFond->text().trimmed();
    const QString preset = !current.isEmpty() && files.FileExists(current)
        ? current
        : files.WithFolderSeparator(SystemInfo::Instance().DocumentsFolder()) + QStringLiteral("Image.jpg");
    const QString chosen = ChooseFileToOpen(preset, GetMessage(11452),
        QStringLiteral("JPEG format (*.jpg)|*.jpg|Compuserve GIF (*.gif)|*.gif|Windows Bitmap (*.bmp)|*.bmp|"
                       "PNG format (*.png)|*.png|")
            + GetMessage(200),
        QStringLiteral(".jpg"), FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly);
    if (!chosen.isEmpty())
        TextImageFond->setText(chosen);
}

void OptionsForm::SelectBackPicture_Click()
{
    const QString chosen = ChooseFileToOpen(QString(), QStringLiteral("Sélectionnez une image"),
        QStringLiteral("Compuserve GIF (*.gif)|*.gif|JPEG format (*.jpg)|*.jpg|PNG format (*.png)|*.png|")
            + GetMessage(200),
        QStringLiteral(".gif"), FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly);
    if (!chosen.isEmpty())
        TextBackPicture->setText(chosen);
}

void OptionsForm::SetLogoPath(const QString& path)
{
    TextImageFond->setToolTip(TextTools::Instance().FileNamePart(path));
}

void OptionsForm::NextTab()
{
    tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + 1) % tbsOptions->count());
}

void OptionsForm::ShowSample()
{
    // Built before every control exists while the window is made.
    if (!HtmlSample || !TextBackPicture)
        return;
    ListTable sample;
    sample.title = QStringLiteral("Exemple");
    sample.columns = { { QStringLiteral("Titre") }, { QStringLiteral("Identifiant") } };
    sample.rows = { { { QStringLiteral("Banque"), QStringLiteral("j.dupont") } },
        { { QStringLiteral("Messagerie"), QStringLiteral("jean.dupont") } },
        { { QStringLiteral("Forum"), QStringLiteral("jdupont") } } };
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    if (HtmlListWriter(HtmlStyleOf(Values().webStyle)).Write(sample, page))
        HtmlSample->setHtml(QString::fromUtf8(page.data()));
}

} // namespace keyholm
