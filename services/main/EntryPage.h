#pragma once
// Page 1 of the detail pages, " Mot de Passe ": the fields of an entry, the
// small command buttons beside them and the entry toolbar.

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QAction;
class QPlainTextEdit;
class QToolButton;

namespace keyholm {

class KeyToolBar;
class SecretLineEdit;
class StrengthMeter;

class EntryPage : public QWidget {
public:
    explicit EntryPage(QWidget* parent = nullptr);

    // The text of TextPassword_<index>, 0 to 5 (5 is the note).
    QString PasswordText(int index) const;
    void SetPasswordText(int index, const QString& text);
    QWidget* PasswordField(int index) const;
    // The back colour of CommandColor (the colour of an entry's title).
    QColor EntryColor() const;
    void SetEntryColor(const QColor& color);

    QWidget* PictureTab = nullptr; // PictureTab_1, the container of the fields
    KeyToolBar* ToolbarPassCode = nullptr; // Add Change Delete Initfield
    std::array<QLabel*, 7> LabelPassword {};
    std::array<QLineEdit*, 5> TextPassword {}; // TextPassword_0 .. _4
    SecretLineEdit* PasswordEdit = nullptr; // TextPassword_2, the password
    QPlainTextEdit* TextPasswordNote = nullptr; // TextPassword_5
    std::array<QLabel*, 1> LabelCustom {};
    std::array<QLineEdit*, 1> TextPerso {};
    QCheckBox* CheckDate = nullptr;
    QDateEdit* DTPickerLimit = nullptr;
    QToolButton* CommandColor = nullptr;
    QToolButton* CommandGenPasswd = nullptr;
    QAction* GeneratorOptions = nullptr; // CommandGenPasswd's drop-down: the generator window
    StrengthMeter* PasswordStrength = nullptr; // under the password
    QToolButton* CommandGenPeudo = nullptr;
    QToolButton* CommandCopyLogin = nullptr;
    QToolButton* CommandCopyPassword = nullptr;
    QToolButton* CommandGoWeb = nullptr;
    QToolButton* CommandWebHelp = nullptr;
    QToolButton* CommandOpenFile = nullptr;
    QToolButton* CommandSelectFile = nullptr;
    QToolButton* OpenContentNote = nullptr;
    QToolButton* SaveContentNote = nullptr;
};

} // namespace keyholm
