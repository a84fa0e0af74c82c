// AskInput, AskChoice and ChooseIcon.

#include "components/ui/ImageListTreeView.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/ChoiceDialog.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Dialogs.h"
#include "services/ui/IconDialog.h"
#include "services/ui/InputDialog.h"

#include <QApplication>
#include <QPointer>

#include <exception>

namespace keyholm {

using namespace dialogs;

Answer AskInput(const QString& prompt, QString& text, InputFlags flags, int maxLength, const QString& title)
{
    const bool secret = flags.testFlag(InputFlag::Secret);
    // The typed text of a secret prompt never reaches the log.
    auto traced = [&](const QString& value) { return secret ? SecretText : value; };
    Answer answer = Answer::No;
    try {
        TraceLog(QStringLiteral("Display message"), PromptOnOneLine(prompt));
        TraceLog(QStringLiteral("Default first text value"), traced(text));

        QPointer<InputDialog> dialog = new InputDialog(QApplication::activeWindow());
        dialog->SetPrompt(prompt);
        dialog->SetSecret(secret);
        dialog->SetText(text);
        dialog->SetRequireText(flags.testFlag(InputFlag::RequireText));
        dialog->SetMaxLength(maxLength);
        if (!title.isEmpty())
            dialog->setWindowTitle(title);

        dialog->exec();
        if (dialog) {
            text = dialog->Text();
            TraceLog(dialog->windowTitle(), dialog->AnswerTag());
            if (dialog->AnswerTag().toInt() == 1)
                answer = Answer::Yes;
            delete dialog;
        }
        const QString shownTitle = title.isEmpty() ? GetMessage(199) : title;
        TraceLog(PromptOnOneLine(prompt), shownTitle + QStringLiteral(" - ") + traced(text));
    } catch (const std::exception&) {
        SetDefaultPointer();
    }
    return answer;
}

int AskChoice(const QString& prompt, const QString& option1, const QString& option2, int initialOption,
    const QString& option3, bool boldPrompt, const QString& title)
{
    int result = -1;
    try {
        QPointer<ChoiceDialog> dialog = new ChoiceDialog(QApplication::activeWindow());
        if (!title.isEmpty())
            dialog->setWindowTitle(title);
        dialog->SetPrompt(prompt, boldPrompt);
        dialog->SetOptions(option1, option2, option3);
        dialog->SelectOption(initialOption);

        dialog->exec();
        if (dialog) {
            if (dialog->AnswerTag().toInt() == 1)
                result = dialog->SelectedOption();
            delete dialog;
        }
        QStringList captions { option1, option2 };
        if (!option3.isEmpty())
            captions.append(option3);
        TraceLog(PromptOnOneLine(prompt),
            captions.join(QStringLiteral(" / ")) + QStringLiteral(" : ") + QString::number(result));
    } catch (const std::exception&) {
        SetDefaultPointer();
    }
    return result;
}

QString ChooseIcon(const QString& prompt, const ImageListTreeView& images, const QString& title, bool boldPrompt,
    const QString& currentKey, const QString& keyFilter, bool returnKey)
{
    if (images.Keys().isEmpty())
        return {};
    QString result;
    try {
        QPointer<IconDialog> dialog = new IconDialog(QApplication::activeWindow());
        if (!title.trimmed().isEmpty())
            dialog->setWindowTitle(title);
        dialog->SetPrompt(prompt, boldPrompt);
        for (const QString& key : images.Keys()) {
            const QString label = images.Label(key);
            // A filter keeps the labelled pictures of its kind; the "Not" twins carry no label.
            if (!keyFilter.isEmpty() && (!key.contains(keyFilter) || label.isEmpty()))
                continue;
            dialog->AddIcon(key, label, images.Icon(key));
        }
        dialog->SelectIcon(currentKey);

        dialog->exec();
        if (dialog) {
            if (dialog->AnswerTag().toInt() == 1)
                result = returnKey ? dialog->SelectedKey() : dialog->SelectedText();
            delete dialog;
        }
        TraceLog(result, PromptOnOneLine(prompt));
    } catch (const std::exception&) {
        SetDefaultPointer();
    }
    return result;
}

} // namespace keyholm
