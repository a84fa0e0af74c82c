#include "search/SearchDialog.h"

#include "services/MessagesDatabase.h"
#include "services/ui/ControlTag.h"
#include "services/ui/Messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace keyholm {

SearchDialog::SearchDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Lib_Search"));
    setWindowTitle(QStringLiteral("Rechercher"));
    setModal(true);

    LabelInfo = new QLabel(QStringLiteral("Le texte à rechercher :"), this);
    LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
    TextaChercher = new QLineEdit(this);
    TextaChercher->setObjectName(QStringLiteral("TextaChercher"));
    LabelInfo->setBuddy(TextaChercher);
    ZoneOption = new QGroupBox(QStringLiteral(" Zone de recherche "), this);
    ZoneOption->setObjectName(QStringLiteral("ZoneOption"));
    AllTree = new QRadioButton(QStringLiteral("Dans toute l'arborescence"), ZoneOption);
    AllTree->setObjectName(QStringLiteral("AllTree"));
    AllTree->setChecked(true);
    FirstLevel = new QRadioButton(QStringLiteral("Premier niveau de l'arborecence"), ZoneOption);
    FirstLevel->setObjectName(QStringLiteral("FirstLevel"));
    auto* zone = new QVBoxLayout(ZoneOption);
    zone->addWidget(AllTree);
    zone->addWidget(FirstLevel);
    CheckMaj = new QCheckBox(QStringLiteral("Respecter les Majuscules/Minuscules"), this);
    CheckMaj->setObjectName(QStringLiteral("CheckMaj"));
    CheckOneResult = new QCheckBox(QStringLiteral("Afficher uniquement le premier résultat"), this);
    CheckOneResult->setObjectName(QStringLiteral("CheckOneResult"));
    CheckOneResult->setChecked(true);
    // Off at first: every login is decoded to be searched, which takes a
    // while in a large database.
    CheckLogin = new QCheckBox(QStringLiteral("Chercher aussi dans les identifiants"), this);
    CheckLogin->setObjectName(QStringLiteral("CheckLogin"));
    Ok = new QPushButton(GetMessage(373), this);
    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setDefault(true);
    Annuler = new QPushButton(GetMessage(220), this);
    Annuler->setObjectName(QStringLiteral("Annuler"));
    Annuler->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Ok);
    buttons->addWidget(Annuler);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelInfo);
    layout->addWidget(TextaChercher);
    layout->addWidget(ZoneOption);
    layout->addWidget(CheckMaj);
    layout->addWidget(CheckOneResult);
    layout->addWidget(CheckLogin);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(Ok, &QPushButton::clicked, this, &SearchDialog::Ok_Click);
    connect(Annuler, &QPushButton::clicked, this, &SearchDialog::reject);
}

QString SearchDialog::ConfirmedText() const
{
    return ControlTag(TextaChercher);
}

void SearchDialog::Ok_Click()
{
    if (TextaChercher->text().isEmpty()) {
        ShowInfo(GetMessage(252) + GetMessage(11137));
        TextaChercher->setFocus();
        return;
    }
    SetControlTag(TextaChercher, TextaChercher->text());
    accept();
}

void SearchDialog::reject()
{
    // Annuler, Escape and the close box alike: no search, never the last one.
    SetControlTag(TextaChercher, QString());
    QDialog::reject();
}

void SearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    SetControlTag(TextaChercher, QString());
    TextaChercher->selectAll();
    TextaChercher->setFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace keyholm
