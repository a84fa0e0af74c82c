#include "services/ui/DialogSupport.h"

#include "services/ErrorReport.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace keyholm::dialogs {

void SetWaitPointer()
{
    SetDefaultPointer();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void SetDefaultPointer()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void CenterOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
}

QString PromptText(const QString& prompt)
{
    QString text = WithLineBreaks(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString PromptOnOneLine(const QString& prompt)
{
    QString text = PromptText(prompt);
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace keyholm::dialogs
