#include "services/main/TrashPage.h"

#include "services/main/ControlBuilders.h"
#include "services/ui/ToolIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace keyholm {

TrashPage::TrashPage(qreal pixelRatio, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->setSpacing(12);
    auto* header = new QHBoxLayout;
    auto* picture = Named(new QLabel(this), QStringLiteral("PictureTrash"));
    picture->setPixmap(ToolIcon(QStringLiteral("purge")).pixmap(QSize(48, 48), pixelRatio));
    header->addWidget(picture, 0, Qt::AlignTop);
    TextPasswordOption0 = Named(new QLabel(this), QStringLiteral("TextPasswordOption_0"));
    TextPasswordOption0->setWordWrap(true);
    header->addWidget(TextPasswordOption0, 1);
    layout->addLayout(header);
    TextPasswordOption2 = Named(new QLabel(this), QStringLiteral("TextPasswordOption_2"));
    TextPasswordOption2->setWordWrap(true);
    TextPasswordOption2->setProperty("role", QStringLiteral("caption"));
    TextPasswordOption2->setText(QStringLiteral(
        "Un clic droit sur la Corbeille propose de la vider ; le bouton Purger supprime les mots de passe "
        "plus anciens que la durée choisie dans les Choix de fonctionnement."));
    layout->addWidget(TextPasswordOption2);
    layout->addStretch(1);
}

} // namespace keyholm
