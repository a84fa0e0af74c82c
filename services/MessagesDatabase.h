#pragma once
// Texts by number: the user's language file first, then the main file
// "Messages.mge" beside the program, then the built-in French table.

#include <QString>

#include <optional>

namespace keyholm {

// The text of a message, with "<BR>"/"<br>" turned into CR LF. A number found
// nowhere gives "Message #<number>" and an error report (trace only). With
// showNumber the text is preceded by the number and "> ". Never fails.
QString GetMessage(int number, bool showNumber = false);

// Opens the two message databases: the user file (userFile when that file
// exists, else the data folder's "Messages.mge") and the main file (the
// program folder's "Messages.mge"). True when at least one was opened.
// dataFolder defaults to FileTools' data folder, programFolder to the folder
// of the running program.
bool OpenMessages(const QString& userFile, const QString& dataFolder = {}, const QString& programFolder = {});
bool CloseUserMessages(const QString& tag);
bool CloseMainMessages(const QString& tag);
// Closes both databases and drops the store (end of the application).
void CloseMessages();

// Single-database lookups: the text, or MessageStore's sentinel.
QString UserMessageText(int number);
QString MainMessageText(int number);

bool UserMessagesOpen();
bool MainMessagesOpen();
QString UserMessagesPath();
QString MainMessagesPath();

// The built-in French text of a number; nothing when the table has none.
std::optional<QString> BuiltInMessageText(int number);

} // namespace keyholm
